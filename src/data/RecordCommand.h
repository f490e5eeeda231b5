#pragma once

#include <optional>
#include <string>

/// The command text of a record set, as far as the in-memory engine honours it:
///   SELECT * FROM NAME
///   SELECT * FROM NAME WHERE FIELD = 'value'
/// Keywords are matched without regard to case; blanks around "=" are optional; a quote inside the
/// literal is doubled; an unquoted literal runs to the end of the text. NAME is kept but does not
/// select anything: the rows come from the provider or the nested field. An empty text selects all.
class RecordCommand {
public:
    /// Throws AppError naming the text when it is neither empty nor of the forms above.
    static RecordCommand parse(const std::string& text);

    const std::string& tableName() const { return m_table; }
    bool hasCondition() const { return m_field.has_value(); }
    const std::string& conditionField() const { return *m_field; }
    const std::string& conditionValue() const { return m_value; }

private:
    std::string m_table;
    std::optional<std::string> m_field;
    std::string m_value;
};
