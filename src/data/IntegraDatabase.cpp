#include "data/IntegraDatabase.h"

#include "base/AppError.h"
#include "base/TextUtils.h"
#include "data/EmbeddedFirebird.h"
#include "data/IntegraFileGuard.h"
#include "data/IntegraTruncation.h"
#include "platform/Paths.h"

#include <firebird/Interface.h>

#include <cstdlib>
#include <cstring>

#ifndef _WIN32
#include <sys/stat.h>
#include <unistd.h>
#endif

using namespace Firebird;

namespace {

const char* const kNoLocation = "O endereço do banco de dados Integra não foi informado nas configurações "
                                "(\"Endereço do Servidor (Integrações)\").";

// On SIGINT or SIGTERM the client library would end every connection of the process and leave the
// window running on connections that are gone. The programs take those signals themselves and end
// cleanly (TerminationSignals); should one reach the library anyway, its reaction is declined.
int declineShutdownOnSignal(const int reason, const int, void*) {
    return reason == fb_shutrsn_signal ? 1 : 0;
}

// Shuts the client (and an embedded engine) down cleanly when the program ends.
struct ClientLibrary {
    IMaster* master = nullptr;
    IProvider* dispatcher = nullptr;
    IUtil* util = nullptr;

    ClientLibrary() {
        // Before the library reads its configuration for the first time.
        EmbeddedFirebird::prepare();
        master = fb_get_master_interface();
        dispatcher = master->getDispatcher();
        util = master->getUtilInterface();
        ISC_STATUS_ARRAY status{};
        fb_shutdown_callback(status, declineShutdownOnSignal, fb_shut_confirmation, nullptr);
    }
    ~ClientLibrary() {
        CheckStatusWrapper status(master->getStatus());
        dispatcher->shutdown(&status, 0, fb_shutrsn_app_stopped);
        status.dispose();
        dispatcher->release();
    }
};

ClientLibrary& client() {
    static ClientLibrary library;
    return library;
}

// A status object of the client library for one call sequence; the wrapper throws FbException.
struct Status {
    ThrowStatusWrapper w{client().master->getStatus()};
    ~Status() { w.dispose(); }
};

// Calls that only clean up after a failure must not throw again.
struct QuietStatus {
    CheckStatusWrapper w{client().master->getStatus()};
    ~QuietStatus() { w.dispose(); }
    bool failed() const { return (w.getState() & IStatus::STATE_ERRORS) != 0; }
};

bool hasCode(const IStatus* status, ISC_STATUS code) {
    const intptr_t* v = status->getErrors();
    while (v && *v != isc_arg_end) {
        if (v[0] == isc_arg_gds && v[1] == code)
            return true;
        v += (v[0] == isc_arg_cstring) ? 3 : 2;
    }
    return false;
}

// The column limit of a "string right truncation", when the failure is one.
std::optional<int> truncationLimit(const IStatus* status) {
    if (!hasCode(status, isc_string_truncation))
        return std::nullopt;
    const intptr_t* v = status->getErrors();
    while (v && *v != isc_arg_end) {
        if (v[0] == isc_arg_gds && v[1] == isc_trunc_limits && v[2] == isc_arg_number)
            return static_cast<int>(v[3]);
        v += (v[0] == isc_arg_cstring) ? 3 : 2;
    }
    return std::nullopt;
}

// The client's message on one line: its parts come as "first\n-second\n-third".
std::string statusText(IStatus* status) {
    char buffer[4096];
    client().util->formatStatus(buffer, sizeof buffer, status);
    std::string text = buffer;
    text = replaceAll(text, "\n-", " - ");
    text = replaceAll(text, "\n", " ");
    return trim(text);
}

std::string connectFailure(const std::string& location, bool server, IStatus* status) {
    const std::string where = "\"" + location + "\"";
    if (hasCode(status, isc_already_opened))
        return "O banco de dados Integra " + where +
               " está em uso por outro programa. Esse programa o abriu só para si (um servidor Firebird ou "
               "um programa que não o compartilha); feche-o, ou indique o banco pelo servidor "
               "(servidor:/caminho).";
    if (hasCode(status, isc_login))
        return std::string("O servidor do banco de dados Integra recusou o usuário ") + IntegraDatabase::UserName +
               " e sua senha (" + location + ").";
    if (server && (hasCode(status, isc_network_error) || hasCode(status, isc_net_connect_err)))
        return "Não foi possível conectar ao servidor do banco de dados Integra " + where + ": " + statusText(status);
    if (hasCode(status, isc_bad_db_format))
        return "O arquivo " + where + " não é um banco de dados Integra (Firebird).";
    return "Não foi possível abrir o banco de dados Integra " + where + ": " + statusText(status);
}

// Attachment parameters: user, password, dialect 3, UTF8 texts, and which provider may take the
// location. A local path goes to the embedded engine only; otherwise a file held by this machine's
// engine would be retried through a server on the default port and the message would blame that.
class Dpb {
public:
    Dpb(Status& status, bool server, bool creating, bool forcedWrites = true) {
        m_builder = client().util->getXpbBuilder(&status.w, IXpbBuilder::DPB, nullptr, 0);
        m_builder->insertString(&status.w, isc_dpb_user_name, IntegraDatabase::UserName);
        m_builder->insertString(&status.w, isc_dpb_password, IntegraDatabase::Password);
        m_builder->insertInt(&status.w, isc_dpb_sql_dialect, 3);
        m_builder->insertString(&status.w, isc_dpb_lc_ctype, "UTF8");
        m_builder->insertString(&status.w, isc_dpb_config, server ? "Providers=Remote" : "Providers=Engine12");
        if (creating) {
            m_builder->insertString(&status.w, isc_dpb_set_db_charset, "UTF8");
            m_builder->insertInt(&status.w, isc_dpb_page_size, 8192);
            m_builder->insertInt(&status.w, isc_dpb_force_write, forcedWrites ? 1 : 0);
        }
        m_length = m_builder->getBufferLength(&status.w);
        m_buffer = m_builder->getBuffer(&status.w);
    }
    ~Dpb() { m_builder->dispose(); }
    Dpb(const Dpb&) = delete;
    Dpb& operator=(const Dpb&) = delete;

