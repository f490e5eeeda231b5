#include "integra/MappingTranslator.h"

#include "base/AppContext.h"
#include "base/AppError.h"
#include "base/Operator.h"
#include "base/TextUtils.h"

#include <algorithm>

MappingTranslator::MappingTranslator(AppContext& ctx, std::string customer)
    : m_ctx(ctx), m_mapping(ctx), m_customer(std::move(customer)) {}

std::string MappingTranslator::merlinCode(std::string_view registry, std::string_view customerCode) {
    m_key.assign(registry).append("\n").append(customerCode);
    if (const auto it = m_known.find(std::string_view(m_key)); it != m_known.end())
        return it->second;
    const std::string table(registry);
    const std::string code = trim(std::string(customerCode));
    std::string& known = m_known[m_key];
    // The mapping compares codes in capitals: "ab12" and "AB12" are looked up alike.
    for (;;) {
        if (auto merlin = m_mapping.find(m_customer, table, code))
            return known = *merlin;
        if (!m_ctx.op.codeMappingPrompt(m_customer, table, code)) {
            // Noted once per code in capitals, as the mapping window would store it.
            const bool noted = std::any_of(m_missing.begin(), m_missing.end(), [&](const auto& m) {
                return m.first == table && upperAscii(m.second) == upperAscii(code);
            });
            if (!noted)
                m_missing.emplace_back(table, code);
            return known = std::string();
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
