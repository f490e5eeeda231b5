#include "import/GRAVACAMPONORVIK.h"

#include "base/AppContext.h"
#include "base/AppError.h"
#include "base/Logs.h"
#include "base/Operator.h"
#include "base/TextUtils.h"
#include "data/DbfTable.h"
#include "data/TransferProgress.h"
#include "import/FieldSources.h"
#include "import/GRAVACAMPO.h"

#include <exception>

namespace {

const char* const FailureProcedure = "Importando Dados para o NORVIK";
// The licence set belongs to the Orientador's LI transfers.
constexpr int LastNorvikSource = 4;

} // namespace

void GRAVACAMPONORVIK(AppContext& ctx, TransferProgress& progress, const FieldSources& sources, DbfTable& table,
                      const std::string& source, const std::string& targetField, int sourceIndex, bool fromRecordSet) {
    try {
        if (fromRecordSet) {
            if (sourceIndex < 0 || sourceIndex > LastNorvikSource)
                throw AppError("Não há conjunto de registros de origem com o índice " + std::to_string(sourceIndex));
            const std::string value = sources.at(sourceIndex).text(source);
            if (!value.empty())
                table.setText(targetField, value);
        } else if (!trim(source).empty()) {
            table.setText(targetField, source);
        }
        ++progress.counter;
    } catch (const std::exception& e) {
        reportNorvikFieldFailure(ctx, progress, table, targetField, e.what());
    }
}

void reportNorvikFieldFailure(AppContext& ctx, TransferProgress& progress, const DbfTable& table,
                              const std::string& targetField, const std::string& failure) {
    ++progress.fieldErrors;
    ctx.op.message(std::string(TransferFailureHeadline) + "\rTabela: " + upperText(table.fileName()) +
                       " / Campo: " + upperText(targetField) + "\r" + "ERRO: " + failure,
                   "Pelomira", MessageIcon::Error);
    ctx.logs.error(FailureProcedure, failure);
}
