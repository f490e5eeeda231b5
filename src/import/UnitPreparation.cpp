#include "import/UnitPreparation.h"

#include "base/AppContext.h"
#include "base/AppError.h"
#include "base/TextUtils.h"
#include "data/OrientadorDatabase.h"
#include "data/OrientadorTable.h"
#include "data/TDM.h"
#include "data/TablePreparation.h"
#include "data/TransferProgress.h"

namespace {

// The micro numbers of the unit's earlier transfers, read from its head rows before the preparation
// removes them.
std::vector<std::string> earlierMicroNumbers(AppContext& ctx, const UnitPreparation& p, const std::string& id) {
    openPreparationTable(ctx, p.baseName, p.headTable);
    // The head rows the preparation is about to remove: those it finds by the identifier.
    std::vector<std::string> micros;
    for (const std::string& micro : ctx.dm.ADOTbl_IMPORT.columnTextsWhere(p.keyField, p.identField, trim(id)))
        if (!trim(micro).empty())
            micros.push_back(trim(micro));
    return micros;
}

void removeRowsOf(OrientadorTable& tbl, const UnitPreparation& p, const std::vector<std::string>& micros,
                  const std::string& micro) {
    for (const std::string& old : micros) {
        if (equalsNoCase(old, micro))
            continue;
        for (const char* table : p.tables) {
            tbl.close();
            tbl.setTableName(table);
            tbl.open();
            while (tbl.locate(p.keyField, old, true))
                tbl.deleteRecord();
        }
    }
}

} // namespace

std::string prepareUnit(AppContext& ctx, TransferProgress& progress, const UnitPreparation& p, const std::string& id) {
    if (!p.numbered()) {
        for (const char* table : p.tables)
            VERIFICATABELA(ctx, progress, p.baseName, table, p.keyField, static_cast<int>(p.tables.size()), id);
        return trim(id);
    }
    // The head rows are looked up first: VERIFICATABELANUMERO removes them. A blank identifier would
    // find every head row without one.
    if (trim(id).empty())
        throw AppError(std::string("A chave ") + p.identField + " está em branco: nenhuma linha da tabela " +
                       p.headTable + " foi excluída");
    const std::vector<std::string> earlier = earlierMicroNumbers(ctx, p, id);
    const std::string micro =
        VERIFICATABELANUMERO(ctx, progress, p.baseName, p.headTable, p.identField, p.keyField, id);
    // The numbers these calls would hand out are not used: the tables are only cleared of the new
    // number, each a step against the preparation's count.
    for (const char* table : p.tables)
        VERIFICATABELA(ctx, progress, p.baseName, table, p.keyField, progress.steps, micro);
    removeRowsOf(ctx.dm.ADOTbl_IMPORT, p, earlier, micro);
    return micro;
}
