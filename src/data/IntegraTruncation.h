#pragma once

#include <optional>
#include <string>
#include <vector>

/// The operator's text for a value too long for its column. The engine only says "string right
/// truncation" and the column's limit; the field is found from the statement and the table's columns.
class IntegraTruncation {
public:
    struct Column {
        std::string name;
        int length = 0; // characters; 0 for a column that is not text
    };

    /// A write as this program writes them: "INSERT INTO T [(A, B)] VALUES (…)" or
    /// "UPDATE T SET A = …, B = … [WHERE …]". values[i] pairs a column name (empty for an INSERT
    /// without a column list: then the position counts) with the text of a quoted literal (no value for
    /// anything else: NULL, numbers, expressions).
    struct Write {
        std::string table;
        std::vector<std::pair<std::string, std::optional<std::string>>> values;
    };

    /// The write a statement makes; nothing for other statements or text this reading does not follow.
    static std::optional<Write> parse(const std::string& sql);

    /// The message for a failed write: the field whose value is longer than limit (its table's columns in
    /// order), its length and limit; less precise when the field cannot be told.
    static std::string message(const std::string& sql, int limit, const std::vector<Column>& columns);

    /// The statement that lists a table's columns with their lengths, in order (name, length).
    static std::string columnsSql(const std::string& table);
};
