#include "data/OrientadorDatabase.h"

#include "base/AppError.h"
#include "base/TextUtils.h"
#include "data/OrientadorTable.h"
#include "platform/Paths.h"
#include "platform/Platform.h"

#include <sqlite3.h>

#include <fstream>
#include <functional>

namespace {

const char* const PersistSecurityInfo = "Persist Security Info=False";

// Case folding as the program compares texts (accented letters included), for locating rows.
void foldFunction(sqlite3_context* context, int, sqlite3_value** argv) {
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL) {
        sqlite3_result_null(context);
        return;
    }
    const auto* text = reinterpret_cast<const char*>(sqlite3_value_text(argv[0]));
    const std::string folded = foldCase(text ? text : "");
    sqlite3_result_text(context, folded.data(), static_cast<int>(folded.size()), SQLITE_TRANSIENT);
}

enum class FileKind { Empty, Sqlite, Access, Other, Unreadable };

FileKind fileKind(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return FileKind::Unreadable;
    char head[32] = {};
    in.read(head, sizeof head);
    const std::string h(head, static_cast<size_t>(in.gcount()));
    if (h.empty())
        return FileKind::Empty;
    if (h.rfind(std::string("SQLite format 3\0", 16), 0) == 0)
        return FileKind::Sqlite;
    if (h.size() >= 19 && (h.compare(4, 15, "Standard Jet DB") == 0 || h.compare(4, 15, "Standard ACE DB") == 0))
        return FileKind::Access;
    return FileKind::Other;
}

} // namespace

OrientadorDatabase::~OrientadorDatabase() {
    disconnect();
}

std::string OrientadorDatabase::preparationConnectionString(const std::string& folder, const std::string& baseName) {
    return std::string("Provider=") + Provider + ";Data Source=" + folder + "\\" + trim(baseName) + ".mdb;" +
           PersistSecurityInfo;
}

std::string OrientadorDatabase::fileConnectionString(const std::string& folder, const std::string& fileName) {
    return std::string("Provider=") + Provider + ";Data Source=" + folder + "\\" + fileName + ";" + PersistSecurityInfo;
}

std::string OrientadorDatabase::dataSourceOf(const std::string& connectionString) {
    for (const std::string& part : split(connectionString, ';')) {
        const auto eq = part.find('=');
        if (eq == std::string::npos)
            continue;
        if (equalsNoCase(trim(part.substr(0, eq)), "Data Source")) {
            std::string value = trim(part.substr(eq + 1));
            if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
                value = value.substr(1, value.size() - 2);
            if (!value.empty())
                return value;
        }
    }
    throw AppError("A conexão com o Orientador - SISCOMEX não indica o arquivo (Data Source): '" + connectionString +
                   "'");
}

std::string OrientadorDatabase::resolveDataSource(const Platform& platform, const std::string& dataSource) {
    // The Orientador's strings join the folder and the file with "\"; on this system the folder part
    // may itself use "/" — everything before the last separator of either kind is the folder.
    const std::string name = fileNameOf(dataSource);
    const std::string folder = folderOf(dataSource);
    if (trim(folder).empty())
        throw AppError("A pasta do Orientador - SISCOMEX não está informada nas configurações do PELOMIRA");
    if (name.empty())
        throw AppError("A conexão com o Orientador - SISCOMEX não indica o nome do arquivo: '" + dataSource + "'");
    if (!folderExists(folder))
        throw AppError("A pasta do Orientador - SISCOMEX não foi encontrada: " + folder +
                       "\rVerifique a pasta informada nas configurações do PELOMIRA");
    const auto found = platform.findFileNoCase(folder, name);
    if (!found || !fileExists(*found))
        throw AppError("O arquivo " + name + " não foi encontrado na pasta do Orientador - SISCOMEX (" + folder + ")");
    return *found;
}

