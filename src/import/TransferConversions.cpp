#include "import/TransferConversions.h"

#include "app/TextUtils.h"
#include "data/OrientadorValues.h"

std::string diDate(const std::string& ymd) {
    return ymd.empty() ? std::string() : dateToDayMonthYear(ymd);
}

std::string padZeros(const std::string& value, std::size_t n) {
    return zeroPadLeft(value, n);
}

std::string fixedDigits(const std::string& value, std::size_t t, std::size_t d) {
    return fixedPointDigits(value, t, d);
}

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

std::string localeDecimal(double value) {
    return orientadorDecimalText(value);
}
