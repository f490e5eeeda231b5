#include "data/OrientadorValues.h"

#include "base/AppError.h"
#include "base/TextUtils.h"

#include <charconv>
#include <cmath>

namespace {

// The largest amount a currency column holds (four decimals kept).
constexpr double MaxCurrency = 922337203685477.0;

std::string quoted(const std::string& text) {
    return quotedForMessage(text);
}

[[noreturn]] void refuse(const OrientadorField& f, const std::string& value, const std::string& why) {
    throw AppError("O valor " + quoted(value) + " não pode ser gravado no campo " + f.name + " (" +
                   orientadorFieldTypeText(f) + "): " + why);
}

bool allDigits(const std::string& s) {
    if (s.empty())
        return false;
    for (char c : s)
        if (c < '0' || c > '9')
            return false;
    return true;
}

int daysInMonth(int year, int month) {
    static const int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return month == 2 && leap ? 29 : days[month - 1];
}

std::string two(int n) {
    return (n < 10 ? "0" : "") + std::to_string(n);
}

std::string four(int n) {
    return zeroPadLeft(std::to_string(n), 4);
}

// hh:mm or hh:mm:ss into seconds of the day; false when malformed.
bool parseTime(const std::string& text, int& h, int& m, int& s) {
    const auto parts = split(text, ':');
    if (parts.size() < 2 || parts.size() > 3)
        return false;
    for (const auto& p : parts)
        if (!allDigits(p) || p.size() > 2)
            return false;
    h = std::stoi(parts[0]);
    m = std::stoi(parts[1]);
    s = parts.size() == 3 ? std::stoi(parts[2]) : 0;
    return h < 24 && m < 60 && s < 60;
}

double parseNumber(const OrientadorField& f, const std::string& text) {
    try {
        return toDecimal(text);
    } catch (const AppError&) {
        refuse(f, text, "não é um número");
    }
}

OrientadorValue integerValue(const OrientadorField& f, double v, const std::string& shown) {
    if (!std::isfinite(v) || std::fabs(v - std::round(v)) > 1e-9)
        refuse(f, shown, "não é um número inteiro");
    const double r = std::round(v);
    if (r < static_cast<double>(f.minValue) || r > static_cast<double>(f.maxValue))
        refuse(f, shown,
               "fora dos limites do campo (" + std::to_string(f.minValue) + " a " + std::to_string(f.maxValue) + ")");
    return static_cast<long long>(r);
}

OrientadorValue currencyValue(const OrientadorField& f, double v, const std::string& shown) {
    if (!std::isfinite(v) || std::fabs(v) > MaxCurrency)
        refuse(f, shown, "fora dos limites de um valor monetário");
    return std::round(v * 10000.0) / 10000.0;
}

} // namespace

std::string orientadorDecimalText(double value) {
    if (!std::isfinite(value))
        return std::string();
    // Fifteen significant digits, as the Orientador shows its numbers, then written out in full.
    char buf[400];
    auto r = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::general, 15);
    double rounded = value;
    std::from_chars(buf, r.ptr, rounded);
    if (rounded == 0)
        rounded = 0; // no "-0"
    r = std::to_chars(buf, buf + sizeof buf, rounded, std::chars_format::fixed);
    std::string text(buf, r.ptr);
    for (char& c : text)
        if (c == '.')
            c = ',';
    return text;
}

bool orientadorParseDate(const std::string& input, std::string& stored) {
    const std::string text = trim(input);
    std::string datePart = text, timePart;
    const auto gap = text.find_first_of(" T");
    if (gap != std::string::npos) {
        datePart = text.substr(0, gap);
        timePart = trim(text.substr(gap + 1));
    }
    int day = 0, month = 0, year = 0;
    if (datePart.find('/') != std::string::npos) {
        const auto p = split(datePart, '/');
        if (p.size() != 3 || !allDigits(p[0]) || !allDigits(p[1]) || !allDigits(p[2]) || p[0].size() > 2 ||
            p[1].size() > 2 || p[2].size() != 4)
            return false;
        day = std::stoi(p[0]);
        month = std::stoi(p[1]);
        year = std::stoi(p[2]);
    } else {
        const auto p = split(datePart, '-');
        if (p.size() != 3 || !allDigits(p[0]) || !allDigits(p[1]) || !allDigits(p[2]) || p[0].size() != 4 ||
            p[1].size() > 2 || p[2].size() > 2)
            return false;
        year = std::stoi(p[0]);
        month = std::stoi(p[1]);
        day = std::stoi(p[2]);
    }
    if (year < 1 || month < 1 || month > 12 || day < 1 || day > daysInMonth(year, month))
        return false;
    stored = four(year) + "-" + two(month) + "-" + two(day);
    if (!timePart.empty()) {
        int h = 0, m = 0, s = 0;
        if (!parseTime(timePart, h, m, s))
            return false;
        if (h != 0 || m != 0 || s != 0)
            stored += " " + two(h) + ":" + two(m) + ":" + two(s);
    }
    return true;
}

