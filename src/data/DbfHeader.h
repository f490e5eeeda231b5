#pragma once

#include "data/DbfCodePage.h"
#include "data/DbfField.h"

#include <cstdint>
#include <string>
#include <vector>

/// The header of a dBase III table: version, date of the last update, record count, the lengths that
/// place each record, the language driver and the field list.
struct DbfHeader {
    static constexpr unsigned char VersionPlain = 0x03;
    static constexpr unsigned char VersionMemo = 0x83;
    static constexpr std::size_t CountOffset = 4;
    static constexpr std::size_t DateOffset = 1;

    unsigned char version = VersionPlain;
    int year = 1900;
    int month = 1;
    int day = 1;
    std::uint32_t recordCount = 0;
    std::uint16_t headerLength = 0;
    std::uint16_t recordLength = 0;
    unsigned char languageDriver = 0x02;
    std::vector<DbfField> fields;

    bool hasMemo() const { return version == VersionMemo; }
    DbfCodePage::Page codePage() const { return DbfCodePage::fromLanguageDriver(languageDriver); }

    /// Reads the fixed part (the first 32 bytes) and tells how long the whole header is. fileName
    /// names the file in messages.
    static std::uint16_t declaredLength(const std::string& first32, const std::string& fileName);
    /// Reads a whole header; a header that does not describe a dBase III table is refused.
    static DbfHeader parse(const std::string& bytes, const std::string& fileName);
    /// A header for a new table: offsets, lengths and the memo version set from the fields.
    static DbfHeader forFields(const std::vector<DbfField>& fields);
    std::string serialize() const;

    /// The three date bytes (years since 1900, month, day) of a date.
    static std::string dateBytes(int year, int month, int day);
};
