#pragma once

#include <deque>
#include <span>
#include <string>
#include <string_view>
#include <vector>

/// A customer's semicolon-separated file: records of fields separated by ";". A field that begins with
/// a double quote runs to the next lone double quote, so it may hold ";" and line breaks, and a doubled
/// quote inside it stands for one; text after its closing quote belongs to the field as well. A quote
/// elsewhere is an ordinary character. Records that hold nothing but blanks are dropped.
///
/// The fields point into the text given (which must outlive this object) wherever they can; only quoted
/// fields are copied.
class SemicolonCsv {
public:
    struct Record {
        int line = 0; // the file line the record starts on, from 1
        std::span<const std::string_view> fields;
    };
    struct Unterminated {
        int line; // where the quoted field starts
    };

    /// Throws SemicolonCsv::Unterminated for a quoted field that is never closed.
    explicit SemicolonCsv(std::string_view text);
    SemicolonCsv(const SemicolonCsv&) = delete;
    SemicolonCsv& operator=(const SemicolonCsv&) = delete;

    size_t size() const { return m_records.size(); }
    bool empty() const { return m_records.empty(); }
    Record operator[](size_t i) const {
        const Entry& e = m_records[i];
        return {e.line, std::span<const std::string_view>(m_fields).subspan(e.first, e.count)};
    }

private:
    struct Entry {
        int line;
        size_t first;
        size_t count;
    };
    std::vector<std::string_view> m_fields;
    std::vector<Entry> m_records;
    std::deque<std::string> m_copies; // quoted fields, unquoted (a deque never moves its strings)
};
