#include "cadastros/RegistryOperations.h"

#include "base/AppContext.h"
#include "base/AppError.h"
#include "base/Logs.h"
#include "base/Operator.h"
#include "base/TextUtils.h"
#include "data/TDM.h"

#include <limits>

namespace {

IntegraTable& tableOf(AppContext& ctx, const Registry& registry) {
    IntegraTable* table = ctx.dm.integraTable(registry.table);
    if (!table)
        throw AppError("Tabela " + registry.table + " desconhecida.");
    return *table;
}

std::string q(const std::string& value) {
    return IntegraDatabase::quote(value);
}

} // namespace

RegistryOperations::RegistryOperations(AppContext& ctx, const Registry& registry)
    : m_ctx(ctx), m_registry(registry), m_table(tableOf(ctx, registry)) {}

RecordSet& RegistryOperations::rows() {
    return m_table.rows();
}

std::string RegistryOperations::selectByCodeSql(const std::string& code) const {
    return "SELECT * FROM " + m_registry.table + " WHERE " + m_registry.codeColumn + " = " + q(code);
}

std::string RegistryOperations::insertSql(const std::string& code, const std::string& description) const {
    return "INSERT INTO " + m_registry.table + " VALUES (" + q(code) + ", " + q(description) + ")";
}

std::string RegistryOperations::updateSql(const std::string& code, const std::string& description,
                                          const std::optional<std::string>& rowCode) const {
    return "UPDATE " + m_registry.table + " SET " + m_registry.codeColumn + " = " + q(code) + ", " +
           "DESCRICAO = " + q(description) + " WHERE " + m_registry.codeColumn + " = " +
           q(rowCode.value_or(trim(code)));
}

std::string RegistryOperations::deleteSql(const std::string& code) const {
    return "DELETE FROM " + m_registry.table + " WHERE " + m_registry.codeColumn + " = " + q(code);
}

std::string RegistryOperations::numericCodesSql() const {
    // ":" follows "9": the range holds every text whose first character is 1 to 9, and the index
    // of the code column can serve it.
    return "SELECT " + m_registry.codeColumn + " FROM " + m_registry.table + " WHERE " + m_registry.codeColumn +
           " >= " + q("1") + " AND " + m_registry.codeColumn + " < " + q(":");
}

void RegistryOperations::showAll() {
    m_table.query(m_table.selectAllSql()).last();
}

RegistryOperations::CodeExit RegistryOperations::codeFieldExit(const std::string& codeText, bool newRecordMode) {
    const std::string code = trim(codeText);
    if (code.empty())
        return CodeExit::Nothing;
    if (!m_table.query(selectByCodeSql(code)).isEmpty())
        return CodeExit::Found;
    if (newRecordMode)
        return CodeExit::Insert;
    if (m_ctx.op.askYesNo(m_registry.notFoundQuestion(code), Caption, MessageIcon::Information))
        return CodeExit::Insert;
    return CodeExit::Nothing;
}

std::string RegistryOperations::nextFreeCode() {
    const IntegraResult result = m_table.database().query(numericCodesSql());
    std::vector<std::string> codes;
    codes.reserve(result.rows.size());
    for (const IntegraRow& row : result.rows)
        if (!row.empty() && row[0])
            codes.push_back(*row[0]);
    return firstFreeCode(codes);
}

std::string RegistryOperations::firstFreeCode(const std::vector<std::string>& codes) {
    constexpr long long kLast = 999999999; // the highest code the generator ever proposes
    // Only 1 … codes.size() + 1 can hold the answer: more codes than that cannot all be below it.
    const size_t limit = codes.size() + 1;
    std::vector<bool> taken(limit + 1, false);
    for (const std::string& code : codes) {
        size_t end = code.size();
        while (end > 0 && code[end - 1] == ' ')
            --end;
        if (end == 0 || end > 9 || code[0] < '1' || code[0] > '9')
            continue;
        long long n = 0;
        bool digits = true;
        for (size_t i = 0; i < end && digits; ++i) {
            digits = code[i] >= '0' && code[i] <= '9';
            n = n * 10 + (code[i] - '0');
        }
        if (digits && n <= static_cast<long long>(limit))
            taken[static_cast<size_t>(n)] = true;
    }
    // codes.size() codes cannot fill all of 1 … limit, so a free number is found by then.
    size_t n = 1;
    while (taken[n])
        ++n;
    return std::to_string(static_cast<long long>(n) > kLast ? kLast : static_cast<long long>(n));
}

std::string RegistryOperations::savedStatus(const std::string& code, const std::string& description) {
    return "Registro " + code + " - " + description + " gravado com êxito!";
}

std::string RegistryOperations::deletedStatus(const std::string& code, const std::string& description) {
    return "Registro " + code + " - " + description + " excluído com êxito.";
}

RegistryOperations::SaveOutcome RegistryOperations::save(RegistryEditState state, const std::string& code,
                                                         const std::string& description) {
    SaveOutcome outcome;
    if (state == RegistryEditState::Browse)
        return outcome;
    if (trim(code).empty()) {
        m_ctx.op.message(CodeRequired, Caption, MessageIcon::Error);
        outcome.focus = SaveOutcome::Focus::Code;
        return outcome;
    }
    if (trim(description).empty()) {
        m_ctx.op.message(m_registry.emptyDescriptionMessage, Caption, MessageIcon::Error);
        outcome.focus = SaveOutcome::Focus::Description;
        return outcome;
    }
    try {
        if (state == RegistryEditState::Edit) {
            // An update that finds no row (the code was changed over a shown row, or another
            // workstation deleted it) saved nothing and must not be reported as saved.
            if (m_table.execute(updateSql(code, description)) == 0)
                throw AppError("Nenhum registro com o código " + trim(code) + " foi encontrado; nada foi gravado.");
        } else {
            m_table.execute(insertSql(code, description));
        }
        m_table.query(selectByCodeSql(trim(code)));
    } catch (const std::exception& e) {
        m_ctx.logs.reportFailure(FailureHeadline, e.what(), saveProcedure(), saveProcedure());
        return outcome;
    }
    outcome.saved = true;
    outcome.status = savedStatus(trim(code), trim(description));
    return outcome;
}

RegistryOperations::DeleteOutcome RegistryOperations::remove(const std::string& codeFieldText,
                                                             const std::string& rowCode,
                                                             const std::string& rowDescription) {
    DeleteOutcome outcome;
    const std::string code = trim(codeFieldText);
    if (code.empty())
        return outcome;
    if (!m_ctx.op.askYesNo(m_registry.deleteQuestion(trim(rowCode), trim(rowDescription)), Caption,
                           MessageIcon::Warning))
        return outcome;
    try {
        m_table.execute(deleteSql(code));
        outcome.deleted = true;
        outcome.status = deletedStatus(code, trim(rowDescription));
        showAll();
    } catch (const std::exception& e) {
        m_ctx.logs.reportFailure(FailureHeadline, e.what(), deleteProcedure(), deleteProcedure());
    }
    return outcome;
}
