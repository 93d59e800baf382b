#include "platform/posix/RegistryPosix.h"

#include "platform/SystemErrorText.h"
#include "platform/UnicodeText.h"

#include <limits>
#include <sqlite3.h>

namespace q7n::platform {

namespace {

constexpr const char* SchemaPart = "registry";
constexpr int SchemaVersion = 1;

// Rights that only a user who may write below the root holds (DELETE, WRITE_DAC, WRITE_OWNER
// beside the value and subkey rights).
constexpr std::uint32_t WritingRights = KeySetValue | KeyCreateSubKey | 0x10000 | 0x40000 | 0x80000;

void CreateTables(TMachineDatabase& Db) {
    // AUTOINCREMENT: the id of a deleted key is never given to a new one, so that a handle
    // left open on it cannot reach another key.
    Db.Execute("CREATE TABLE registry_keys ("
               "id INTEGER PRIMARY KEY AUTOINCREMENT, "
               "parent INTEGER REFERENCES registry_keys(id) ON DELETE CASCADE, "
               "name TEXT NOT NULL, "
               "folded TEXT NOT NULL, "
               "UNIQUE (parent, folded))");
    Db.Execute("CREATE TABLE registry_values ("
               "key INTEGER NOT NULL REFERENCES registry_keys(id) ON DELETE CASCADE, "
               "name TEXT NOT NULL, "
               "folded TEXT NOT NULL, "
               "type INTEGER NOT NULL, "
               "data BLOB NOT NULL, "
               "UNIQUE (key, folded))");
    TSqlStatement Root(Db.Handle(),
                       "INSERT INTO registry_keys (parent, name, folded) VALUES (NULL, ?1, ?1)");
    Root.Bind(1, std::string_view(RegRootName(TRegRoot::rrLocalMachine))).Run();
}

// A name as the hive may hold it: UTF-8 without zero characters.
std::uint32_t CheckName(const std::string& Name) {
    if (Name.find('\0') != std::string::npos)
        return ErrorInvalidParameter;
    if (!IsValidUtf8(Name))
        return ErrorNoUnicodeTranslation;
    return ErrorSuccess;
}

// The names of the keys along Path. Empty components (doubled or trailing backslashes) are
// skipped; a leading backslash is refused (Registry.h).
std::uint32_t SplitKeyPath(const std::string& Path, std::vector<std::string>& Names) {
    if (!Path.empty() && Path.front() == '\\')
        return ErrorBadPathname;
    if (std::uint32_t Error = CheckName(Path); Error != ErrorSuccess)
        return Error;
    Names.clear();
    std::size_t Start = 0;
    while (Start <= Path.size()) {
        std::size_t End = Path.find('\\', Start);
        if (End == std::string::npos)
            End = Path.size();
        if (End > Start)
            Names.push_back(Path.substr(Start, End - Start));
        Start = End + 1;
    }
    return ErrorSuccess;
}

std::optional<std::int64_t> FindChild(TMachineDatabase& Db, std::int64_t Parent,
                                      const std::string& Name) {
    TSqlStatement Find(Db.Handle(),
                       "SELECT id FROM registry_keys WHERE parent = ?1 AND folded = ?2");
    Find.Bind(1, Parent).Bind(2, UpperCaseText(Name));
    if (!Find.Step())
        return std::nullopt;
    return Find.ColumnInt64(0);
}

std::optional<std::int64_t> FindPath(TMachineDatabase& Db, std::int64_t Root,
                                     const std::vector<std::string>& Names) {
    std::optional<std::int64_t> Id = Root;
    for (const std::string& Name : Names) {
        Id = FindChild(Db, *Id, Name);
        if (!Id)
            break;
    }
    return Id;
}

constexpr TMachineStoreErrors RegistryErrors = {
    ErrorAccessDenied, ErrorRegistryIoFailed, ErrorRegistryCorrupt,
    ErrorBadDb,        ErrorRegistryIoFailed, ErrorNotEnoughMemory,
};

} // namespace

TPosixRegistry::TPosixRegistry(TMachineDatabaseMode Mode, std::string Path)
    : FStore(std::move(Path), Mode, SchemaPart, SchemaVersion, CreateTables, RegistryErrors) {}

TPosixRegistry::~TPosixRegistry() = default;

TMachineDatabase* TPosixRegistry::Database(TUse Use, std::uint32_t& Error) {
    bool Writing = Use == TUse::uWrite;
    // For a read, a missing file or missing tables mean that no key exists.
    if (!FStore.Open(Writing) || !FStore.HasTables(Writing)) {
        Error = Writing ? ErrorAccessDenied : ErrorFileNotFound;
        return nullptr;
    }
    Error = ErrorSuccess;
    return &FStore.Database();
}

std::int64_t TPosixRegistry::RootId(TRegRoot Root) {
    TSqlStatement Find(FStore.Database().Handle(),
                       "SELECT id FROM registry_keys WHERE parent IS NULL AND folded = ?1");
    Find.Bind(1, std::string_view(RegRootName(Root)));
    if (!Find.Step())
        throw EMachineDatabaseError("Machine database '" + FStore.Path() +
                                        "' has lost the root key " + RegRootName(Root),
                                    SQLITE_CORRUPT);
    return Find.ColumnInt64(0);
}

bool TPosixRegistry::KeyExists(std::int64_t Id) {
    TSqlStatement Find(FStore.Database().Handle(), "SELECT 1 FROM registry_keys WHERE id = ?1");
    Find.Bind(1, Id);
    return Find.Step();
}

const TPosixRegistry::TOpenKey* TPosixRegistry::Find(TRegKeyHandle Handle, std::uint32_t Needed,
                                                     std::uint32_t& Error) {
    const TOpenKey* Found = FKeys.Find(Handle);
    if (!Found || !FStore.IsOpen()) {
        Error = ErrorInvalidHandle;
        return nullptr;
    }
    if ((Found->Access & Needed) != Needed) {
        Error = ErrorAccessDenied;
        return nullptr;
    }
    Error = ErrorSuccess;
    return Found;
}

TStatusOr<TRegCreatedKey> TPosixRegistry::CreateKey(TRegRoot Root, const std::string& Path,
                                                    std::uint32_t Access) {
    return FStore.Guarded([&]() -> TStatusOr<TRegCreatedKey> {
        std::vector<std::string> Names;
        if (std::uint32_t Error = SplitKeyPath(Path, Names); Error != ErrorSuccess)
            return SystemStatus(Error);
        std::uint32_t Error = ErrorSuccess;
        TMachineDatabase* Db = Database(TUse::uWrite, Error);
        if (!Db)
            return SystemStatus(Error);
        if (Db->ReadOnly())
            return SystemStatus(ErrorAccessDenied);
        std::int64_t Id = 0;
        bool Created = false;
        Db->WriteTransaction([&] {
            Id = RootId(Root);
            Created = false;
            for (const std::string& Name : Names) {
                if (std::optional<std::int64_t> Child = FindChild(*Db, Id, Name)) {
                    Id = *Child;
                    Created = false;
                    continue;
                }
                TSqlStatement Insert(Db->Handle(), "INSERT INTO registry_keys (parent, name, "
                                                   "folded) VALUES (?1, ?2, ?3)");
                Insert.Bind(1, Id).Bind(2, Name).Bind(3, UpperCaseText(Name)).Run();
                Id = sqlite3_last_insert_rowid(Db->Handle());
                Created = true;
            }
        });
        return TRegCreatedKey{TRegKeyOwner(FKeys.Add(TOpenKey{Id, Access}), *this),
                              Created ? RegCreatedNewKey : RegOpenedExistingKey};
    });
}

TStatusOr<TRegKeyOwner> TPosixRegistry::OpenKey(TRegRoot Root, const std::string& Path,
                                                std::uint32_t Access) {
    return FStore.Guarded([&]() -> TStatusOr<TRegKeyOwner> {
        std::vector<std::string> Names;
        if (std::uint32_t Error = SplitKeyPath(Path, Names); Error != ErrorSuccess)
            return SystemStatus(Error);
        std::uint32_t Error = ErrorSuccess;
        TMachineDatabase* Db = Database(TUse::uRead, Error);
        if (!Db)
            return SystemStatus(Error);
        std::optional<std::int64_t> Id = FindPath(*Db, RootId(Root), Names);
        if (!Id)
            return SystemStatus(ErrorFileNotFound);
        if (Db->ReadOnly() && (Access & WritingRights) != 0)
            return SystemStatus(ErrorAccessDenied);
        return TRegKeyOwner(FKeys.Add(TOpenKey{*Id, Access}), *this);
    });
}

template <class TResult, class TTake>
TStatusOr<TResult> TPosixRegistry::SelectValue(TRegKeyHandle Key, const std::string& Name,
                                               const char* Columns, TTake Take) {
    return FStore.Guarded([&]() -> TStatusOr<TResult> {
        std::uint32_t Error = CheckName(Name);
        if (Error != ErrorSuccess)
            return SystemStatus(Error);
        const TOpenKey* Open = Find(Key, KeyQueryValue, Error);
        if (!Open)
            return SystemStatus(Error);
        TSqlStatement Query(FStore.Database().Handle(),
                            std::string("SELECT ") + Columns +
                                " FROM registry_values WHERE key = ?1 AND "
                                "folded = ?2");
        Query.Bind(1, Open->Id).Bind(2, UpperCaseText(Name));
        if (!Query.Step())
            return SystemStatus(KeyExists(Open->Id) ? ErrorFileNotFound : ErrorKeyDeleted);
        return Take(Query);
    });
}

TStatusOr<TRegValueInfo> TPosixRegistry::QueryValue(TRegKeyHandle Key, const std::string& Name) {
    return SelectValue<TRegValueInfo>(
        Key, Name, "type, length(data)", [](const TSqlStatement& Row) {
            return TRegValueInfo{static_cast<std::uint32_t>(Row.ColumnInt64(0)),
                                 static_cast<std::uint32_t>(Row.ColumnInt64(1))};
        });
}

TStatusOr<TRegValue> TPosixRegistry::ReadValue(TRegKeyHandle Key, const std::string& Name) {
    return SelectValue<TRegValue>(Key, Name, "type, data", [](const TSqlStatement& Row) {
        return TRegValue{static_cast<std::uint32_t>(Row.ColumnInt64(0)), Row.ColumnBlob(1)};
    });
}

TStatus TPosixRegistry::WriteValue(TRegKeyHandle Key, const std::string& Name, std::uint32_t Type,
                                   std::span<const std::uint8_t> Data) {
    return SystemStatus(FStore.Guarded([&]() -> std::uint32_t {
        std::uint32_t Error = CheckName(Name);
        if (Error != ErrorSuccess)
            return Error;
        const TOpenKey* Open = Find(Key, KeySetValue, Error);
        if (!Open)
            return Error;
        if (Data.size() > static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max()))
            return ErrorInvalidParameter;
        // Text that Windows could not hold as UTF-16 is refused there; so it is here.
        if (IsRegTextType(Type) &&
            !IsValidUtf8(std::string_view(reinterpret_cast<const char*>(Data.data()), Data.size())))
            return ErrorNoUnicodeTranslation;
        if (FStore.Database().ReadOnly())
            return ErrorAccessDenied;
        std::vector<std::uint8_t> Terminated;
        if (IsRegTextType(Type) && !Data.empty() && Data.back() != 0) {
            Terminated.assign(Data.begin(), Data.end());
            Terminated.push_back(0);
            Data = Terminated;
        }
        bool Deleted = false;
        FStore.Database().WriteTransaction([&] {
            if (!KeyExists(Open->Id)) {
                Deleted = true;
                return;
            }
            // A value keeps the spelling of its name and its place when it is replaced.
            TSqlStatement Write(FStore.Database().Handle(),
                                "INSERT INTO registry_values (key, name, folded, type, data) "
                                "VALUES (?1, ?2, ?3, ?4, ?5) ON CONFLICT (key, folded) "
                                "DO UPDATE SET type = excluded.type, data = excluded.data");
            Write.Bind(1, Open->Id)
                .Bind(2, Name)
                .Bind(3, UpperCaseText(Name))
                .Bind(4, static_cast<std::int64_t>(Type))
                .BindBlob(5, Data)
                .Run();
        });
        return Deleted ? ErrorKeyDeleted : ErrorSuccess;
    }));
}