void OrientadorDatabase::setConnectionString(const std::string& text) {
    if (connected())
        throw AppError("A conexão com o Orientador - SISCOMEX está aberta; feche-a antes de trocar o arquivo");
    m_connectionString = text;
}

void OrientadorDatabase::connect(const Platform& platform) {
    if (connected())
        return;
    const std::string path = resolveDataSource(platform, dataSourceOf(m_connectionString));
    const std::string name = fileNameOf(path);
    switch (fileKind(path)) {
    case FileKind::Sqlite:
        break;
    case FileKind::Access:
        throw AppError("O arquivo " + name +
                       " é um banco de dados do Microsoft Access; arquivos do Access não podem ser lidos nesta "
                       "instalação. Use a pasta do Orientador - SISCOMEX preparada para este sistema.");
    case FileKind::Empty:
        throw AppError("O arquivo " + name + " do Orientador - SISCOMEX está vazio");
    case FileKind::Unreadable:
        throw AppError("O arquivo " + name + " do Orientador - SISCOMEX não pode ser lido (verifique as permissões)");
    case FileKind::Other:
        throw AppError("O arquivo " + name + " não é um banco de dados do Orientador - SISCOMEX reconhecido");
    }

    sqlite3* db = nullptr;
    const int rc = sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr);
    if (rc != SQLITE_OK) {
        const std::string why = db ? sqlite3_errmsg(db) : sqlite3_errstr(rc);
        sqlite3_close(db);
        throw AppError("Não foi possível abrir o arquivo " + name + " do Orientador - SISCOMEX: " + why);
    }
    m_db = db;
    m_path = path;
    sqlite3_busy_timeout(m_db, m_busyTimeoutMs);
    sqlite3_create_function(m_db, "pelomira_fold", 1, SQLITE_UTF8 | SQLITE_DETERMINISTIC, nullptr, foldFunction,
                            nullptr, nullptr);
    // Reading the catalogue once makes a locked or damaged file fail here, with its own message.
    const int check = sqlite3_exec(m_db, "SELECT count(*) FROM sqlite_master", nullptr, nullptr, nullptr);
    if (check != SQLITE_OK) {
        try {
            fail(check, "abrir o arquivo");
        } catch (...) {
            sqlite3_close(m_db);
            m_db = nullptr;
            m_path.clear();
            throw;
        }
    }
}

void OrientadorDatabase::beginTransaction() {
    if (!m_db)
        throw AppError("A conexão com o Orientador - SISCOMEX não está aberta");
    if (inTransaction())
        throw AppError("Já existe uma gravação em andamento no arquivo " + fileName());
    const int rc = sqlite3_exec(m_db, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr);
    if (rc != SQLITE_OK)
        fail(rc, "iniciar a gravação");
}

void OrientadorDatabase::commit() {
    if (!inTransaction())
        return;
    m_inUnit = false;
    const int rc = sqlite3_exec(m_db, "COMMIT", nullptr, nullptr, nullptr);
    if (rc != SQLITE_OK)
        fail(rc, "concluir a gravação");
}

void OrientadorDatabase::rollback() {
    m_inUnit = false;
    if (inTransaction())
        sqlite3_exec(m_db, "ROLLBACK", nullptr, nullptr, nullptr);
}

void OrientadorDatabase::beginUnit() {
    if (inUnit())
        throw AppError("Já existe uma gravação em andamento no arquivo " + fileName());
    if (!inTransaction())
        beginTransaction();
    const int rc = sqlite3_exec(m_db, "SAVEPOINT unidade", nullptr, nullptr, nullptr);
    if (rc != SQLITE_OK)
        fail(rc, "iniciar a gravação");
    m_inUnit = true;
}

void OrientadorDatabase::releaseUnit() {
    if (m_inUnit && !inTransaction()) {
        // The file dropped the transaction itself (a full disk, a failed write): the unit is not there.
        m_inUnit = false;
        throw AppError("O arquivo " + fileName() + " desfez a gravação em andamento");
    }
    if (!inUnit())
        return;
    const int rc = sqlite3_exec(m_db, "RELEASE unidade", nullptr, nullptr, nullptr);
    if (rc != SQLITE_OK)
        fail(rc, "concluir a gravação");
    m_inUnit = false;
}

