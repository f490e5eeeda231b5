#pragma once

#include <string>
#include <string_view>

/// The single-byte code pages that dBase files are written in. The program works in UTF-8; the bytes
/// of character and memo fields are converted at the edge of the file.
class DbfCodePage {
public:
    enum class Page { Cp850, Cp437, Cp1252 };

    /// The page named by the language-driver byte of a table header; an unknown or absent mark is
    /// read as code page 850, the page of the DOS workstations.
    static Page fromLanguageDriver(unsigned char driver);
    /// The language-driver byte written into tables this program creates.
    static unsigned char languageDriver(Page page);

    static std::string toUtf8(std::string_view bytes, Page page);
    /// A character the page lacks becomes its plain form (curly quotes, dashes) or "?"; the result has
    /// one byte per character of the text.
    static std::string fromUtf8(const std::string& text, Page page);
    /// Upper case of a to z, the rule of the index expressions; other bytes stay.
    static std::string upper(std::string_view bytes);
};
