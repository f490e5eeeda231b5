#pragma once

#include <string>

/// One field of a dBase table as its header describes it. Types: C character, N numeric, F floating,
/// D date (yyyymmdd), L logical, M memo (a block number into the memo file).
struct DbfField {
    std::string name; // upper case, at most 10 characters
    char type = 'C';
    unsigned length = 0;
    unsigned decimals = 0;
    unsigned offset = 0; // position in the record; the deletion flag is byte 0

    bool isNumeric() const { return type == 'N' || type == 'F'; }
};
