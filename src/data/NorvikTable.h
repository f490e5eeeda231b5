#pragma once

#include "data/DbfTable.h"

#include <string>
#include <vector>

/// One NORVIK table object of the data module (vkRIREGI, vkRITAXA …): the table and the file names it
/// was bound to. The routines of NorvikFiles open it for one step and close it at the step's end.
class NorvikTable {
public:
    explicit NorvikTable(std::string name) : m_name(std::move(name)) {}
    NorvikTable(const NorvikTable&) = delete;
    NorvikTable& operator=(const NorvikTable&) = delete;

    const std::string& name() const { return m_name; }
    DbfTable table;
    /// The table's file once bound (folder + base name + ".DBF"); empty until the first open.
    std::string fileName;
    /// The index files attached at the first open, in order.
    std::vector<std::string> indexFiles;

private:
    std::string m_name;
};
