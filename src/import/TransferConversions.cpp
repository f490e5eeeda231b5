#include "import/TransferConversions.h"

#include "base/TextUtils.h"

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