OrientadorValue orientadorStoredValue(const OrientadorField& f, const std::string& text, bool checkWidth) {
    const std::string t = trim(text);
    switch (f.type) {
    case OrientadorFieldType::Text:
    case OrientadorFieldType::Memo: {
        if (text.empty())
            return std::monostate{};
        if (!isValidUtf8(text))
            refuse(f, text, "o texto não está em UTF-8");
        const size_t length = charCount(text);
        if (!checkWidth || f.width <= 0 || length <= static_cast<size_t>(f.width))
            return text;
        const std::string beyond = charSub(text, static_cast<size_t>(f.width));
        if (trim(beyond).empty())
            return charSub(text, 0, static_cast<size_t>(f.width));
        refuse(f, text,
               "o texto tem " + std::to_string(length) + " caracteres e o campo aceita " + std::to_string(f.width));
    }
    case OrientadorFieldType::Floating:
        if (t.empty())
            return std::monostate{};
        return parseNumber(f, t);
    case OrientadorFieldType::Currency:
        if (t.empty())
            return std::monostate{};
        return currencyValue(f, parseNumber(f, t), t);
    case OrientadorFieldType::Integer: {
        if (t.empty())
            return std::monostate{};
        // Whole numbers, also when written with a zero fraction ("12,0").
        double v = 0;
        try {
            v = toDecimal(t);
        } catch (const AppError&) {
            refuse(f, t, "não é um número inteiro");
        }
        return integerValue(f, v, t);
    }
    case OrientadorFieldType::YesNo: {
        if (t.empty())
            return std::monostate{};
        const std::string k = foldCase(t);
        for (const char* yes : {"true", "verdadeiro", "sim", "s", "yes", "y", "-1", "1"})
            if (k == yes)
                return -1LL;
        for (const char* no : {"false", "falso", "não", "nao", "n", "no", "0"})
            if (k == no)
                return 0LL;
        refuse(f, t, "não é Sim/Não (True/False)");
    }
    case OrientadorFieldType::Date: {
        if (t.empty())
            return std::monostate{};
        std::string stored;
        if (!orientadorParseDate(t, stored))
            refuse(f, t, "não é uma data válida (dd/mm/aaaa)");
        return stored;
    }
    }
    refuse(f, text, "tipo de campo desconhecido");
}

OrientadorValue orientadorStoredNumber(const OrientadorField& f, double value) {
    const std::string shown = orientadorDecimalText(value);
    if (!std::isfinite(value))
        refuse(f, shown, "não é um número");
    switch (f.type) {
    case OrientadorFieldType::Text:
    case OrientadorFieldType::Memo:
        return orientadorStoredValue(f, shown, true);
    case OrientadorFieldType::Floating:
        return value;
    case OrientadorFieldType::Currency:
        return currencyValue(f, value, shown);
    case OrientadorFieldType::Integer:
        return integerValue(f, value, shown);
    case OrientadorFieldType::YesNo:
        return value != 0 ? -1LL : 0LL;
    case OrientadorFieldType::Date:
        refuse(f, shown, "um número não é uma data");
    }
    refuse(f, shown, "tipo de campo desconhecido");
}

std::string orientadorValueText(const OrientadorField& f, const OrientadorValue& value) {
    if (std::holds_alternative<std::monostate>(value))
        return std::string();
    if (const auto* s = std::get_if<std::string>(&value)) {
        if (f.type == OrientadorFieldType::Date && s->size() >= 10 && (*s)[4] == '-' && (*s)[7] == '-') {
            std::string text = s->substr(8, 2) + "/" + s->substr(5, 2) + "/" + s->substr(0, 4);
            const std::string time = trim(s->substr(10));
            if (!time.empty() && time != "00:00:00")
                text += " " + time;
            return text;
        }
        return *s;
    }
    double number = 0;
    if (const auto* n = std::get_if<long long>(&value)) {
        if (f.type == OrientadorFieldType::YesNo)
            return *n != 0 ? "True" : "False";
        if (f.type != OrientadorFieldType::Currency && f.type != OrientadorFieldType::Floating)
            return std::to_string(*n);
        number = static_cast<double>(*n);
    } else {
        number = std::get<double>(value);
        if (f.type == OrientadorFieldType::YesNo)
            return number != 0 ? "True" : "False";
    }
    if (f.type == OrientadorFieldType::Currency)
        number = std::round(number * 10000.0) / 10000.0;
    return orientadorDecimalText(number);
}
