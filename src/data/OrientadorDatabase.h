#pragma once

#include "data/OrientadorField.h"

#include <map>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;
class Platform;
class OrientadorTable;

/// The connection to one of the Orientador's database files (IMPORT.MDB, REGIMP.MDB, DSI.MDB,
/// LIDSI.MDB, TABSISCO.MDB). The file is named by a connection string in the Orientador's own form;
/// the data source it names is looked up regardless of case. Each file is a SQLite database with the
/// Orientador's tables and fields (share/orientador holds the schemas); an Access file is refused.
///
/// One table cursor at a time is open on the connection; disconnecting closes it. Outside a transaction
/// every statement commits on its own; a transfer writes each of its units (a declaration, a licence)
/// inside a savepoint of one, so a unit is in the file whole or not at all.
class OrientadorDatabase {
public:
    static constexpr const char* Provider = "Microsoft.Jet.OLEDB.4.0";
    static constexpr int DefaultBusyTimeoutMs = 3000;

    OrientadorDatabase() = default;
    ~OrientadorDatabase();
    OrientadorDatabase(const OrientadorDatabase&) = delete;
    OrientadorDatabase& operator=(const OrientadorDatabase&) = delete;

    /// The string of the table preparation: "Provider=…;Data Source=" + folder + "\" + trimmed base
    /// name + ".mdb;" + "Persist Security Info=False".
    static std::string preparationConnectionString(const std::string& folder, const std::string& baseName);
    /// The string every other operation uses: "Provider=…;Data Source=" + folder + "\" + file name
    /// ("IMPORT.MDB" …) + ";" + "Persist Security Info=False".
    static std::string fileConnectionString(const std::string& folder, const std::string& fileName);
    /// The Data Source of a connection string. Throws AppError when it names none.
    static std::string dataSourceOf(const std::string& connectionString);
    /// The file a data source names on this system: the folder part (everything before the last "\" or
    /// "/") and the file name found in it regardless of case. Throws AppError naming the folder or file
    /// when either is missing.
    static std::string resolveDataSource(const Platform& platform, const std::string& dataSource);

    /// Replaces the connection string. Refused while connected.
    void setConnectionString(const std::string& text);
    const std::string& connectionString() const { return m_connectionString; }

    /// Opens the file the connection string names. Throws AppError with a clear text for a missing
    /// folder or file, an Access file, a file of another kind, or a file another program holds locked.
    void connect(const Platform& platform);
    /// Closes the open table (its pending row is dropped) and the file. Harmless when not connected.
    void disconnect();
    bool connected() const { return m_db != nullptr; }

    /// The full path of the connected file, and its name as found in the folder.
    const std::string& path() const { return m_path; }
    std::string fileName() const;

    /// Begins a transaction and takes the file's write lock at once, so another program holding the file
    /// is met before anything is changed (waiting busyTimeout for it). Throws AppError.
    void beginTransaction();
    /// Makes the transaction's changes permanent. Throws AppError when the file refuses (the transaction
    /// is then still open, for rollback).
    void commit();
    /// Drops the transaction's changes; harmless without a transaction or a connection.
    void rollback();
    bool inTransaction() const;
    /// A unit inside the transaction (a savepoint), the transaction begun first when there is none: the
    /// units of a run share one commit, each still whole or absent.
    void beginUnit();
    /// Keeps the unit's changes in the transaction.
    void releaseUnit();
    /// Drops the unit's changes; the units before it in the transaction stay. Harmless without a unit,
    /// and when the file has already dropped the whole transaction (a full disk does).
    void rollbackUnit();
    bool inUnit() const { return m_inUnit && inTransaction(); }
    /// Switches the file to a write-ahead log with commits that do not wait for the disk, when it can
    /// (no other program has it open): a unit is still whole or absent after a crash or a power cut, and
    /// the Orientador reading the file meanwhile sees the earlier version. Left as it is otherwise.
    void useWriteAheadLog();

    /// How long a statement waits for another program's lock before giving up.
    void setBusyTimeout(int milliseconds);
    int busyTimeout() const { return m_busyTimeoutMs; }

    /// A table as the file declares it: its name as stored, its fields and whether any has a default.
    struct TableDefinition {
        std::string storedName;
        std::vector<OrientadorField> fields;
        std::map<std::string, std::size_t> index; // folded name → column
        bool columnDefaults = false;
        // Learnt while the table is used: names as callers write them, the INSERT of every column.
        mutable std::unordered_map<std::string, std::size_t> nameIndex;
        mutable std::string insertAll;
    };
    /// The definition of the table named (regardless of case), read once per connection. Throws AppError
    /// naming the table and the file when there is none, or for a field of a type this store does not know.
    std::shared_ptr<const TableDefinition> tableDefinition(const std::string& name) const;

    // Used by OrientadorTable.
    sqlite3* handle() const { return m_db; }
    /// A prepared statement for sql, kept for the next use of the same text (a transfer writes thousands
    /// of rows with a few statements). Returns the SQLite result code; stmt is null on failure. A
    /// statement still in use is not handed out twice: a fresh one is prepared instead.
    int acquireStatement(const std::string& sql, sqlite3_stmt*& stmt) const;
    /// Gives the statement of sql back: reset and unbound for its next use (or finalized when it was not
    /// kept).
    void releaseStatement(const std::string& sql, sqlite3_stmt* stmt) const;
    /// Turns the result of a failed SQLite call into an AppError with a clear text.
    [[noreturn]] void fail(int code, const std::string& doing) const;
    void attach(OrientadorTable* table);
    void detach(OrientadorTable* table);

private:
    std::string m_connectionString;
    std::string m_path;
    sqlite3* m_db = nullptr;
    int m_busyTimeoutMs = DefaultBusyTimeoutMs;
    bool m_inUnit = false;
    OrientadorTable* m_openTable = nullptr;
    struct Kept {
        sqlite3_stmt* stmt = nullptr;
        bool inUse = false;
    };
    mutable std::unordered_map<std::string, Kept> m_statements;
    mutable std::unordered_map<std::string, std::shared_ptr<const TableDefinition>> m_tables; // by folded name
    void dropStatements();
};
