#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;

// The local machine's shared state on POSIX hosts: one SQLite file that the stand-ins for the
// Windows machine-wide stores (the service database, the registry) keep their tables in. Several
// processes may use it at once: it runs in WAL mode with a busy timeout, and every write begins
// with BEGIN IMMEDIATE so that two writers never both read and then one loses its update.
namespace q7n::platform {

// The database cannot be opened, is not a database, is damaged, holds a schema this program does
// not know, or a statement failed. The text says which file and what went wrong.
class EMachineDatabaseError : public std::runtime_error {
public:
    EMachineDatabaseError(const std::string& Message, int SqliteCode)
        : std::runtime_error(Message), FSqliteCode(SqliteCode) {}
    // The SQLite result code (SQLITE_READONLY, SQLITE_NOTADB, ...), or 0 for our own checks.
    int SqliteCode() const { return FSqliteCode; }

private:
    int FSqliteCode;
};

enum class TMachineDatabaseMode {
    mdmReadWrite, // creates the file and its folders when missing
    mdmReadOnly,  // the file must exist; every write fails (plays a user without rights)
};

// One prepared statement; parameters are numbered from 1, columns from 0.
class TSqlStatement {
public:
    TSqlStatement(sqlite3* Db, std::string_view Sql);
    TSqlStatement(const TSqlStatement&) = delete;
    TSqlStatement& operator=(const TSqlStatement&) = delete;
    ~TSqlStatement();

    TSqlStatement& Bind(int Index, std::int64_t Value);
    TSqlStatement& Bind(int Index, std::string_view Value);
    TSqlStatement& BindNull(int Index);
    TSqlStatement& BindBlob(int Index, std::span<const std::uint8_t> Value);
    // Advances to the next row; false when there is none (the statement is done).
    bool Step();
    // Runs a statement that returns no rows.
    void Run();
    void Reset();

    bool IsNull(int Column) const;
    std::int64_t ColumnInt64(int Column) const;
    std::string ColumnText(int Column) const;
    std::vector<std::uint8_t> ColumnBlob(int Column) const;

private:
    sqlite3* FDb;
    sqlite3_stmt* FStatement = nullptr;
};

class TMachineDatabase {
public:
    // Q7N_MACHINE_DB when set and not empty; otherwise
    // $XDG_STATE_HOME/q7nconfig/machine.sqlite, or ~/.local/state/q7nconfig/machine.sqlite.
    static std::string DefaultPath();

    explicit TMachineDatabase(TMachineDatabaseMode Mode = TMachineDatabaseMode::mdmReadWrite,
                              const std::string& Path = DefaultPath());
    TMachineDatabase(const TMachineDatabase&) = delete;
    TMachineDatabase& operator=(const TMachineDatabase&) = delete;
    ~TMachineDatabase();

    const std::string& Path() const { return FPath; }
    bool ReadOnly() const { return FMode == TMachineDatabaseMode::mdmReadOnly; }
    sqlite3* Handle() const { return FDb; }

    // Makes sure that the tables of one user of the file (Part names it, e.g. "services") are
    // there at Version: when the part is absent, Create makes its tables inside one write
    // transaction and the version is recorded; when it is present at Version nothing happens.
    // Any other recorded version raises: the file was written by another version of this program,
    // and it is never silently replaced. A read-only database answers false for an absent part
    // (nothing can be created); true otherwise.
    bool EnsureSchema(const std::string& Part, int Version,
                      const std::function<void(TMachineDatabase&)>& Create);

    // The recorded version of Part, or 0 when it has none.
    int SchemaVersion(const std::string& Part);

    // Runs statements that return no rows.
    void Execute(const std::string& Sql);

    // Runs Body inside BEGIN IMMEDIATE ... COMMIT; rolls back and rethrows when Body raises.
    // Transactions do not nest.
    void WriteTransaction(const std::function<void()>& Body);

    // Raises EMachineDatabaseError naming the file for a failed SQLite call.
    [[noreturn]] void Fail(const std::string& What, int Code) const;

private:
    std::string FPath;
    TMachineDatabaseMode FMode;
    sqlite3* FDb = nullptr;
};

} // namespace q7n::platform
