#include "data/IntegraReindex.h"

#include "base/AppContext.h"
#include "base/AppError.h"
#include "base/Logs.h"
#include "base/Operator.h"
#include "base/TextUtils.h"
#include "data/TDM.h"

namespace IntegraReindex {

const std::vector<std::string>& tableOrder() {
    static const std::vector<std::string> order = {"EXPORTADOR", "FABRICANTE", "GERADOS", "PAIS", "UNIDADE", "VINCULO"};
    return order;
}

bool run(AppContext& ctx) {
    const auto& tables = tableOrder();
    const int total = static_cast<int>(tables.size());
    try {
        ctx.op.progressOpen(0, total, ProgressTitle);
        for (int i = 0; i < total; ++i) {
            const std::string& table = tables[static_cast<size_t>(i)];
            ctx.op.progressStep(i + 1, total, StepPrefix + table, true);
            IntegraTable* statement = ctx.dm.integraTable(table);
            if (!statement)
                throw AppError("Tabela " + table + " desconhecida.");
            const std::string index = trim(table);
            statement->execute("ALTER INDEX " + index + " INACTIVE");
            statement->execute("ALTER INDEX " + index + " ACTIVE");
        }
        ctx.op.progressClose();
        ctx.op.message(SuccessMessage, Caption, MessageIcon::Information);
        return true;
    } catch (const std::exception& e) {
        const std::string failure = e.what();
        ctx.logs.error(LogProcedure, failure);
        ctx.op.balloon(std::string(BalloonHead) + "\r\r" + failure + "\r\r" + BalloonTail);
        if (ctx.op.progressIsOpen())
            ctx.op.progressClose();
        return false;
    }
}

} // namespace IntegraReindex