void OrientadorDatabase::rollbackUnit() {
    if (inUnit()) {
        sqlite3_exec(m_db, "ROLLBACK TO unidade", nullptr, nullptr, nullptr);
        sqlite3_exec(m_db, "RELEASE unidade", nullptr, nullptr, nullptr);
    }
    m_inUnit = false;
}

void OrientadorDatabase::useWriteAheadLog() {
    if (!m_db)
        return;
    // Best effort: another program holding the file keeps it as it is, and the transfer meets that
    // program when it begins its transaction.
    const int previous = m_busyTimeoutMs;
    sqlite3_busy_timeout(m_db, 0);
    sqlite3_exec(m_db, "PRAGMA journal_mode=WAL", nullptr, nullptr, nullptr);
    sqlite3_busy_timeout(m_db, previous);
    sqlite3_exec(m_db, "PRAGMA synchronous=NORMAL", nullptr, nullptr, nullptr);
    // The log is folded back into the file when the transfer lets it go, not every few hundred rows.
    sqlite3_exec(m_db, "PRAGMA wal_autocheckpoint=20000", nullptr, nullptr, nullptr);
}

bool OrientadorDatabase::inTransaction() const {
    return m_db && sqlite3_get_autocommit(m_db) == 0;
}

int OrientadorDatabase::acquireStatement(const std::string& sql, sqlite3_stmt*& stmt) const {
    stmt = nullptr;
    const auto it = m_statements.find(sql);
    if (it != m_statements.end() && !it->second.inUse) {
        it->second.inUse = true;
        stmt = it->second.stmt;
        return SQLITE_OK;
    }
    const int rc = sqlite3_prepare_v2(m_db, sql.c_str(), -1, &stmt, nullptr);
    if (rc != SQLITE_OK || it != m_statements.end())
        return rc;
    // A bounded number of texts is kept: the rows of one table vary only in the fields they fill.
    if (m_statements.size() >= 2000) {
        for (auto kept = m_statements.begin(); kept != m_statements.end();) {
            if (kept->second.inUse) {
                ++kept;
                continue;
            }
            sqlite3_finalize(kept->second.stmt);
            kept = m_statements.erase(kept);
        }
    }
    m_statements[sql] = Kept{stmt, true};
    return rc;
}

void OrientadorDatabase::releaseStatement(const std::string& sql, sqlite3_stmt* stmt) const {
    if (!stmt)
        return;
    const auto it = m_statements.find(sql);
    if (it != m_statements.end() && it->second.stmt == stmt) {
        sqlite3_reset(stmt);
        sqlite3_clear_bindings(stmt);
        it->second.inUse = false;
        return;
    }
    sqlite3_finalize(stmt);
}

void OrientadorDatabase::dropStatements() {
    for (auto& [sql, kept] : m_statements)
        sqlite3_finalize(kept.stmt);
    m_statements.clear();
    m_tables.clear();
}

