#include "data/DbfValue.h"

#include "base/AppError.h"

#include <cctype>
#include <cstdio>

namespace {

std::string trimmed(const std::string& s) {
    const auto b = s.find_first_not_of(" \t\r\n");
    if (b == std::string::npos)
        return {};
    const auto e = s.find_last_not_of(" \t\r\n");
    return s.substr(b, e - b + 1);
}

bool allDigits(const std::string& s) {
    for (char c : s)
        if (!std::isdigit(static_cast<unsigned char>(c)))
            return false;
    return !s.empty();
}

AppError refused(const DbfField& f, const std::string& table, const std::string& why) {
    return AppError("O campo " + f.name + " da tabela " + table + " não aceita o valor: " + why + ".");
}

bool validDate(int y, int m, int d) {
    static const int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (y < 1 || y > 9999 || m < 1 || m > 12 || d < 1)
        return false;
    const bool leap = (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
    return d <= days[m - 1] + (m == 2 && leap ? 1 : 0);
}

} // namespace

std::optional<std::string> DbfValue::rounded(const std::string& text, unsigned dec) {
    std::string s = trimmed(text);
    bool negative = false;
    if (!s.empty() && (s[0] == '-' || s[0] == '+')) {
        negative = s[0] == '-';
        s.erase(0, 1);
    }
    const auto sep = s.find_first_of(".,");
    std::string intPart = sep == std::string::npos ? s : s.substr(0, sep);
    std::string frac = sep == std::string::npos ? "" : s.substr(sep + 1);
    if (intPart.empty())
        intPart = "0";
    if (!allDigits(intPart) || (!frac.empty() && !allDigits(frac)) || (sep != std::string::npos && s.size() == 1))
        return std::nullopt;
    // Half up in the digits themselves, so no binary fraction creeps in.
    bool carry = frac.size() > dec && frac[dec] >= '5';
    frac.resize(dec, '0');
    std::string digits = intPart + frac;
    for (std::size_t i = digits.size(); carry && i-- > 0;) {
        if (digits[i] == '9') {
            digits[i] = '0';
        } else {
            ++digits[i];
            carry = false;
        }
    }
    if (carry)
        digits.insert(digits.begin(), '1');
    std::string out = digits.substr(0, digits.size() - dec);
    while (out.size() > 1 && out[0] == '0')
        out.erase(0, 1);
    if (dec > 0)
        out += "." + digits.substr(digits.size() - dec);
    if (negative && out.find_first_not_of("0.") != std::string::npos)
        out.insert(out.begin(), '-');
    return out;
}

std::string DbfValue::number(const DbfField& f, const std::string& text, const std::string& table) {
    const auto out = rounded(text, f.decimals);
    if (!out)
        throw refused(f, table, "\"" + text + "\" não é um número");
    if (out->size() > f.length)
        throw refused(f, table,
                      "\"" + text + "\" não cabe em " + std::to_string(f.length) + " posições com " +
                          std::to_string(f.decimals) + " decimais");
    return std::string(f.length - out->size(), ' ') + *out;
}

std::string DbfValue::date(const DbfField& f, const std::string& text, const std::string& table) {
    const std::string s = trimmed(text);
    int y = 0, m = 0, d = 0;
    auto num = [](const std::string& part) { return allDigits(part) ? std::stoi(part) : -1; };
    if (s.size() == 8 && allDigits(s)) {
        y = num(s.substr(0, 4));
        m = num(s.substr(4, 2));
        d = num(s.substr(6, 2));
    } else if (s.size() == 10 && s[4] == '-' && s[7] == '-') {
        y = num(s.substr(0, 4));
        m = num(s.substr(5, 2));
        d = num(s.substr(8, 2));
    } else {
        const auto a = s.find('/');
        const auto b = a == std::string::npos ? a : s.find('/', a + 1);
        if (b != std::string::npos && b + 5 == s.size()) {
            d = num(s.substr(0, a));
            m = num(s.substr(a + 1, b - a - 1));
            y = num(s.substr(b + 1));
        }
    }
    if (!validDate(y, m, d))
        throw refused(f, table, "\"" + text + "\" não é uma data");
    char buf[32];
    std::snprintf(buf, sizeof buf, "%04d%02d%02d", y, m, d);
    return buf;
}

std::string DbfValue::encode(const DbfField& f, const std::string& text, DbfCodePage::Page page,
                             const std::string& table, bool cut) {
    switch (f.type) {
    case 'C': {
        std::string bytes = DbfCodePage::fromUtf8(text, page);
        if (bytes.size() > f.length) {
            const auto lastKept = bytes.find_last_not_of(' ');
            if (!cut && lastKept != std::string::npos && lastKept >= f.length)
                throw refused(f, table,
                              "o texto tem " + std::to_string(bytes.size()) + " caracteres e o campo " +
                                  std::to_string(f.length));
            bytes.resize(f.length);
        }
        bytes.resize(f.length, ' ');
        return bytes;
    }
    case 'N':
    case 'F':
        if (trimmed(text).empty())
            return std::string(f.length, ' ');
        return number(f, text, table);
    case 'D':
        if (trimmed(text).empty())
            return std::string(f.length, ' ');
        return date(f, text, table);
    case 'L': {
        std::string t = trimmed(text);
        for (char& c : t)
            c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        if (t.empty())
            return " ";
        if (t == "T" || t == "TRUE" || t == "S" || t == "Y" || t == "1")
            return "T";
        if (t == "F" || t == "FALSE" || t == "N" || t == "0")
            return "F";
        throw refused(f, table, "\"" + text + "\" não é verdadeiro nem falso");
    }
    default:
        throw refused(f, table, "o campo de memorando é gravado pelo arquivo de memorandos");
    }
}

std::string DbfValue::decode(const DbfField& f, std::string_view bytes, DbfCodePage::Page page) {
    switch (f.type) {
    case 'C': {
        std::string_view v = bytes;
        while (!v.empty() && (v.back() == ' ' || v.back() == '\0'))
            v.remove_suffix(1);
        return DbfCodePage::toUtf8(v, page);
    }
    case 'D': {
        const std::string v = trimmed(std::string(bytes));
        if (v.size() != 8)
            return {};
        return v.substr(6, 2) + "/" + v.substr(4, 2) + "/" + v.substr(0, 4);
    }
    case 'L': {
        const char c = bytes.empty() ? ' ' : bytes[0];
        if (c == 'T' || c == 't' || c == 'Y' || c == 'y')
            return "T";
        if (c == 'F' || c == 'f' || c == 'N' || c == 'n')
            return "F";
        return {};
    }
    default:
        return trimmed(std::string(bytes));
    }
}
