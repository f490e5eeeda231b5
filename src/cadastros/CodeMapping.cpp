#include "cadastros/CodeMapping.h"

#include "base/AppContext.h"
#include "base/AppError.h"
#include "base/Logs.h"
#include "base/Operator.h"
#include "base/TextUtils.h"
#include "cadastros/Registry.h"
#include "data/TDM.h"

namespace {

std::string q(const std::string& value) {
    return IntegraDatabase::quote(value);
}

} // namespace

CodeMapping::CodeMapping(AppContext& ctx) : m_ctx(ctx), m_table(ctx.dm.sqlDsVinculo) {}

std::string CodeMapping::lookupSql(const std::string& customer, const std::string& registry,
                                   const std::string& customerCode) {
    return "SELECT * FROM VINCULO WHERE COD_CLIENTE = " + q(upperAscii(customer)) +
           " AND TABELA = " + q(upperAscii(registry)) + " AND COD_INTEGR = " + q(upperAscii(customerCode));
}

std::string CodeMapping::insertSql(const std::string& customer, const std::string& registry,
                                   const std::string& customerCode, const std::string& merlinCode) {
    return "INSERT INTO VINCULO VALUES (" + q(upperAscii(trim(customer))) + ", " + q(upperAscii(trim(registry))) +
           ", " + q(upperAscii(trim(customerCode))) + ", " + q(upperAscii(trim(merlinCode))) + ")";
}

std::optional<std::string> CodeMapping::find(const std::string& customer, const std::string& registry,
                                             const std::string& customerCode) {
    RecordSet& rows = m_table.query(lookupSql(trim(customer), trim(registry), trim(customerCode)));
    if (rows.isEmpty())
        return std::nullopt;
    std::string merlin = rows.text("COD_MERLIN");
    m_table.close();
    return merlin;
}

std::string CodeMapping::lookup(const std::string& customer, const std::string& registry,
                                const std::string& customerCode) {
    const std::string c = trim(customer), r = trim(registry), k = trim(customerCode);
    for (;;) {
        if (auto merlin = find(c, r, k))
            return *merlin;
        // The window opens on a new row with the three values as given (trimmed, not upper-cased)
        // and is shown again until a mapping for this code exists.
        if (!m_ctx.op.codeMappingPrompt(c, r, k))
            throw AppError("O código " + k + " do cliente " + c + " não tem vínculo com um código Merlin na tabela " +
                           r + " (Vínculos - Tabela De / Para).");
    }
}

bool CodeMapping::save(const std::string& customer, const std::string& registry, const std::string& customerCode,
                       const std::string& merlinCode) {
    if (trim(merlinCode).empty())
        return false;
    try {
        m_table.execute(insertSql(customer, registry, customerCode, merlinCode));
    } catch (const std::exception& e) {
        m_ctx.logs.reportFailure(FailureHeadline, e.what(), SaveProcedure, SaveProcedure);
        return false;
    }
    return true;
}

std::vector<std::string> CodeMapping::registryItems() {
    std::vector<std::string> items;
    for (const Registry* r : Registry::all())
        items.push_back(r->name);
    return items;
}

int CodeMapping::registryItemIndex(const std::string& registry) {
    const std::vector<std::string> items = registryItems();
    for (size_t i = 0; i < items.size(); ++i)
        if (upperAscii(items[i]) == upperAscii(registry))
            return static_cast<int>(i);
    return -1;
}
