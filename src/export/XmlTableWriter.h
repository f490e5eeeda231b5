#pragma once

#include "export/TableFileWriter.h"

#include <string>
#include <vector>

class StagedFile;

/// The XML form of the export (UTF-8): root TABELAS with the schema attributes, CODIGO_PAIS "BRASIL"
/// and CODIGO_DHL "10" once, before the first table; then per table ESTRUTURA (CAMPO with NOME, TIPO,
/// TAMANHO per column) and DADOS (REGISTRO NUMERO_REGISTRO="n" with VALOR1 … per row). Written as it
/// goes: no document is held in memory.
class XmlTableWriter : public TableFileWriter {
public:
    static constexpr const char* SchemaInstance = "http://www.w3.org/2001/XMLSchema-instance";
    /// file:/// + the host of the Merlin schemas + their path.
    static constexpr const char* SchemaLocation = "file:///merlin/arquivos/ProjetoMERLIN_ImpTabs.xsd";
    static constexpr const char* CountryCode = "BRASIL";
    static constexpr const char* DhlCode = "10";

    explicit XmlTableWriter(StagedFile& file);

    void beginTable(const std::string& table) override;
    void structure(const std::vector<OrientadorField>& fields) override;
    void row(OrientadorRowReader& reader) override;
    void endTable() override;
    void finish() override;

    /// The TIPO text of a column ("String", "Float" …); "Unknown" for a kind the type table lacks.
    static std::string typeText(const OrientadorField& field);
    /// The TAMANHO of a column: the width of a text column, 0 for every other kind.
    static int sizeOf(const OrientadorField& field);

private:
    void escaped(const std::string& text, long long row, const std::string& column, bool attribute = false);

    StagedFile& m_file;
    std::string m_table;
    std::vector<std::string> m_open;  // "      <VALORn>"
    std::vector<std::string> m_close; // "</VALORn>\r\n"
    std::vector<std::string> m_empty; // "      <VALORn/>\r\n"
    std::vector<std::string> m_columns;
    bool m_codesWritten = false;
};
