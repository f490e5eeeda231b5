#include "import/GRAVACAMPO.h"

#include "base/AppContext.h"
#include "base/Logs.h"
#include "base/Operator.h"
#include "base/TextUtils.h"
#include "data/OrientadorTable.h"
#include "data/TDM.h"
#include "data/TransferProgress.h"
#include "import/FieldSources.h"

#include <exception>

namespace {

const char* const FailureProcedure = "Importando Dados para o SISCOMEX";

bool isNumeric(OrientadorFieldType type) {
    return type == OrientadorFieldType::Floating || type == OrientadorFieldType::Currency ||
           type == OrientadorFieldType::Integer;
}

} // namespace

void GRAVACAMPO(AppContext& ctx, TransferProgress& progress, const FieldSources& sources, const std::string& source,
                const std::string& targetField, bool fromRecordSet, int sourceIndex) {
    OrientadorTable& table = ctx.dm.ADOTbl_IMPORT;
    try {
        if (fromRecordSet) {
            const std::string value = sources.at(sourceIndex).text(source);
            // Merlin writes decimals with "."; the Orientador's notation is ",". Every value gets it,
            // text fields included. Setting the text converts it for a numeric field.
            if (!value.empty())
                table.setText(targetField, replaceAll(value, ".", ","));
        } else {
            const std::string literal = trim(source);
            if (!literal.empty()) {
                // A literal "0" leaves a numeric field as it was (normally empty).
                if (!(isNumeric(table.fieldType(targetField)) && literal == "0"))
                    table.setText(targetField, literal);
            }
        }
        ++progress.counter;
    } catch (const std::exception& e) {
        reportFieldFailure(ctx, progress, targetField, e.what());
    }
}

void reportFieldFailure(AppContext& ctx, TransferProgress& progress, const std::string& targetField,
                        const std::string& failure) {
    ++progress.fieldErrors;
    ctx.op.message(std::string(TransferFailureHeadline) + "\rTabela: " + upperText(ctx.dm.ADOTbl_IMPORT.tableName()) +
                       " / Campo: " + upperText(targetField) + "\r" + "ERRO: " + failure,
                   "Pelomira", MessageIcon::Error);
    ctx.logs.error(FailureProcedure, failure);
}
