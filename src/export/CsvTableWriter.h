#pragma once

#include "export/TableFileWriter.h"

#include <string>
#include <vector>

class StagedFile;

/// The CSV form of the export, in code page 1252 with CR LF line ends: per table the line "Tabela " +
/// name, a line of the column names, one line per row, every field followed by ";", and an empty line.
/// A field holding ";", a double quote or a line break is quoted (see appendCsvField).
class CsvTableWriter : public TableFileWriter {
public:
    static constexpr const char* TableLinePrefix = "Tabela ";

    explicit CsvTableWriter(StagedFile& file);

    void beginTable(const std::string& table) override;
    void structure(const std::vector<OrientadorField>& fields) override;
    void row(OrientadorRowReader& reader) override;
    void endTable() override;
    void finish() override;

private:
    StagedFile& m_file;
    std::string m_table;
    std::vector<std::string> m_columns;
};