    unsigned length() const { return m_length; }
    const unsigned char* buffer() const { return m_buffer; }

private:
    IXpbBuilder* m_builder = nullptr;
    unsigned m_length = 0;
    const unsigned char* m_buffer = nullptr;
};

// Each statement in its own transaction: read committed, newest committed version, wait on locks.
const unsigned char kTpb[] = {isc_tpb_version3, isc_tpb_write, isc_tpb_read_committed, isc_tpb_rec_version,
                              isc_tpb_wait};

bool isQueryType(unsigned type) {
    return type == isc_info_sql_stmt_select || type == isc_info_sql_stmt_select_for_upd;
}

// Output layout where every column arrives as text (the engine converts numbers and dates); blobs
// stay blobs and are read segment by segment.
IMessageMetadata* textLayout(Status& status, IMessageMetadata* described) {
    IMetadataBuilder* builder = described->getBuilder(&status.w);
    const unsigned count = described->getCount(&status.w);
    for (unsigned i = 0; i < count; ++i) {
        const unsigned type = described->getType(&status.w, i) & ~1u;
        if (type == SQL_BLOB)
            continue;
        const bool text = type == SQL_TEXT || type == SQL_VARYING;
        builder->setType(&status.w, i, SQL_VARYING);
        builder->setLength(&status.w, i, text ? described->getLength(&status.w, i) : 64);
        builder->setScale(&status.w, i, 0);
    }
    IMessageMetadata* layout = builder->getMetadata(&status.w);
    builder->release();
    return layout;
}

std::string readBlob(Status& status, IAttachment* attachment, ITransaction* transaction, ISC_QUAD id) {
    IBlob* blob = attachment->openBlob(&status.w, transaction, &id, 0, nullptr);
    std::string text;
    char segment[8192];
    for (;;) {
        unsigned got = 0;
        const int result = blob->getSegment(&status.w, sizeof segment, segment, &got);
        if (result != IStatus::RESULT_OK && result != IStatus::RESULT_SEGMENT)
            break;
        text.append(segment, got);
    }
    blob->close(&status.w);
    return text;
}

IntegraRow readRow(Status& status, IAttachment* attachment, ITransaction* transaction, IMessageMetadata* layout,
                   const unsigned char* message) {
    const unsigned count = layout->getCount(&status.w);
    IntegraRow row(count);
    for (unsigned i = 0; i < count; ++i) {
        short isNull = 0;
        std::memcpy(&isNull, message + layout->getNullOffset(&status.w, i), sizeof isNull);
        if (isNull)
            continue;
        const unsigned char* data = message + layout->getOffset(&status.w, i);
        if ((layout->getType(&status.w, i) & ~1u) == SQL_BLOB) {
            ISC_QUAD id;
            std::memcpy(&id, data, sizeof id);
            row[i] = readBlob(status, attachment, transaction, id);
        } else {
            ISC_USHORT length = 0;
            std::memcpy(&length, data, sizeof length);
            row[i] = std::string(reinterpret_cast<const char*>(data) + sizeof length, length);
        }
    }
    return row;
}

} // namespace

