#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

/// One value of a result row: no value for SQL NULL, which is not the same as an empty text.
using IntegraValue = std::optional<std::string>;
using IntegraRow = std::vector<IntegraValue>;

/// What a statement gave back: the column names and the rows, every value as text.
struct IntegraResult {
    std::vector<std::string> columns;
    std::vector<IntegraRow> rows;
    /// Rows inserted, updated or deleted by the statement.
    std::uint64_t affected = 0;
};

/// The connection to the Integra database (the data module's sqlConIntegra), a Firebird database.
///
/// A local path opens the file inside this process (embedded engine, shared with the user's other
/// processes of the program, see EmbeddedFirebird); a server path ("host:/path" or "host/port:/path")
/// reaches a Firebird server. The connection attaches
/// as SYSDBA, SQL dialect 3, UTF8, and opens itself when a statement runs while it is closed. Every
/// statement runs in its own read-committed transaction that waits on locks and is committed at once.
/// Failures are AppErrors with a text the operator can act on.
class IntegraDatabase {
public:
    static constexpr const char* UserName = "SYSDBA";
    static constexpr const char* Password = "bluequill";

    IntegraDatabase();
    ~IntegraDatabase();
    IntegraDatabase(const IntegraDatabase&) = delete;
    IntegraDatabase& operator=(const IntegraDatabase&) = delete;

    /// The database location (the setting Dados/TabelasIntegra), read once at start by the caller.
    /// A change closes an open connection.
    void setDatabase(const std::string& location);
    const std::string& database() const { return m_location; }

    void connect();
    void disconnect();
    bool connected() const;

    /// Runs one statement and returns its rows (none for a statement that is not a query).
    IntegraResult query(const std::string& sql);
    /// Runs one statement that returns no rows; gives the number of rows it changed.
    std::uint64_t execute(const std::string& sql);

    /// Statements run so far on this connection (for tests and diagnostics).
    std::uint64_t statementCount() const { return m_statementCount; }

    /// The SQL literal of a text: enclosed in single quotes, every single quote inside doubled. Every
    /// value that goes into a statement text passes through here.
    static std::string quote(const std::string& value);
    /// True when the location names a server ("host:/path", "host/port:/path") rather than a local file.
    static bool isServerPath(const std::string& location);
    /// Creates a new database at location (UTF8, dialect 3) and runs the statements of schemaSql in it.
    /// Refuses a local file that already exists; a failed schema leaves no database behind.
    /// forcedWrites: every page reaches the disk before a commit returns (off only for throw-away
    /// databases, such as those of the tests).
    static void create(const std::string& location, const std::string& schemaSql, bool forcedWrites = true);
    /// The statements of an SQL script: split at ";" outside quotes and comments, comments removed.
    static std::vector<std::string> splitScript(const std::string& script);

private:
    /// The operator's text for a value too long for its column (statement sql, column limit).
    std::string truncationMessage(const std::string& sql, int limit);

    struct Impl;
    std::unique_ptr<Impl> m_impl;
    std::string m_location;
    std::uint64_t m_statementCount = 0;
};
