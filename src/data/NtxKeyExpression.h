#pragma once

#include "data/DbfField.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

/// The key expression stored in an index file, evaluated on a record image. Understood: field names
/// (with or without an alias "X->"), "+", UPPER(c), DTOS(d), STR(n[, len[, dec]]), LEFT(c, n) and
/// SUBSTR(c, start[, len]). Any other expression is refused when the index is opened, so nothing is
/// written through an index whose keys this program cannot build.
class NtxKeyExpression {
public:
    /// A piece of the key that is a slice of one field's stored bytes, possibly upper-cased: what a
    /// search by field values can seek on.
    struct Part {
        std::size_t field = 0; // index into the table's fields
        bool upper = false;
        unsigned start = 0; // within the field
        unsigned length = 0;
        bool whole(const std::vector<DbfField>& fields) const { return start == 0 && length == fields[field].length; }
    };

    NtxKeyExpression();
    ~NtxKeyExpression();
    NtxKeyExpression(NtxKeyExpression&&) noexcept;
    NtxKeyExpression& operator=(NtxKeyExpression&&) noexcept;

    /// Parses text against the table's fields; indexName names the index in messages.
    static NtxKeyExpression parse(const std::string& text, const std::vector<DbfField>& fields,
                                  const std::string& indexName);

    const std::string& text() const { return m_text; }
    /// Length of every key the expression builds.
    unsigned width() const { return m_width; }
    /// Decimals of a numeric key (0 otherwise).
    unsigned decimals() const { return m_decimals; }
    /// The key of a record image (deletion flag at byte 0), in the table's bytes.
    std::string evaluate(const std::string& record) const;
    /// The parts from the start of the key while each is a field slice; empty when the key starts
    /// with a conversion (STR).
    const std::vector<Part>& seekableParts() const { return m_parts; }

    /// One term of the expression (defined with the parser).
    struct Node;

private:
    std::vector<std::unique_ptr<Node>> m_terms;
    std::vector<Part> m_parts;
    std::string m_text;
    unsigned m_width = 0;
    unsigned m_decimals = 0;
};
