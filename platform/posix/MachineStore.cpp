#include "platform/posix/MachineStore.h"

#include <filesystem>
#include <new>
#include <sqlite3.h>

namespace q7n::platform {

TMachineStore::TMachineStore(std::string Path, TMachineDatabaseMode Mode, std::string Part,
                             int Version, TCreateTables CreateTables,
                             const TMachineStoreErrors& Errors)
    : FPath(std::move(Path)), FMode(Mode), FPart(std::move(Part)), FVersion(Version),
      FCreateTables(std::move(CreateTables)), FErrors(Errors) {}

TMachineStore::~TMachineStore() = default;

TMachineDatabase* TMachineStore::Open(bool Create) {
    if (FDatabase)
        return FDatabase.get();
    std::error_code Ignored;
    if (!std::filesystem::exists(FPath, Ignored) &&
        (!Create || FMode == TMachineDatabaseMode::mdmReadOnly))
        return nullptr;
    try {
        FDatabase = std::make_unique<TMachineDatabase>(FMode, FPath);
        // SQLite opens a file it may not write for reading only, and says so only at a write.
        if (!FDatabase->ReadOnly() && sqlite3_db_readonly(FDatabase->Handle(), "main") == 1)
            FDatabase.reset();
    } catch (const EMachineDatabaseError& Error) {
        int Code = Error.SqliteCode() & 0xFF;
        bool NoWriteAccess = Code == SQLITE_READONLY || Code == SQLITE_CANTOPEN ||
                             Code == SQLITE_PERM || Code == SQLITE_AUTH;
        if (FMode == TMachineDatabaseMode::mdmReadOnly || !NoWriteAccess)
            throw;
    }
    if (!FDatabase) {
        // Readable but not writable: the user may look, not change.
        FMode = TMachineDatabaseMode::mdmReadOnly;
        FDatabase = std::make_unique<TMachineDatabase>(FMode, FPath);
    }
    FDatabase->Execute("PRAGMA foreign_keys = ON");
    return FDatabase.get();
}

bool TMachineStore::HasTables(bool Create) {
    if (!FHasTables) {
        // Without the tables a reader sees nothing, and makes nothing.
        if (!Create && FDatabase->SchemaVersion(FPart) == 0)
            return false;
        // Checks the recorded version; makes the tables where the database may be written.
        FHasTables = FDatabase->EnsureSchema(FPart, FVersion, FCreateTables);
    }
    return FHasTables;
}

std::uint32_t TMachineStore::FailedNow() {
    try {
        throw;
    } catch (const EMachineDatabaseError& E) {
        return Failed(E);
    } catch (const std::bad_alloc&) {
        FLastErrorText = "out of memory";
        return FErrors.OutOfMemory;
    } catch (const std::exception& E) {
        FLastErrorText = E.what();
        return FErrors.Failed;
    } catch (...) {
        FLastErrorText = "an unknown failure";
        return FErrors.Failed;
    }
}

std::uint32_t TMachineStore::Failed(const EMachineDatabaseError& E) {
    FLastErrorText = E.what();
    int Code = E.SqliteCode() & 0xFF;
    std::uint32_t Error = FErrors.Failed;
    switch (Code) {
    case 0: // our own checks: a schema this program does not know
        Error = FErrors.Foreign;
        break;
    case SQLITE_READONLY:
    case SQLITE_PERM:
    case SQLITE_AUTH:
        Error = FErrors.Denied;
        break;
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        Error = FErrors.Busy;
        break;
    case SQLITE_CORRUPT:
    case SQLITE_NOTADB:
        Error = FErrors.Damaged;
        break;
    }
    if (Code == 0 || Code == SQLITE_CORRUPT || Code == SQLITE_NOTADB) {
        FDatabase.reset();
        FHasTables = false;
    }
    return Error;
}

} // namespace q7n::platform
