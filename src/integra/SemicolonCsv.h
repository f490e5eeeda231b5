#pragma once

#include <string>
#include <string_view>
#include <vector>

/// A customer's semicolon-separated file: records of fields separated by ";". A field that begins with
/// a double quote runs to the next lone double quote, so it may hold ";" and line breaks, and a doubled
/// quote inside it stands for one; text after its closing quote belongs to the field as well. A quote
/// elsewhere is an ordinary character. Records that hold nothing but blanks are dropped.
class SemicolonCsv {
public:
    struct Record {
        int line = 0; // the file line the record starts on, from 1
        std::vector<std::string> fields;
    };

    /// Throws SemicolonCsv::Unterminated for a quoted field that is never closed.
    static std::vector<Record> parse(std::string_view text);

    struct Unterminated {
        int line; // where the quoted field starts
    };
};