struct IntegraDatabase::Impl {
    IAttachment* attachment = nullptr;
    IntegraFileGuard guard;

    // After a failed statement: a connection that no longer answers is dropped, so the next
    // statement attaches again instead of failing forever.
    void dropIfDead() {
        if (!attachment)
            return;
        QuietStatus status;
        attachment->ping(&status.w);
        if (status.failed()) {
            attachment->release();
            attachment = nullptr;
            guard.release();
        }
    }
};

IntegraDatabase::IntegraDatabase() : m_impl(std::make_unique<Impl>()) {}

IntegraDatabase::~IntegraDatabase() {
    try {
        disconnect();
    } catch (...) {
        // The program is leaving; a connection that cannot be closed cleanly is let go.
    }
}

void IntegraDatabase::setDatabase(const std::string& location) {
    if (location == m_location)
        return;
    disconnect();
    m_location = location;
}

bool IntegraDatabase::connected() const {
    return m_impl->attachment != nullptr;
}

void IntegraDatabase::connect() {
    if (m_impl->attachment)
        return;
    if (trim(m_location).empty())
        throw AppError(kNoLocation);
    const bool server = isServerPath(m_location);
    if (!server && !fileExists(m_location))
        throw AppError("O banco de dados Integra \"" + m_location + "\" não foi encontrado.");
    client();
    if (!server) {
        const EmbeddedFirebird::Setup& engine = EmbeddedFirebird::prepare();
        if (!engine.failure.empty())
            throw AppError("Não foi possível abrir o banco de dados Integra \"" + m_location + "\": " + engine.failure);
        m_impl->guard.acquire(m_location, engine.lockFolder, m_location);
    }
    Status status;
    try {
        Dpb dpb(status, server, false);
        m_impl->attachment =
            client().dispatcher->attachDatabase(&status.w, m_location.c_str(), dpb.length(), dpb.buffer());
    } catch (const FbException& e) {
        m_impl->guard.release();
        throw AppError(connectFailure(m_location, server, e.getStatus()));
    }
}

void IntegraDatabase::disconnect() {
    if (!m_impl->attachment)
        return;
    QuietStatus status;
    m_impl->attachment->detach(&status.w);
    if (status.failed())
        m_impl->attachment->release();
    m_impl->attachment = nullptr;
    // After the detach: the engine has let go of the file before another lock folder may take it.
    m_impl->guard.release();
}

