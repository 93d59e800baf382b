#pragma once

#include "platform/ServiceControlManager.h"
#include "platform/posix/MachineStore.h"
#include "platform/posix/PosixProcess.h"
#include "platform/posix/ProcessEnd.h"

#include <map>
#include <memory>
#include <optional>

namespace q7n::platform {

// The service manager of a POSIX host, kept in the machine database so that every process of the
// machine sees the same services. A service is a registered command line; starting it launches
// that program detached, with no shell, its command line split as Windows splits one; stopping
// sends SIGTERM. Its state is read off the real process each time: running while it lives, stop
// pending from the stop until it ends, stopped once it is gone, whatever ended it. How its last
// run ended is recorded by the process that watches it, in a file per service beside the
// database (its record's id names it), which the manager of any process reads. A service that
// is deleted while it runs or while a handle to it is open in this process stays until it has
// stopped and that handle is closed (handles of other processes are not counted).
class TPosixServiceControlManager final : public IServiceControlManager {
public:
    // A read-only database plays a user without administrative rights: the manager and its
    // services can be opened for reading only. A database that cannot be written is opened
    // read-only. A damaged file or one of an unknown schema is left as it is; the calls then fail
    // with ErrorDatabaseDoesNotExist and LastErrorText tells which file and why.
    explicit TPosixServiceControlManager(
        std::string DatabasePath = TMachineDatabase::DefaultPath(),
        TMachineDatabaseMode Mode = TMachineDatabaseMode::mdmReadWrite);
    ~TPosixServiceControlManager() override;

    // What went wrong in the database at the last call; empty when the last call did not fail
    // there.
    const std::string& LastErrorText() const { return FStore.LastErrorText(); }

    TStatusOr<TScmHandleOwner> OpenManager(std::uint32_t Access) override;
    TStatusOr<TScmHandleOwner> Register(TScmHandle Manager,
                                        const TServiceRegistration& Service) override;
    TStatusOr<TScmHandleOwner> Open(TScmHandle Manager, const std::string& Name,
                                    std::uint32_t Access) override;
    TStatus Start(TScmHandle Service) override;
    TStatus ControlStop(TScmHandle Service) override;
    TStatus Delete(TScmHandle Service) override;
    TStatusOr<std::uint32_t> QueryState(TScmHandle Service) override;
    TStatusOr<TServiceStatus> QueryStatus(TScmHandle Service) override;
    TStatusOr<std::string> QueryCommandLine(TScmHandle Service) override;
    void CloseHandle(TScmHandle Handle) override;

private:
    struct THandleEntry {
        bool IsManager = false;
        std::int64_t ServiceId = 0;
    };
    struct TServiceRecord {
        std::int64_t Id = 0;
        std::string CommandLine;
        TProcessIdentity Process;
        bool StopRequested = false;
        bool MarkedForDelete = false;
    };

    // The database, opened again when a damaged file made an earlier call let it go.
    TMachineDatabase& Db();
    // Runs Change on the service's record (none when it is gone) in one write transaction.
    template <class TChange> TStatus ChangeService(TScmHandle Service, TChange Change);
    // Runs Read on the service's record (none when it is gone).
    template <class TRead> std::uint32_t ReadService(TScmHandle Service, TRead Read);
    // The owner of a handle opened by a call that ended with Error (none unless 0).
    TStatusOr<TScmHandleOwner> Owned(TScmHandle Handle, std::uint32_t Error);
    void Update(std::int64_t Id, const std::string& Assignments);
    const THandleEntry* Find(TScmHandle Handle, bool Manager) const;
    TScmHandle NewHandle(THandleEntry Entry);
    // Refuses a change to a user who may only look.
    std::uint32_t WriteAccess();

    std::optional<TServiceRecord> LoadById(std::int64_t Id);
    std::optional<TServiceRecord> LoadByName(const std::string& Name);
    std::uint32_t StateOf(const TServiceRecord& Service) const;
    // Where the end of the service's runs is recorded.
    std::string EndRecordPath(std::int64_t Id) const;
    // How the service's current run ended, once its watcher has recorded it.
    std::optional<TProcessEnd> RecordedEnd(const TServiceRecord& Service) const;
    void ForgetEnd(std::int64_t Id) const;
    // Deleted, stopped and no longer held by a handle of this process: as good as absent.
    bool IsGone(const TServiceRecord& Service) const;
    void Purge(std::int64_t Id);

    TMachineStore FStore;
    TStandInHandles<THandleEntry> FHandles;
    std::map<std::int64_t, int> FOpenServiceHandles;
};

} // namespace q7n::platform
