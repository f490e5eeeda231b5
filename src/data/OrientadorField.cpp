#include "data/OrientadorField.h"

#include "base/AppError.h"
#include "base/TextUtils.h"

#include <cctype>
#include <climits>

namespace {

// Splits "TEXT(8)" into "TEXT" and 8; width is -1 when there is no "(n)".
bool splitDeclared(const std::string& declared, std::string& base, int& width) {
    const std::string t = upperAscii(trim(declared));
    const auto open = t.find('(');
    width = -1;
    if (open == std::string::npos) {
        base = t;
        return true;
    }
    const auto close = t.find(')', open);
    if (close == std::string::npos || trim(t.substr(close + 1)) != "")
        return false;
    base = trim(t.substr(0, open));
    const std::string digits = trim(t.substr(open + 1, close - open - 1));
    if (digits.empty() || digits.size() > 6)
        return false;
    for (char c : digits)
        if (!std::isdigit(static_cast<unsigned char>(c)))
            return false;
    width = std::stoi(digits);
    return width > 0;
}

} // namespace

OrientadorField OrientadorField::fromDeclaredType(const std::string& name, const std::string& declaredType) {
    OrientadorField f;
    f.name = name;
    f.declaredType = declaredType;
    std::string base;
    int width = -1;
    const bool ok = splitDeclared(declaredType, base, width);
    auto is = [&](std::initializer_list<const char*> names) {
        for (const char* n : names)
            if (base == n)
                return true;
        return false;
    };
    if (ok && is({"TEXT", "VARCHAR", "CHAR"}) && width > 0) {
        f.type = OrientadorFieldType::Text;
        f.width = width;
        f.typeName = "ftString";
        return f;
    }
    if (ok && (is({"LONGTEXT"}) || (base == "TEXT" && width < 0))) {
        f.type = OrientadorFieldType::Memo;
        f.width = width < 0 ? 0 : width;
        f.typeName = "ftMemo";
        return f;
    }
    if (ok && width < 0) {
        if (is({"DOUBLE", "FLOAT", "REAL", "SINGLE"})) {
            f.type = OrientadorFieldType::Floating;
            f.typeName = "ftFloat";
            return f;
        }
        if (is({"CURRENCY", "MONEY"})) {
            f.type = OrientadorFieldType::Currency;
            f.typeName = "ftCurrency";
            return f;
        }
        if (is({"INTEGER", "INT", "LONG"})) {
            f.type = OrientadorFieldType::Integer;
            f.typeName = "ftInteger";
            f.minValue = INT32_MIN;
            f.maxValue = INT32_MAX;
            return f;
        }
        if (is({"SMALLINT", "SHORT"})) {
            f.type = OrientadorFieldType::Integer;
            f.typeName = "ftSmallint";
            f.minValue = INT16_MIN;
            f.maxValue = INT16_MAX;
            return f;
        }
        if (is({"BYTE"})) {
            f.type = OrientadorFieldType::Integer;
            f.typeName = "ftWord";
            f.minValue = 0;
            f.maxValue = 255;
            return f;
        }
        if (is({"YESNO", "BIT", "BOOLEAN"})) {
            f.type = OrientadorFieldType::YesNo;
            f.typeName = "ftBoolean";
            return f;
        }
        if (is({"DATETIME", "DATE"})) {
            f.type = OrientadorFieldType::Date;
            f.typeName = "ftDateTime";
            return f;
        }
    }
    throw AppError("O campo " + name + " tem um tipo desconhecido nesta base do Orientador: '" + declaredType + "'");
}

std::string orientadorFieldTypeText(const OrientadorField& field) {
    switch (field.type) {
    case OrientadorFieldType::Text:
        return "texto(" + std::to_string(field.width) + ")";
    case OrientadorFieldType::Memo:
        return field.width > 0 ? "memorando(" + std::to_string(field.width) + ")" : "memorando";
    case OrientadorFieldType::Floating:
        return "ponto flutuante";
    case OrientadorFieldType::Currency:
        return "moeda";
    case OrientadorFieldType::Integer:
        return "inteiro";
    case OrientadorFieldType::YesNo:
        return "sim/não";
    case OrientadorFieldType::Date:
        return "data";
    }
    return "desconhecido";
}