IntegraResult IntegraDatabase::query(const std::string& sql) {
    connect();
    ++m_statementCount;
    IAttachment* attachment = m_impl->attachment;
    IntegraResult result;
    Status status;
    ITransaction* transaction = nullptr;
    IStatement* statement = nullptr;
    IResultSet* cursor = nullptr;
    IMessageMetadata* described = nullptr;
    IMessageMetadata* layout = nullptr;
    try {
        transaction = attachment->startTransaction(&status.w, sizeof kTpb, kTpb);
        statement = attachment->prepare(&status.w, transaction, static_cast<unsigned>(sql.size()), sql.data(), 3,
                                        IStatement::PREPARE_PREFETCH_METADATA);
        described = statement->getOutputMetadata(&status.w);
        const unsigned count = described->getCount(&status.w);
        if (count > 0) {
            layout = textLayout(status, described);
            for (unsigned i = 0; i < count; ++i)
                result.columns.push_back(described->getAlias(&status.w, i));
        }
        std::vector<unsigned char> message(layout ? layout->getMessageLength(&status.w) : 0);
        if (isQueryType(statement->getType(&status.w))) {
            cursor = statement->openCursor(&status.w, transaction, nullptr, nullptr, layout, 0);
            while (cursor->fetchNext(&status.w, message.data()) == IStatus::RESULT_OK)
                result.rows.push_back(readRow(status, attachment, transaction, layout, message.data()));
            cursor->close(&status.w);
            cursor = nullptr;
        } else {
            statement->execute(&status.w, transaction, nullptr, nullptr, layout, layout ? message.data() : nullptr);
            if (layout)
                result.rows.push_back(readRow(status, attachment, transaction, layout, message.data()));
            result.affected = statement->getAffectedRecords(&status.w);
        }
        statement->free(&status.w);
        statement = nullptr;
        transaction->commit(&status.w);
        transaction = nullptr;
    } catch (...) {
        std::string text = "Falha inesperada ao executar o comando no banco de dados Integra.";
        std::optional<int> truncated;
        try {
            throw;
        } catch (const FbException& e) {
            text = statusText(e.getStatus());
            truncated = truncationLimit(e.getStatus());
        } catch (const std::exception& e) {
            text = e.what();
        }
        if (cursor)
            cursor->release();
        if (statement)
            statement->release();
        if (transaction) {
            QuietStatus quiet;
            transaction->rollback(&quiet.w);
            if (quiet.failed())
                transaction->release();
        }
        if (layout)
            layout->release();
        if (described)
            described->release();
        m_impl->dropIfDead();
        if (truncated)
            text = truncationMessage(sql, *truncated);
        throw AppError(text);
    }
    if (layout)
        layout->release();
    if (described)
        described->release();
    return result;
}

std::string IntegraDatabase::truncationMessage(const std::string& sql, int limit) {
    std::vector<IntegraTruncation::Column> columns;
    const auto write = IntegraTruncation::parse(sql);
    if (write && m_impl->attachment) {
        // Looking up the columns is not one of the program's statements.
        const auto count = m_statementCount;
        try {
            for (const IntegraRow& row : query(IntegraTruncation::columnsSql(write->table)).rows)
                columns.push_back({row.at(0).value_or(""), std::atoi(row.at(1).value_or("0").c_str())});
        } catch (const AppError&) {
            // The message is then less precise, never lost.
        }
        m_statementCount = count;
    }
    return IntegraTruncation::message(sql, limit, columns);
}

std::uint64_t IntegraDatabase::execute(const std::string& sql) {
    return query(sql).affected;
}

std::string IntegraDatabase::quote(const std::string& value) {
    if (value.find('\0') != std::string::npos)
        throw AppError("Texto com caractere nulo não pode ser gravado no banco de dados Integra.");
    std::string literal = "'";
    for (char c : value) {
        if (c == '\'')
            literal += '\'';
        literal += c;
    }
    literal += '\'';
    return literal;
}

