#include "export/XmlTableWriter.h"

#include "base/AppError.h"
#include "base/TextUtils.h"
#include "data/OrientadorRowReader.h"
#include "export/ExportEncoding.h"
#include "export/StagedFile.h"

namespace {

const char* const Eol = "\r\n";

} // namespace

XmlTableWriter::XmlTableWriter(StagedFile& file) : m_file(file) {
    std::string& out = m_file.buffer();
    out += "<?xml version=\"1.0\" encoding=\"UTF-8\"?>";
    out += Eol;
    out += "<TABELAS xmlns:xsi=\"";
    out += SchemaInstance;
    out += "\" xsi:schemaLocation=\"";
    out += SchemaLocation;
    out += "\">";
    out += Eol;
}

std::string XmlTableWriter::typeText(const OrientadorField& field) {
    const std::string text = fieldTypeDisplayName(field.typeName);
    return text.empty() ? fieldTypeDisplayName("ftUnknown") : text;
}

int XmlTableWriter::sizeOf(const OrientadorField& field) {
    return field.type == OrientadorFieldType::Text ? field.width : 0;
}

void XmlTableWriter::escaped(const std::string& text, long long row, const std::string& column, bool attribute) {
    if (const EncodingProblem problem = appendXmlEscaped(text, m_file.buffer(), attribute))
        throw AppError(exportValueProblemText(m_table, row, column, problem, "XML"));
}

void XmlTableWriter::beginTable(const std::string& table) {
    m_table = table;
}

void XmlTableWriter::structure(const std::vector<OrientadorField>& fields) {
    std::string& out = m_file.buffer();
    if (!m_codesWritten) {
        out += "  <CODIGO_PAIS>";
        out += CountryCode;
        out += "</CODIGO_PAIS>";
        out += Eol;
        out += "  <CODIGO_DHL>";
        out += DhlCode;
        out += "</CODIGO_DHL>";
        out += Eol;
        m_codesWritten = true;
    }
    out += "  <ESTRUTURA TABELA=\"";
    escaped(m_table, -1, "", true);
    out += "\">";
    out += Eol;
    m_open.clear();
    m_close.clear();
    m_empty.clear();
    m_columns.clear();
    for (std::size_t i = 0; i < fields.size(); ++i) {
        const OrientadorField& f = fields[i];
        out += "    <CAMPO>";
        out += Eol;
        out += "      <NOME>";
        escaped(f.name, 0, f.name);
        out += "</NOME>";
        out += Eol;
        out += "      <TIPO>" + typeText(f) + "</TIPO>" + Eol;
        out += "      <TAMANHO>" + std::to_string(sizeOf(f)) + "</TAMANHO>" + Eol;
        out += "    </CAMPO>";
        out += Eol;
        const std::string name = "VALOR" + std::to_string(i + 1);
        m_open.push_back("      <" + name + ">");
        m_close.push_back("</" + name + ">" + Eol);
        m_empty.push_back("      <" + name + "/>" + Eol);
        m_columns.push_back(f.name);
    }
    out += "  </ESTRUTURA>";
    out += Eol;
    out += "  <DADOS TABELA=\"";
    escaped(m_table, -1, "", true);
    out += "\">";
    out += Eol;
    m_file.written();
}

void XmlTableWriter::row(OrientadorRowReader& reader) {
    std::string& out = m_file.buffer();
    out += "    <REGISTRO NUMERO_REGISTRO=\"";
    out += std::to_string(reader.rowNumber());
    out += "\">";
    out += Eol;
    for (std::size_t i = 0; i < m_open.size(); ++i) {
        const std::string_view value = reader.text(i);
        if (value.empty()) {
            out += m_empty[i];
            continue;
        }
        out += m_open[i];
        if (const EncodingProblem problem = appendXmlEscaped(value, out))
            throw AppError(exportValueProblemText(m_table, reader.rowNumber(), m_columns[i], problem, "XML"));
        out += m_close[i];
    }
    out += "    </REGISTRO>";
    out += Eol;
    m_file.written();
}

void XmlTableWriter::endTable() {
    std::string& out = m_file.buffer();
    out += "  </DADOS>";
    out += Eol;
    m_file.written();
}

void XmlTableWriter::finish() {
    std::string& out = m_file.buffer();
    out += "</TABELAS>";
    out += Eol;
}