TStatusOr<std::vector<std::string>> TPosixRegistry::ValueNames(TRegKeyHandle Key) {
    return FStore.Guarded([&]() -> TStatusOr<std::vector<std::string>> {
        std::uint32_t Error = ErrorSuccess;
        const TOpenKey* Open = Find(Key, KeyQueryValue, Error);
        if (!Open)
            return SystemStatus(Error);
        if (!KeyExists(Open->Id))
            return SystemStatus(ErrorKeyDeleted);
        TSqlStatement Query(FStore.Database().Handle(),
                            "SELECT name FROM registry_values WHERE key = ?1 ORDER BY rowid");
        Query.Bind(1, Open->Id);
        std::vector<std::string> Names;
        while (Query.Step())
            Names.push_back(Query.ColumnText(0));
        return Names;
    });
}

TStatus TPosixRegistry::DeleteKeyTree(TRegRoot Root, const std::string& Path) {
    return SystemStatus(FStore.Guarded([&]() -> std::uint32_t {
        std::vector<std::string> Names;
        if (std::uint32_t Error = SplitKeyPath(Path, Names); Error != ErrorSuccess)
            return Error;
        if (Names.empty())
            return ErrorInvalidParameter;
        std::uint32_t Error = ErrorSuccess;
        TMachineDatabase* Db = Database(TUse::uRead, Error);
        if (!Db)
            return Error;
        if (Db->ReadOnly())
            return ErrorAccessDenied;
        bool Found = false;
        Db->WriteTransaction([&] {
            std::optional<std::int64_t> Id = FindPath(*Db, RootId(Root), Names);
            Found = Id.has_value();
            if (Found) {
                // Subkeys and values go with it (ON DELETE CASCADE).
                TSqlStatement Delete(Db->Handle(), "DELETE FROM registry_keys WHERE id = ?1");
                Delete.Bind(1, *Id).Run();
            }
        });
        return Found ? ErrorSuccess : ErrorFileNotFound;
    }));
}

TStatus TPosixRegistry::CloseKey(TRegKeyHandle Key) {
    if (!FKeys.Find(Key))
        return SystemStatus(ErrorInvalidHandle);
    FKeys.Remove(Key);
    return {};
}

std::string TPosixRegistry::Describe() const {
    std::string Text = "the machine database '" + FStore.Path() + "'";
    if (!LastErrorText().empty())
        Text += " (" + LastErrorText() + ")";
    return Text;
}

IRegistry& DefaultRegistry() {
    static TPosixRegistry Registry;
    return Registry;
}

} // namespace q7n::platform
