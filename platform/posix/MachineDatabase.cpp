#include "platform/posix/MachineDatabase.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <pwd.h>
#include <sqlite3.h>
#include <sys/file.h>
#include <unistd.h>

namespace q7n::platform {

namespace {

// Long enough to ride out another process's write transaction, short enough not to look hung.
constexpr int BusyTimeoutMs = 5000;

std::string HomeFolder() {
    const char* Home = std::getenv("HOME");
    if (Home && *Home)
        return Home;
    if (const passwd* Entry = ::getpwuid(::getuid()); Entry && Entry->pw_dir)
        return Entry->pw_dir;
    return ".";
}

[[noreturn]] void FailOn(sqlite3* Db, const std::string& What, int Code) {
    const char* File = Db ? sqlite3_db_filename(Db, "main") : nullptr;
    std::string Message = "Machine database";
    if (File && *File)
        Message += " '" + std::string(File) + "'";
    Message += ": " + What + ": " + (Db ? sqlite3_errmsg(Db) : sqlite3_errstr(Code));
    throw EMachineDatabaseError(Message, Code);
}

// Holds an exclusive lock on a file beside the database while a connection opens it and sets
// its journal mode. Processes that open a new database at the same moment would otherwise race in
// SQLite's switch to WAL ("database is locked", "disk I/O error"), which its busy timeout does not
// cover. A separate file, because closing any descriptor of the database itself would drop the
// POSIX locks that SQLite holds on it in this process. Where the file cannot be made (a folder
// the user may not write), nothing is locked: such a user only reads.
class TOpeningLock {
public:
    explicit TOpeningLock(const std::string& DatabasePath)
        : FFd(::open((DatabasePath + ".lock").c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644)) {
        if (FFd >= 0)
            while (::flock(FFd, LOCK_EX) != 0 && errno == EINTR) {
            }
    }
    TOpeningLock(const TOpeningLock&) = delete;
    TOpeningLock& operator=(const TOpeningLock&) = delete;
    ~TOpeningLock() {
        if (FFd >= 0)
            ::close(FFd); // releases the lock
    }

private:
    int FFd;
};

} // namespace

TSqlStatement::TSqlStatement(sqlite3* Db, std::string_view Sql) : FDb(Db) {
    int Code =
        sqlite3_prepare_v2(FDb, Sql.data(), static_cast<int>(Sql.size()), &FStatement, nullptr);
    if (Code != SQLITE_OK)
        FailOn(FDb, "cannot prepare \"" + std::string(Sql) + "\"", Code);
}

TSqlStatement::~TSqlStatement() {
    sqlite3_finalize(FStatement);
}

TSqlStatement& TSqlStatement::Bind(int Index, std::int64_t Value) {
    if (int Code = sqlite3_bind_int64(FStatement, Index, Value); Code != SQLITE_OK)
        FailOn(FDb, "cannot bind a parameter", Code);
    return *this;
}

TSqlStatement& TSqlStatement::Bind(int Index, std::string_view Value) {
    int Code = sqlite3_bind_text(FStatement, Index, Value.data(), static_cast<int>(Value.size()),
                                 SQLITE_TRANSIENT);
    if (Code != SQLITE_OK)
        FailOn(FDb, "cannot bind a parameter", Code);
    return *this;
}

TSqlStatement& TSqlStatement::BindNull(int Index) {
    if (int Code = sqlite3_bind_null(FStatement, Index); Code != SQLITE_OK)
        FailOn(FDb, "cannot bind a parameter", Code);
    return *this;
}

TSqlStatement& TSqlStatement::BindBlob(int Index, std::span<const std::uint8_t> Value) {
    // A zero-length blob must not be bound as NULL, which a null pointer would give.
    static const std::uint8_t Empty = 0;
    int Code = sqlite3_bind_blob(FStatement, Index, Value.empty() ? &Empty : Value.data(),
                                 static_cast<int>(Value.size()), SQLITE_TRANSIENT);
    if (Code != SQLITE_OK)
        FailOn(FDb, "cannot bind a parameter", Code);
    return *this;
}

bool TSqlStatement::Step() {
    int Code = sqlite3_step(FStatement);
    if (Code == SQLITE_ROW)
        return true;
    if (Code == SQLITE_DONE)
        return false;
    sqlite3_reset(FStatement);
    FailOn(FDb, std::string("cannot run \"") + sqlite3_sql(FStatement) + "\"", Code);
}

void TSqlStatement::Run() {
    while (Step()) {
    }
}

void TSqlStatement::Reset() {
    sqlite3_reset(FStatement);
    sqlite3_clear_bindings(FStatement);
}

bool TSqlStatement::IsNull(int Column) const {
    return sqlite3_column_type(FStatement, Column) == SQLITE_NULL;
}

std::int64_t TSqlStatement::ColumnInt64(int Column) const {
    return sqlite3_column_int64(FStatement, Column);
}

std::string TSqlStatement::ColumnText(int Column) const {
    const unsigned char* Text = sqlite3_column_text(FStatement, Column);
    if (!Text)
        return {};
    return std::string(reinterpret_cast<const char*>(Text),
                       static_cast<std::size_t>(sqlite3_column_bytes(FStatement, Column)));
}

std::vector<std::uint8_t> TSqlStatement::ColumnBlob(int Column) const {
    const auto* Data = static_cast<const std::uint8_t*>(sqlite3_column_blob(FStatement, Column));
    if (!Data)
        return {};
    return std::vector<std::uint8_t>(
        Data, Data + static_cast<std::size_t>(sqlite3_column_bytes(FStatement, Column)));
}

std::string TMachineDatabase::DefaultPath() {
    if (const char* Explicit = std::getenv("Q7N_MACHINE_DB"); Explicit && *Explicit)
        return Explicit;
    std::string State;
    // A relative XDG_STATE_HOME is invalid and must be ignored.
    if (const char* Xdg = std::getenv("XDG_STATE_HOME"); Xdg && *Xdg == '/')
        State = Xdg;
    else
        State = HomeFolder() + "/.local/state";
    return State + "/q7nconfig/machine.sqlite";
}

TMachineDatabase::TMachineDatabase(TMachineDatabaseMode Mode, const std::string& Path)
    : FPath(Path), FMode(Mode) {
    int Flags = SQLITE_OPEN_NOMUTEX;
    if (ReadOnly()) {
        Flags |= SQLITE_OPEN_READONLY;
        // SQLite would report only "unable to open database file".
        std::error_code Ignored;
        if (!std::filesystem::exists(FPath, Ignored))
            throw EMachineDatabaseError("Machine database '" + FPath + "' does not exist",
                                        SQLITE_CANTOPEN);
    } else {
        Flags |= SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE;
        std::filesystem::path Folder = std::filesystem::path(FPath).parent_path();
        std::error_code Error;
        if (!Folder.empty())
            std::filesystem::create_directories(Folder, Error);
        if (Error)
            throw EMachineDatabaseError("Machine database '" + FPath +
                                            "': cannot create its folder: " + Error.message(),
                                        SQLITE_CANTOPEN);
    }
    TOpeningLock Opening(FPath);
    int Code = sqlite3_open_v2(FPath.c_str(), &FDb, Flags, nullptr);
    try {
        if (Code != SQLITE_OK)
            throw EMachineDatabaseError(
                "Machine database '" + FPath + "': cannot open: " + sqlite3_errstr(Code), Code);
        sqlite3_extended_result_codes(FDb, 1);
        sqlite3_busy_timeout(FDb, BusyTimeoutMs);
        // The first read of the file tells whether it is a database at all.
        if (!ReadOnly()) {
            // The WAL's files stay when the last writer closes: a user who may not write the
            // folder can read a WAL database only where they already exist.
            int Persist = 1;
            sqlite3_file_control(FDb, "main", SQLITE_FCNTL_PERSIST_WAL, &Persist);
            TSqlStatement Journal(FDb, "PRAGMA journal_mode=WAL");
            Journal.Step();
            Execute("PRAGMA synchronous=FULL");
        }
        TSqlStatement Check(FDb, "PRAGMA quick_check");
        while (Check.Step()) {
            std::string Verdict = Check.ColumnText(0);
            if (Verdict != "ok")
                throw EMachineDatabaseError(
                    "Machine database '" + FPath + "' is damaged: " + Verdict, SQLITE_CORRUPT);
        }
    } catch (const EMachineDatabaseError& E) {
        sqlite3_close(FDb);
        FDb = nullptr;
        int Reason = E.SqliteCode() & 0xFF;
        if (Reason == SQLITE_NOTADB || Reason == SQLITE_CORRUPT)
            throw EMachineDatabaseError("Machine database '" + FPath +
                                            "' is damaged or not a database; it was left as it "
                                            "is (" +
                                            E.what() + ")",
                                        E.SqliteCode());
        throw;
    }
}

TMachineDatabase::~TMachineDatabase() {
    sqlite3_close(FDb);
}

void TMachineDatabase::Fail(const std::string& What, int Code) const {
    FailOn(FDb, What, Code);
}

void TMachineDatabase::Execute(const std::string& Sql) {
    char* Message = nullptr;
    int Code = sqlite3_exec(FDb, Sql.c_str(), nullptr, nullptr, &Message);
    if (Code != SQLITE_OK) {
        std::string Text = Message ? Message : sqlite3_errstr(Code);
        sqlite3_free(Message);
        throw EMachineDatabaseError(
            "Machine database '" + FPath + "': cannot run \"" + Sql + "\": " + Text, Code);
    }
}

void TMachineDatabase::WriteTransaction(const std::function<void()>& Body) {
    Execute("BEGIN IMMEDIATE");
    try {
        Body();
        Execute("COMMIT");
    } catch (...) {
        if (!sqlite3_get_autocommit(FDb))
            sqlite3_exec(FDb, "ROLLBACK", nullptr, nullptr, nullptr);
        throw;
    }
}

int TMachineDatabase::SchemaVersion(const std::string& Part) {
    // One statement, so that both answers come from one snapshot: another process may create
    // the register and its first tables in between two looks.
    TSqlStatement Tables(FDb, "SELECT EXISTS (SELECT 1 FROM sqlite_master WHERE type='table' AND "
                              "name='q7n_schema'), (SELECT name FROM sqlite_master WHERE "
                              "type='table' AND name NOT LIKE 'sqlite_%' AND name <> "
                              "'q7n_schema' LIMIT 1)");
    Tables.Step();
    if (Tables.ColumnInt64(0) == 0) {
        // A database with tables but without our register was written by something else.
        if (!Tables.IsNull(1))
            throw EMachineDatabaseError("Machine database '" + FPath +
                                            "' holds tables of an unknown schema (\"" +
                                            Tables.ColumnText(1) + "\"); it was left as it is",
                                        0);
        return 0;
    }
    TSqlStatement Query(FDb, "SELECT version FROM q7n_schema WHERE part = ?1");
    Query.Bind(1, Part);
    return Query.Step() ? static_cast<int>(Query.ColumnInt64(0)) : 0;
}

bool TMachineDatabase::EnsureSchema(const std::string& Part, int Version,
                                    const std::function<void(TMachineDatabase&)>& Create) {
    auto Check = [&](int Found) {
        if (Found != 0 && Found != Version)
            throw EMachineDatabaseError(
                "Machine database '" + FPath + "': the tables of \"" + Part +
                    "\" are at schema version " + std::to_string(Found) + ", this program knows " +
                    std::to_string(Version) + "; they were left as they are",
                0);
        return Found == Version;
    };
    if (Check(SchemaVersion(Part)))
        return true;
    if (ReadOnly())
        return false;
    WriteTransaction([&] {
        // Another process may have created the part between the look and the lock.
        if (Check(SchemaVersion(Part)))
            return;
        Execute("CREATE TABLE IF NOT EXISTS q7n_schema (part TEXT PRIMARY KEY, version INTEGER "
                "NOT NULL)");
        Create(*this);
        TSqlStatement Record(FDb, "INSERT INTO q7n_schema (part, version) VALUES (?1, ?2)");
        Record.Bind(1, Part).Bind(2, static_cast<std::int64_t>(Version)).Run();
    });
    return true;
}

} // namespace q7n::platform