bool IntegraDatabase::isServerPath(const std::string& location) {
    // "host:/path" and "host/port:/path"; a drive letter ("C:\...") and paths that merely hold a
    // colon further on ("/data/a:b.fdb", "./x:y") are files of this machine.
    const auto colon = location.find(':');
    if (colon == std::string::npos || colon < 2)
        return false;
    const char first = location.front();
    return first != '/' && first != '.' && first != '~' && first != '\\';
}

void IntegraDatabase::create(const std::string& location, const std::string& schemaSql, bool forcedWrites) {
    if (trim(location).empty())
        throw AppError("Informe o arquivo do novo banco de dados Integra.");
    const bool server = isServerPath(location);
    if (!server) {
        struct stat st {};
        if (::stat(location.c_str(), &st) == 0)
            throw AppError("O arquivo \"" + location + "\" já existe; o banco de dados Integra não foi criado.");
        const std::string folder = folderOf(location);
        if (!folder.empty() && !folderExists(folder))
            throw AppError("A pasta \"" + folder + "\" não existe; o banco de dados Integra não foi criado.");
    }
    const std::vector<std::string> statements = splitScript(schemaSql);
    if (statements.empty())
        throw AppError("O roteiro do banco de dados Integra não tem comandos.");

    Status status;
    IAttachment* attachment = nullptr;
    try {
        Dpb dpb(status, server, true, forcedWrites);
        attachment = client().dispatcher->createDatabase(&status.w, location.c_str(), dpb.length(), dpb.buffer());
    } catch (const FbException& e) {
        throw AppError("Não foi possível criar o banco de dados Integra \"" + location +
                       "\": " + statusText(e.getStatus()));
    }
    std::string current;
    try {
        for (const std::string& sql : statements) {
            current = sql;
            ITransaction* transaction = attachment->startTransaction(&status.w, sizeof kTpb, kTpb);
            try {
                attachment->execute(&status.w, transaction, static_cast<unsigned>(sql.size()), sql.data(), 3, nullptr,
                                    nullptr, nullptr, nullptr);
                transaction->commit(&status.w);
            } catch (...) {
                QuietStatus quiet;
                transaction->rollback(&quiet.w);
                if (quiet.failed())
                    transaction->release();
                throw;
            }
        }
        attachment->detach(&status.w);
    } catch (const FbException& e) {
        const std::string text = statusText(e.getStatus());
        // A half-made database is worse than none: the next try would find the file and refuse.
        QuietStatus quiet;
        attachment->dropDatabase(&quiet.w);
        if (quiet.failed())
            attachment->release();
        throw AppError("Não foi possível criar as tabelas do banco de dados Integra \"" + location + "\": " + text +
                       " (comando: " + current + ")");
    }
}

std::vector<std::string> IntegraDatabase::splitScript(const std::string& script) {
    std::vector<std::string> statements;
    std::string current;
    auto finish = [&] {
        const std::string s = trim(current);
        if (!s.empty())
            statements.push_back(s);
        current.clear();
    };
    for (size_t i = 0; i < script.size(); ++i) {
        const char c = script[i];
        if (c == '\'' || c == '"') {
            const size_t end = script.find(c, i + 1);
            const size_t stop = end == std::string::npos ? script.size() : end + 1;
            current.append(script, i, stop - i);
            i = stop - 1;
            // A doubled quote continues the same literal.
            continue;
        }
        if (c == '-' && i + 1 < script.size() && script[i + 1] == '-') {
            const size_t end = script.find('\n', i);
            i = end == std::string::npos ? script.size() : end;
            current += '\n';
            continue;
        }
        if (c == '/' && i + 1 < script.size() && script[i + 1] == '*') {
            const size_t end = script.find("*/", i + 2);
            i = end == std::string::npos ? script.size() : end + 1;
            current += ' ';
            continue;
        }
        if (c == ';') {
            finish();
            continue;
        }
        current += c;
    }
    finish();
    return statements;
}
