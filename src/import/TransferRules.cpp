#include "import/TransferRules.h"

#include "base/TextUtils.h"
#include "data/RecordSet.h"
#include "import/OrientadorRowWriter.h"
#include "import/TransferConversions.h"

namespace {

bool digitsOnly(const std::string& s) {
    for (char c : s)
        if (c < '0' || c > '9')
            return false;
    return true;
}

// yyyy-mm-dd → dd/mm/yyyy, characters 9-10, 6-7 and 1-4 as the DI's date takes them.
std::string dayMonthYearWithSlashes(const std::string& ymd) {
    if (trim(ymd).empty())
        return std::string();
    auto part = [&](std::size_t from, std::size_t count) {
        return from < ymd.size() ? ymd.substr(from, count) : std::string();
    };
    return part(8, 2) + "/" + part(5, 2) + "/" + part(0, 4);
}

} // namespace

std::string roundDecimalText(const std::string& text, std::size_t decimals) {
    const std::string t = trim(text);
    std::size_t start = 0;
    std::string sign;
    if (!t.empty() && (t[0] == '-' || t[0] == '+')) {
        sign = t.substr(0, 1);
        start = 1;
    }
    const std::size_t separator = t.find_first_of(".,", start);
    if (separator == std::string::npos)
        return text;
    const std::string whole = t.substr(start, separator - start);
    const std::string fraction = t.substr(separator + 1);
    if (!digitsOnly(whole) || !digitsOnly(fraction) || (whole.empty() && fraction.empty()))
        return text;
    if (fraction.size() <= decimals)
        return text;
    std::string digits = whole + fraction.substr(0, decimals);
    if (fraction[decimals] >= '5') {
        std::size_t k = digits.size();
        bool carry = true;
        while (carry && k > 0) {
            --k;
            if (digits[k] == '9') {
                digits[k] = '0';
            } else {
                ++digits[k];
                carry = false;
            }
        }
        if (carry)
            digits.insert(0, "1");
    }
    const std::size_t wholeDigits = digits.size() - decimals;
    // The separator stays even without decimals: a fixed-digit value without one gets a zero fraction.
    return sign + digits.substr(0, wholeDigits) + t[separator] + digits.substr(wholeDigits);
}

std::string coverageOfLevel(const std::string& level) {
    if (level == "1" || level == "2")
        return level;
    if (level == "3")
        return "4";
    if (level == "4")
        return "5";
    if (level == "5")
        return "6";
    if (level == "6")
        return "3";
    return std::string();
}

void applyRule(OrientadorRowWriter& w, const Rule& rule) {
    if (rule.index == Literal) {
        w.literal(rule.target, rule.source);
        return;
    }
    const Conversion& c = rule.conversion;
    if (c.kind == Conversion::AsIs) {
        w.copy(rule.target, rule.index, rule.source);
        return;
    }
    const std::string value = w.source(rule.index).text(rule.source);
    switch (c.kind) {
    case Conversion::Date:
        w.literal(rule.target, dateToDayMonthYear(value));
        break;
    case Conversion::SlashDate:
        w.literal(rule.target, dayMonthYearWithSlashes(value));
        break;
    case Conversion::Pad:
        w.literal(rule.target, zeroPadLeft(value, static_cast<std::size_t>(c.size)));
        break;
    case Conversion::PadWithoutDots:
        w.literal(rule.target, zeroPadLeft(replaceAll(value, ".", ""), static_cast<std::size_t>(c.size)));
        break;
    case Conversion::Fixed: {
        // The field holds `decimals` decimals: more would make the digits too long for it, so the value
        // is rounded to what the Orientador's column keeps instead of being lost.
        const auto decimals = static_cast<std::size_t>(c.decimals);
        w.literal(rule.target,
                  fixedPointDigits(roundDecimalText(value, decimals), static_cast<std::size_t>(c.size), decimals));
        break;
    }
    case Conversion::SimNao:
        if (const auto on = simNaoFlag(value))
            w.flag(rule.target, *on);
        break;
    case Conversion::FlagWhen:
        w.flag(rule.target, trim(value) == c.match);
        break;
    case Conversion::NveLevel:
        w.literal(rule.target, coverageOfLevel(value));
        break;
    case Conversion::Text:
        w.text(rule.target, value);
        break;
    case Conversion::TrimmedText:
        w.text(rule.target, trim(value));
        break;
    case Conversion::LineBreaks:
        w.text(rule.target, restoreLineBreaks(value));
        break;
    case Conversion::PersonKind: {
        const std::size_t length = charCount(value);
        if (length == 14)
            w.literal(rule.target, "1");
        else if (length == 11)
            w.literal(rule.target, "2");
        else if (c.match)
            w.literal(rule.target, c.match);
        break;
    }
    case Conversion::AsIs:
        break;
    }
}

std::vector<std::string> targetsOf(std::initializer_list<const std::vector<Rule>*> lists,
                                   std::initializer_list<const char*> own) {
    std::vector<std::string> targets;
    for (const auto* list : lists)
        for (const Rule& rule : *list)
            targets.emplace_back(rule.target);
    for (const char* target : own)
        targets.emplace_back(target);
    return targets;
}

void applyRules(OrientadorRowWriter& w, const std::vector<Rule>& rules) {
    for (const Rule& rule : rules)
        applyRule(w, rule);
}

void writeListRows(OrientadorRowWriter& w, RecordSet& list, const ListTable& table,
                   const std::function<void()>& rowKey) {
    int sequence = table.start;
    for (; !list.eof(); list.next()) {
        w.newRow();
        if (rowKey)
            rowKey();
        if (table.sequence)
            w.literal(table.sequence, std::to_string(sequence++));
        applyRules(w, table.fields);
    }
}
