#include "integra/MappingTranslator.h"

#include "base/AppContext.h"
#include "base/AppError.h"
#include "base/Operator.h"
#include "base/TextUtils.h"

MappingTranslator::MappingTranslator(AppContext& ctx, std::string customer)
    : m_ctx(ctx), m_mapping(ctx), m_customer(std::move(customer)) {}

std::string MappingTranslator::merlinCode(std::string_view registry, const std::string& customerCode) {
    const std::string table(registry);
    const std::string code = trim(customerCode);
    // The mapping compares codes in capitals, so "ab12" and "AB12" are one code.
    const std::string key = table + "\n" + upperAscii(code);
    if (const auto it = m_known.find(key); it != m_known.end())
        return it->second;
    for (;;) {
        if (auto merlin = m_mapping.find(m_customer, table, code))
            return m_known[key] = *merlin;
        if (!m_ctx.op.codeMappingPrompt(m_customer, table, code)) {
            m_missing.emplace_back(table, code);
            return m_known[key] = std::string();
        }
    }
}

void MappingTranslator::requireAll() const {
    if (m_missing.empty())
        return;
    std::string text =
        "Há código(s) do cliente " + m_customer + " sem vínculo com um código Merlin (Vínculos - Tabela De / Para):";
    for (const auto& [table, code] : m_missing)
        text += "\r" + table + " " + (code.empty() ? std::string("(vazio)") : code);
    throw AppError(text);
}
