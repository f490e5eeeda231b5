#pragma once

#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

class OrientadorRowWriter;
class RecordSet;

// The rules every Orientador transfer writes its tables by: a target field, where its value comes from
// and how the value is converted. The tables of rules live in one file per transfer (…Rules.cpp); the
// writers walk the record sets and apply them.

/// The record set a value is read from, by the field writer's index (FieldSources).
enum RuleSource : int {
    Literal = -1,  // the rule's source is the value itself
    Principal = 0, // cdsXMLPrincipal: the process
    Aux = 1,       // cdsXMLAux: a list of the process
    TPAux2 = 2,    // cdsXMLTPAux2: a list of an addition or a licence
    TPAux3 = 3,    // cdsXMLTPAux3: a list below a licence
    TPAux = 4,     // cdsXMLTPAux: an addition, a licence view, the items
    Aux2 = 5,      // cdsXMLAux2: the licences of the process
};

/// How a source value becomes the value written.
struct Conversion {
    enum Kind {
        AsIs,           // GRAVACAMPO of the source field itself ("." → ",", empty writes nothing)
        Date,           // yyyy-mm-dd → ddmmyyyy
        SlashDate,      // yyyy-mm-dd → dd/mm/yyyy
        Pad,            // left-padded with "0" to size
        PadWithoutDots, // every "." removed, then left-padded with "0" to size
        Fixed,          // size digits with `decimals` implied decimals, rounded to them
        SimNao,         // Yes/No: "SIM" true, "NAO" false, anything else leaves it
        FlagWhen,       // Yes/No: true when the trimmed value is `match`, otherwise false
        NveLevel,       // the coverage code of an NVE level
        Text,           // set directly as text, exactly as it is
        TrimmedText,    // set directly as text, trimmed: keys are stored as they are looked up
        LineBreaks,     // every "|" becomes CR LF, then set directly as text
        PersonKind,     // "1" for a CNPJ (14 characters), "2" for a CPF (11), otherwise `match` (none: left)
    } kind = AsIs;
    int size = 0;
    int decimals = 0;
    const char* match = nullptr;
};

inline constexpr Conversion asIs{};
inline constexpr Conversion date{Conversion::Date};
inline constexpr Conversion slashDate{Conversion::SlashDate};
inline constexpr Conversion simNao{Conversion::SimNao};
inline constexpr Conversion nveLevel{Conversion::NveLevel};
inline constexpr Conversion asText{Conversion::Text};
inline constexpr Conversion trimmedText{Conversion::TrimmedText};
inline constexpr Conversion lineBreaks{Conversion::LineBreaks};
constexpr Conversion pad(int size) {
    return {Conversion::Pad, size};
}
constexpr Conversion padWithoutDots(int size) {
    return {Conversion::PadWithoutDots, size};
}
constexpr Conversion fixed(int size, int decimals) {
    return {Conversion::Fixed, size, decimals};
}
constexpr Conversion flagWhen(const char* match) {
    return {Conversion::FlagWhen, 0, 0, match};
}
constexpr Conversion personKind(const char* otherwise) {
    return {Conversion::PersonKind, 0, 0, otherwise};
}

/// One target field, its source (record set and field, or a literal value) and the conversion.
struct Rule {
    const char* target;
    int index;
    const char* source;
    Conversion conversion = asIs;
};

/// A table with one row per row of a list: the sequence field (none when null) counts the rows from
/// start, then the rules follow.
struct ListTable {
    const char* table;
    const char* nested; // the nested set the rows come from
    const char* sequence;
    int start;
    std::vector<Rule> fields;
};

/// Every field a transfer writes into one Orientador table: the targets of its rules and the fields its
/// writer sets itself. The rules files list them, so a test can hold them against the file's schema.
struct TableTargets {
    const char* file;  // "IMPORT.MDB"
    const char* table; // "DECLARAÇÃO_IMPORTAÇÃO"
    std::vector<std::string> fields;
};

/// The targets of rule lists and of fields a writer sets itself, in one list.
std::vector<std::string> targetsOf(std::initializer_list<const std::vector<Rule>*> lists,
                                   std::initializer_list<const char*> own = {});

/// Writes one rule into the current row. A source field the record set lacks raises AppError (the
/// run ends); a value the target cannot hold is reported by the field writers and skipped.
void applyRule(OrientadorRowWriter& w, const Rule& rule);
void applyRules(OrientadorRowWriter& w, const std::vector<Rule>& rules);

/// One row per row of list, from its current row to its end: a new row (with the unit's key), then
/// rowKey (the further key fields of the row, when given), the sequence, and the table's rules.
void writeListRows(OrientadorRowWriter& w, RecordSet& list, const ListTable& table,
                   const std::function<void()>& rowKey = {});

/// A decimal text rounded half away from zero to `decimals` decimals, keeping its separator ("." or
/// ","); a text with no more decimals, or one that is not a plain decimal number, comes back as it is.
std::string roundDecimalText(const std::string& text, std::size_t decimals);

/// The coverage code of an NVE level: 1 and 2 stay, 3 → 4, 4 → 5, 5 → 6, 6 → 3; other levels give "".
std::string coverageOfLevel(const std::string& level);
