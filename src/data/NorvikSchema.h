#pragma once

#include "data/DbfField.h"

#include <string>
#include <vector>

/// The NORVIK files this program reads and writes, with the fields it uses and the indices it keeps:
/// the layout of the sample folders `init-norvik` writes, and the list `norvik check` walks.
/// share/norvik/README.md explains the choices.
class NorvikSchema {
public:
    struct Index {
        std::string file;       // "RIREGI.NTX"
        std::string expression; // "UPPER(REGISTRO)"
    };
    struct Table {
        std::string base; // "RIREGI"
        std::vector<DbfField> fields;
        std::vector<Index> indices;
        std::string fileName() const { return base + ".DBF"; }
    };

    /// Every table of a NORVIK folder, in the order check reports them.
    static const std::vector<Table>& tables();
    /// The table of that base name (any case), or nullptr.
    static const Table* find(const std::string& base);
    /// The additions' work file RIADIC_TEMP.DBF: the layout of RIADIC.DBF, without an index.
    static const Table& additionsWorkFile();
};
