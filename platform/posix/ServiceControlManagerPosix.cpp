#include "platform/posix/ServiceControlManagerPosix.h"

#include "platform/CommandLine.h"
#include "platform/SystemErrorText.h"

#include <cerrno>
#include <csignal>
#include <filesystem>
#include <sqlite3.h>

namespace q7n::platform {

namespace {

constexpr const char* SchemaPart = "services";
constexpr int SchemaVersion = 1;

void CreateTables(TMachineDatabase& Database) {
    Database.Execute("CREATE TABLE services ("
                     " id INTEGER PRIMARY KEY AUTOINCREMENT,"
                     " name TEXT NOT NULL UNIQUE COLLATE NOCASE,"
                     " display_name TEXT NOT NULL,"
                     " service_type INTEGER NOT NULL,"
                     " start_type INTEGER NOT NULL,"
                     " error_control INTEGER NOT NULL,"
                     " command_line TEXT NOT NULL,"
                     " pid INTEGER,"        // the launched process, NULL when never started
                     " start_time INTEGER," // its start time, to tell it from a later process
                     " stop_requested INTEGER NOT NULL DEFAULT 0,"
                     " marked_for_delete INTEGER NOT NULL DEFAULT 0)");
}

// Rights that only read: connect, enumerate, query configuration and status, read control.
constexpr std::uint32_t ReadOnlyRights = 0x0001 | 0x0004 | 0x0008 | 0x0010 | 0x0080 | 0x00020000;

bool AsksToWrite(std::uint32_t Access) {
    return (Access & ~ReadOnlyRights) != 0;
}

std::uint32_t LaunchError(int Error) {
    switch (Error) {
    case ENOENT:
    case ENOTDIR:
        return ErrorFileNotFound;
    case EACCES:
    case EPERM:
        return ErrorAccessDenied;
    case ENOEXEC:
        return ErrorBadExeFormat;
    default:
        return ErrorServiceNoThread;
    }
}

// How a run's end reads in Windows' codes: a code of the program's own is a service-specific
// error, and a signal other than the stop that was asked for is an abort.
void SetExitCodes(const TProcessEnd& End, bool StopRequested, TServiceStatus& Status) {
    if (End.Exited) {
        if (End.Status != 0) {
            Status.Win32ExitCode = ErrorServiceSpecificError;
            Status.ServiceSpecificExitCode = static_cast<std::uint32_t>(End.Status);
        }
    } else if (!(StopRequested && End.Status == SIGTERM)) {
        Status.Win32ExitCode = ErrorProcessAborted;
    }
}

constexpr TMachineStoreErrors ScmErrors = {
    ErrorAccessDenied,         ErrorServiceDatabaseLocked, ErrorDatabaseDoesNotExist,
    ErrorDatabaseDoesNotExist, ErrorDatabaseDoesNotExist,  ErrorGenFailure,
};

} // namespace

TPosixServiceControlManager::TPosixServiceControlManager(std::string DatabasePath,
                                                         TMachineDatabaseMode Mode)
    : FStore(std::move(DatabasePath), Mode, SchemaPart, SchemaVersion, CreateTables, ScmErrors) {}

TPosixServiceControlManager::~TPosixServiceControlManager() = default;

TMachineDatabase& TPosixServiceControlManager::Db() {
    if (!FStore.Open(true))
        throw EMachineDatabaseError("Machine database '" + FStore.Path() + "' does not exist",
                                    SQLITE_CANTOPEN);
    return FStore.Database();
}

std::uint32_t TPosixServiceControlManager::WriteAccess() {
    return Db().ReadOnly() ? ErrorAccessDenied : ErrorSuccess;
}

const TPosixServiceControlManager::THandleEntry*
TPosixServiceControlManager::Find(TScmHandle Handle, bool Manager) const {
    const THandleEntry* Found = FHandles.Find(Handle);
    return Found && Found->IsManager == Manager ? Found : nullptr;
}

TScmHandle TPosixServiceControlManager::NewHandle(THandleEntry Entry) {
    if (!Entry.IsManager)
        ++FOpenServiceHandles[Entry.ServiceId];
    return FHandles.Add(Entry);
}

namespace {

const char* const SelectService =
    "SELECT id, command_line, pid, start_time, stop_requested, marked_for_delete FROM services ";

} // namespace

std::optional<TPosixServiceControlManager::TServiceRecord>
TPosixServiceControlManager::LoadById(std::int64_t Id) {
    TMachineDatabase& Database = Db();
    if (!FStore.HasTables(false)) // a reader looks again: a writer may have made them since
        return std::nullopt;
    TSqlStatement Query(Database.Handle(), std::string(SelectService) + "WHERE id = ?1");
    Query.Bind(1, Id);
    if (!Query.Step())
        return std::nullopt;
    TServiceRecord Record;
    Record.Id = Query.ColumnInt64(0);
    Record.CommandLine = Query.ColumnText(1);
    if (!Query.IsNull(2)) {
        Record.Process.Pid = static_cast<pid_t>(Query.ColumnInt64(2));
        Record.Process.StartTime = Query.ColumnInt64(3);
    }
    Record.StopRequested = Query.ColumnInt64(4) != 0;
    Record.MarkedForDelete = Query.ColumnInt64(5) != 0;
    return Record;
}

std::optional<TPosixServiceControlManager::TServiceRecord>
TPosixServiceControlManager::LoadByName(const std::string& Name) {
    TMachineDatabase& Database = Db();
    if (!FStore.HasTables(false))
        return std::nullopt;
    TSqlStatement Query(Database.Handle(), "SELECT id FROM services WHERE name = ?1");
    Query.Bind(1, Name);
    if (!Query.Step())
        return std::nullopt;
    return LoadById(Query.ColumnInt64(0));
}

std::uint32_t TPosixServiceControlManager::StateOf(const TServiceRecord& Service) const {
    if (Service.Process.Pid == 0)
        return ServiceStopped;
    switch (PhaseOf(Service.Process)) {
    case TProcessPhase::ppGone:
        return ServiceStopped;
    case TProcessPhase::ppEnded:
        // Its watcher is recording how it ended: stopped once that can be read.
        if (RecordedEnd(Service))
            return ServiceStopped;
        break;
    case TProcessPhase::ppRunning:
        break;
    }
    return Service.StopRequested ? ServiceStopPending : ServiceRunning;
}

std::string TPosixServiceControlManager::EndRecordPath(std::int64_t Id) const {
    return FStore.Path() + ".service-ends/" + std::to_string(Id) + ".end";
}

std::optional<TProcessEnd>
TPosixServiceControlManager::RecordedEnd(const TServiceRecord& Service) const {
    std::optional<TProcessEnd> End = ReadProcessEnd(EndRecordPath(Service.Id));
    // A record of an earlier run, written late by its watcher, is not this run's.
    if (!End || End->Pid != Service.Process.Pid)
        return std::nullopt;
    return End;
}

void TPosixServiceControlManager::ForgetEnd(std::int64_t Id) const {
    std::error_code Ignored;
    std::filesystem::remove(EndRecordPath(Id), Ignored);
}

bool TPosixServiceControlManager::IsGone(const TServiceRecord& Service) const {
    auto Held = FOpenServiceHandles.find(Service.Id);
    bool HeldHere = Held != FOpenServiceHandles.end() && Held->second > 0;
    return Service.MarkedForDelete && !HeldHere && StateOf(Service) == ServiceStopped;
}

void TPosixServiceControlManager::Purge(std::int64_t Id) {
    if (Db().ReadOnly())
        return;
    Db().WriteTransaction([&] {
        // Look again under the lock: another process may have started or removed it meanwhile.
        std::optional<TServiceRecord> Service = LoadById(Id);
        if (Service && IsGone(*Service)) {
            TSqlStatement(Db().Handle(), "DELETE FROM services WHERE id = ?1").Bind(1, Id).Run();
            ForgetEnd(Id);
        }
    });
}

TStatusOr<TScmHandleOwner> TPosixServiceControlManager::Owned(TScmHandle Handle,
                                                              std::uint32_t Error) {
    return SystemResult(Error, TScmHandleOwner(Handle, *this));
}

TStatusOr<TScmHandleOwner> TPosixServiceControlManager::OpenManager(std::uint32_t Access) {
    TScmHandle Manager = 0;
    const std::uint32_t Error = FStore.Guarded([&]() -> std::uint32_t {
        Db();
        FStore.HasTables(true);
        if (AsksToWrite(Access))
            if (std::uint32_t Error = WriteAccess())
                return Error;
        Manager = NewHandle({true, 0});
        return ErrorSuccess;
    });
    return Owned(Manager, Error);
}

TStatusOr<TScmHandleOwner>
TPosixServiceControlManager::Register(TScmHandle Manager, const TServiceRegistration& Service) {
    if (!Find(Manager, true))
        return SystemStatus(ErrorInvalidHandle);
    if (Service.Name.empty() || Service.Name.size() > 256 ||
        Service.Name.find_first_of("/\\") != std::string::npos)
        return SystemStatus(ErrorInvalidName);
    if (Service.BinaryPathName.empty())
        return SystemStatus(ErrorInvalidParameter);
    TScmHandle Handle = 0;
    const std::uint32_t Error = FStore.Guarded([&]() -> std::uint32_t {
        if (std::uint32_t Error = WriteAccess())
            return Error;
        std::uint32_t Result = ErrorSuccess;
        std::int64_t Id = 0;
        Db().WriteTransaction([&] {
            if (std::optional<TServiceRecord> Existing = LoadByName(Service.Name)) {
                if (!IsGone(*Existing)) {
                    Result = Existing->MarkedForDelete ? ErrorServiceMarkedForDelete
                                                       : ErrorServiceExists;
                    return;
                }
                TSqlStatement(Db().Handle(), "DELETE FROM services WHERE id = ?1")
                    .Bind(1, Existing->Id)
                    .Run();
                ForgetEnd(Existing->Id);
            }
            TSqlStatement Insert(Db().Handle(),
                                 "INSERT INTO services (name, display_name, service_type, "
                                 "start_type, error_control, command_line) "
                                 "VALUES (?1, ?2, ?3, ?4, ?5, ?6)");
            Insert.Bind(1, Service.Name)
                .Bind(2, Service.DisplayName.empty() ? Service.Name : Service.DisplayName)
                .Bind(3, static_cast<std::int64_t>(Service.ServiceType))
                .Bind(4, static_cast<std::int64_t>(Service.StartType))
                .Bind(5, static_cast<std::int64_t>(Service.ErrorControl))
                .Bind(6, Service.BinaryPathName)
                .Run();
            Id = sqlite3_last_insert_rowid(Db().Handle());
        });
        if (Result == ErrorSuccess)
            Handle = NewHandle({false, Id});
        return Result;
    });
    return Owned(Handle, Error);
}

TStatusOr<TScmHandleOwner> TPosixServiceControlManager::Open(TScmHandle Manager,
                                                             const std::string& Name,
                                                             std::uint32_t Access) {
    if (!Find(Manager, true))
        return SystemStatus(ErrorInvalidHandle);
    if (Name.empty() || Name.size() > 256)
        return SystemStatus(ErrorInvalidName);
    TScmHandle Handle = 0;
    const std::uint32_t Error = FStore.Guarded([&]() -> std::uint32_t {
        if (AsksToWrite(Access))
            if (std::uint32_t Error = WriteAccess())
                return Error;
        std::optional<TServiceRecord> Service = LoadByName(Name);
        if (!Service)
            return ErrorServiceDoesNotExist;
        if (IsGone(*Service)) {
            Purge(Service->Id);
            return ErrorServiceDoesNotExist;
        }
        Handle = NewHandle({false, Service->Id});
        return ErrorSuccess;
    });
    return Owned(Handle, Error);
}

template <class TChange>
TStatus TPosixServiceControlManager::ChangeService(TScmHandle Service, TChange Change) {
    const THandleEntry* Entry = Find(Service, false);
    if (!Entry)
        return SystemStatus(ErrorInvalidHandle);
    std::int64_t Id = Entry->ServiceId;
    return SystemStatus(FStore.Guarded([&]() -> std::uint32_t {
        if (std::uint32_t Error = WriteAccess())
            return Error;
        std::uint32_t Result = ErrorSuccess;
        Db().WriteTransaction([&] { Result = Change(LoadById(Id)); });
        return Result;
    }));
}

void TPosixServiceControlManager::Update(std::int64_t Id, const std::string& Assignments) {
    TSqlStatement(Db().Handle(), "UPDATE services SET " + Assignments + " WHERE id = ?1")
        .Bind(1, Id)
        .Run();
}

TStatus TPosixServiceControlManager::Start(TScmHandle Service) {
    TProcessIdentity Launched;
    TStatus Result = ChangeService(Service, [&](const std::optional<TServiceRecord>& Record) {
        if (!Record || Record->MarkedForDelete)
            return ErrorServiceMarkedForDelete;
        if (StateOf(*Record) != ServiceStopped)
            return ErrorServiceAlreadyRunning;
        // A new run clears the codes of the last one.
        std::string EndRecord = EndRecordPath(Record->Id);
        std::error_code Ignored;
        std::filesystem::create_directories(std::filesystem::path(EndRecord).parent_path(),
                                            Ignored);
        ForgetEnd(Record->Id);
        TLaunchResult Launch =
            LaunchDetached(SplitWindowsCommandLine(Record->CommandLine), EndRecord);
        if (Launch.Error)
            return LaunchError(Launch.Error);
        Launched = Launch.Process;
        Update(Record->Id, "pid = " + std::to_string(Launched.Pid) + ", start_time = " +
                               std::to_string(Launched.StartTime) + ", stop_requested = 0");
        return ErrorSuccess;
    });
    // A start that could not be recorded must not leave a service running that nobody sees.
    if (!Result.Ok() && Launched.Pid)
        RequestTermination(Launched);
    return Result;
}

TStatus TPosixServiceControlManager::ControlStop(TScmHandle Service) {
    return ChangeService(Service, [&](const std::optional<TServiceRecord>& Record) {
        if (!Record)
            return ErrorServiceNotActive;
        std::uint32_t State = StateOf(*Record);
        if (State == ServiceStopPending)
            return ErrorServiceCannotAcceptCtrl;
        // A stopped service keeps its process's record: it tells how its last run ended.
        int Error = State == ServiceStopped ? ESRCH : RequestTermination(Record->Process);
        if (Error == ESRCH)
            return ErrorServiceNotActive;
        if (Error)
            return ErrorAccessDenied;
        Update(Record->Id, "stop_requested = 1");
        return ErrorSuccess;
    });
}

TStatus TPosixServiceControlManager::Delete(TScmHandle Service) {
    return ChangeService(Service, [&](const std::optional<TServiceRecord>& Record) {
        if (!Record || Record->MarkedForDelete)
            return ErrorServiceMarkedForDelete;
        Update(Record->Id, "marked_for_delete = 1");
        return ErrorSuccess;
    });
}

template <class TRead>
std::uint32_t TPosixServiceControlManager::ReadService(TScmHandle Service, TRead Read) {
    const THandleEntry* Entry = Find(Service, false);
    if (!Entry)
        return ErrorInvalidHandle;
    std::int64_t Id = Entry->ServiceId;
    return FStore.Guarded([&]() -> std::uint32_t { return Read(LoadById(Id)); });
}

TStatusOr<std::uint32_t> TPosixServiceControlManager::QueryState(TScmHandle Service) {
    std::uint32_t CurrentState = ServiceStopped;
    std::uint32_t Error = ReadService(Service, [&](const std::optional<TServiceRecord>& Record) {
        // A record that is gone was deleted once it had stopped.
        CurrentState = Record ? StateOf(*Record) : ServiceStopped;
        return ErrorSuccess;
    });
    return SystemResult(Error, CurrentState);
}

TStatusOr<TServiceStatus> TPosixServiceControlManager::QueryStatus(TScmHandle Service) {
    TServiceStatus Status;
    std::uint32_t Error = ReadService(Service, [&](const std::optional<TServiceRecord>& Record) {
        Status.CurrentState = Record ? StateOf(*Record) : ServiceStopped;
        if (Status.CurrentState != ServiceStopped)
            Status.ProcessId = static_cast<std::uint32_t>(Record->Process.Pid);
        else if (std::optional<TProcessEnd> End = Record ? RecordedEnd(*Record) : std::nullopt)
            SetExitCodes(*End, Record->StopRequested, Status);
        return ErrorSuccess;
    });
    return SystemResult(Error, Status);
}

TStatusOr<std::string> TPosixServiceControlManager::QueryCommandLine(TScmHandle Service) {
    std::string CommandLine;
    std::uint32_t Error = ReadService(Service, [&](const std::optional<TServiceRecord>& Record) {
        // Only a deleted service that has stopped is gone while a handle to it is open.
        if (!Record)
            return ErrorServiceMarkedForDelete;
        CommandLine = Record->CommandLine;
        return ErrorSuccess;
    });
    return SystemResult(Error, std::move(CommandLine));
}

void TPosixServiceControlManager::CloseHandle(TScmHandle Handle) {
    const THandleEntry* Found = FHandles.Find(Handle);
    if (!Found)
        return;
    THandleEntry Entry = *Found;
    FHandles.Remove(Handle);
    if (Entry.IsManager)
        return;
    if (--FOpenServiceHandles[Entry.ServiceId] <= 0)
        FOpenServiceHandles.erase(Entry.ServiceId);
    try {
        if (std::optional<TServiceRecord> Record = LoadById(Entry.ServiceId);
            Record && IsGone(*Record))
            Purge(Record->Id);
    } catch (const EMachineDatabaseError&) {
        // The record goes at the next look at it.
    }
}

std::unique_ptr<IServiceControlManager> CreateHostServiceControlManager() {
    return std::make_unique<TPosixServiceControlManager>();
}

} // namespace q7n::platform