std::shared_ptr<const OrientadorDatabase::TableDefinition>
OrientadorDatabase::tableDefinition(const std::string& name) const {
    const std::string wanted = foldCase(trim(name));
    if (const auto known = m_tables.find(wanted); known != m_tables.end())
        return known->second;
    if (!m_db)
        throw AppError("A conexão com o Orientador - SISCOMEX não está aberta (tabela " + name + ")");
    auto table = std::make_shared<TableDefinition>();
    const auto query = [&](const std::string& sql, const std::string& bound,
                           const std::function<void(sqlite3_stmt*)>& row) {
        sqlite3_stmt* stmt = nullptr;
        int rc = sqlite3_prepare_v2(m_db, sql.c_str(), -1, &stmt, nullptr);
        if (rc != SQLITE_OK)
            fail(rc, "abrir a tabela " + name);
        if (!bound.empty())
            sqlite3_bind_text(stmt, 1, bound.data(), static_cast<int>(bound.size()), SQLITE_TRANSIENT);
        try {
            while ((rc = sqlite3_step(stmt)) == SQLITE_ROW)
                row(stmt);
        } catch (...) {
            sqlite3_finalize(stmt);
            throw;
        }
        sqlite3_finalize(stmt);
        if (rc != SQLITE_DONE)
            fail(rc, "abrir a tabela " + name);
    };
    const auto text = [](sqlite3_stmt* stmt, int column) {
        const auto* p = reinterpret_cast<const char*>(sqlite3_column_text(stmt, column));
        return std::string(p ? p : "");
    };
    query("SELECT name FROM sqlite_master WHERE type = 'table'", "", [&](sqlite3_stmt* stmt) {
        if (table->storedName.empty() && foldCase(text(stmt, 0)) == wanted)
            table->storedName = text(stmt, 0);
    });
    if (table->storedName.empty())
        throw AppError("A tabela " + trim(name) + " não existe no arquivo " + fileName() + " do Orientador - SISCOMEX");
    query("SELECT name, type, dflt_value FROM pragma_table_info(?)", table->storedName, [&](sqlite3_stmt* stmt) {
        table->fields.push_back(OrientadorField::fromDeclaredType(text(stmt, 0), text(stmt, 1)));
        table->columnDefaults = table->columnDefaults || sqlite3_column_type(stmt, 2) != SQLITE_NULL;
    });
    for (std::size_t i = 0; i < table->fields.size(); ++i)
        table->index[foldCase(table->fields[i].name)] = i;
    m_tables[wanted] = table;
    return table;
}

void OrientadorDatabase::disconnect() {
    if (m_openTable)
        m_openTable->close();
    // A transaction not committed is dropped: the unit it held is not in the file.
    rollback();
    dropStatements();
    if (m_db) {
        sqlite3_close_v2(m_db);
        m_db = nullptr;
    }
    m_path.clear();
}

std::string OrientadorDatabase::fileName() const {
    return fileNameOf(m_path);
}

void OrientadorDatabase::setBusyTimeout(int milliseconds) {
    m_busyTimeoutMs = milliseconds;
    if (m_db)
        sqlite3_busy_timeout(m_db, milliseconds);
}

void OrientadorDatabase::fail(int code, const std::string& doing) const {
    const std::string name = fileName();
    switch (code & 0xff) {
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        throw AppError("O arquivo " + name +
                       " está bloqueado por outro programa; o Orientador - SISCOMEX pode estar com ele aberto. "
                       "Feche o Orientador e tente novamente.");
    case SQLITE_READONLY:
        throw AppError("O arquivo " + name + " do Orientador - SISCOMEX não pode ser alterado (somente leitura)");
    case SQLITE_NOTADB:
    case SQLITE_CORRUPT:
        throw AppError("O arquivo " + name + " não é um banco de dados do Orientador - SISCOMEX válido");
    case SQLITE_FULL:
        throw AppError("Não há espaço em disco para gravar no arquivo " + name + " do Orientador - SISCOMEX");
    default:
        break;
    }
    const std::string why = m_db ? sqlite3_errmsg(m_db) : sqlite3_errstr(code);
    throw AppError("Erro ao " + doing + " no arquivo " + name + " do Orientador - SISCOMEX: " + why);
}

void OrientadorDatabase::attach(OrientadorTable* table) {
    if (m_openTable && m_openTable != table)
        throw AppError("Já existe uma tabela do Orientador - SISCOMEX aberta nesta conexão (" +
                       m_openTable->tableName() + ")");
    m_openTable = table;
}

void OrientadorDatabase::detach(OrientadorTable* table) {
    if (m_openTable == table)
        m_openTable = nullptr;
}
