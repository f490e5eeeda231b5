#include "export/CsvTableWriter.h"

#include "base/AppError.h"
#include "data/OrientadorRowReader.h"
#include "export/ExportEncoding.h"
#include "export/StagedFile.h"

namespace {

const char* const Eol = "\r\n";

} // namespace

CsvTableWriter::CsvTableWriter(StagedFile& file) : m_file(file) {}

void CsvTableWriter::beginTable(const std::string& table) {
    m_table = table;
    std::string& out = m_file.buffer();
    out += TableLinePrefix;
    if (const EncodingProblem problem = appendCp1252(table, out))
        throw AppError(exportValueProblemText(table, -1, "", problem, "CSV"));
    out += Eol;
}

void CsvTableWriter::structure(const std::vector<OrientadorField>& fields) {
    std::string& out = m_file.buffer();
    m_columns.clear();
    for (const OrientadorField& f : fields) {
        if (const EncodingProblem problem = appendCsvField(f.name, out))
            throw AppError(exportValueProblemText(m_table, 0, f.name, problem, "CSV"));
        out += ';';
        m_columns.push_back(f.name);
    }
    out += Eol;
    m_file.written();
}

void CsvTableWriter::row(OrientadorRowReader& reader) {
    std::string& out = m_file.buffer();
    for (std::size_t i = 0; i < m_columns.size(); ++i) {
        if (const EncodingProblem problem = appendCsvField(reader.text(i), out))
            throw AppError(exportValueProblemText(m_table, reader.rowNumber(), m_columns[i], problem, "CSV"));
        out += ';';
    }
    out += Eol;
    m_file.written();
}

void CsvTableWriter::endTable() {
    m_file.buffer() += Eol;
    m_file.written();
}

void CsvTableWriter::finish() {}
