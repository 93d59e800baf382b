#pragma once

#include "platform/Registry.h"
#include "platform/posix/MachineStore.h"

#include <string>

namespace q7n::platform {

// The registry stand-in of POSIX hosts: the HKEY_LOCAL_MACHINE hive kept in the machine
// database. Key and value names compare as Windows compares them, without regard to letter case;
// each value keeps its type code and its bytes as written (text given a missing terminator,
// as Windows does); each write is one transaction, so
// that several processes may share the hive. The database is opened at the first call that needs
// it: reads never create the file, and a database that is read-only or cannot be written (a user
// without rights) refuses every open with write access as ErrorAccessDenied. A damaged file or
// one of an unknown schema is left as it is; every call then fails (ErrorRegistryCorrupt,
// ErrorBadDb) and LastErrorText tells which file and why.
class TPosixRegistry final : public IRegistry {
public:
    explicit TPosixRegistry(TMachineDatabaseMode Mode = TMachineDatabaseMode::mdmReadWrite,
                            std::string Path = TMachineDatabase::DefaultPath());
    TPosixRegistry(const TPosixRegistry&) = delete;
    TPosixRegistry& operator=(const TPosixRegistry&) = delete;
    ~TPosixRegistry();

    // What went wrong in the database at the last call; empty when the last call did not fail
    // there.
    const std::string& LastErrorText() const { return FStore.LastErrorText(); }

    TStatusOr<TRegCreatedKey> CreateKey(TRegRoot Root, const std::string& Path,
                                        std::uint32_t Access) override;
    TStatusOr<TRegKeyOwner> OpenKey(TRegRoot Root, const std::string& Path,
                                    std::uint32_t Access) override;
    TStatusOr<TRegValueInfo> QueryValue(TRegKeyHandle Key, const std::string& Name) override;
    TStatusOr<TRegValue> ReadValue(TRegKeyHandle Key, const std::string& Name) override;
    TStatus WriteValue(TRegKeyHandle Key, const std::string& Name, std::uint32_t Type,
                       std::span<const std::uint8_t> Data) override;
    TStatusOr<std::vector<std::string>> ValueNames(TRegKeyHandle Key) override;
    TStatus DeleteKeyTree(TRegRoot Root, const std::string& Path) override;
    TStatus CloseKey(TRegKeyHandle Key) override;
    // The machine database, and LastErrorText when there is one.
    std::string Describe() const override;

private:
    struct TOpenKey {
        std::int64_t Id;
        std::uint32_t Access;
    };
    enum class TUse { uRead, uWrite };

    // The open database with the registry's tables, or null with Error set: for a read, a
    // missing file or missing tables mean that no key exists; for a write, they are created.
    TMachineDatabase* Database(TUse Use, std::uint32_t& Error);
    // Reads Columns of the value Name of the key behind Key and answers what Take makes of the
    // row.
    template <class TResult, class TTake>
    TStatusOr<TResult> SelectValue(TRegKeyHandle Key, const std::string& Name, const char* Columns,
                                   TTake Take);
    // The open key behind Handle; Error tells why there is none.
    const TOpenKey* Find(TRegKeyHandle Handle, std::uint32_t Needed, std::uint32_t& Error);
    bool KeyExists(std::int64_t Id);
    std::int64_t RootId(TRegRoot Root);

    TMachineStore FStore;
    TStandInHandles<TOpenKey> FKeys;
};

} // namespace q7n::platform
