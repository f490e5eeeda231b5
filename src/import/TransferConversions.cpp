#include "import/TransferConversions.h"

#include "base/AppError.h"
#include "base/TextUtils.h"
#include "data/RecordSet.h"

std::optional<bool> simNaoFlag(const std::string& value) {
    if (value == "SIM")
        return true;
    if (value == "NAO")
        return false;
    return std::nullopt;
}

std::string restoreLineBreaks(const std::string& text) {
    return replaceAll(text, "|", "\r\n");
}

std::string quotedLiteral(const std::string& value) {
    return "'" + replaceAll(value, "'", "''") + "'";
}

bool occursIn(const std::string& value, const std::string& list) {
    return !value.empty() && list.find(value) != std::string::npos;
}

long long wholeNumber(const RecordSet& set, const std::string& field, const std::string& process) {
    const std::string text = trim(set.text(field));
    try {
        return toInteger(text);
    } catch (const AppError&) {
        throw AppError(field + " do processo " + process + " inválido: '" + text + "' não é um número inteiro");
    }
}
