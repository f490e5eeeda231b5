#pragma once

#include <memory>
#include <string>
#include <vector>

class RecordSet;
class RecordTable;

/// One registered process as the return list holds it. Dates are texts dd/mm/yyyy; an empty text is
/// a date the Orientador row does not carry.
struct ReturnEntry {
    bool ticked = false;           // IMPORTAR
    std::string kind;              // TIPO_PROCESSO: LSI, DSI, LI or DI
    std::string registro;          // REGISTRO: the process identifier as the Orientador row holds it
    std::string nrProcesso;        // NR_PROCESSO: the registration number
    std::string dataProcesso;      // DATA_PROCESSO: the registration date
    std::string nrProtocolo;       // NR_PROTOCOLO
    std::string dataProcessamento; // DATA_PROCESSAMENTO (DI only)
    std::string dataTransmissao;   // DATA_TRANSMISSAO (DI and DSI)
    std::string anoRegistro;       // ANO_REGISTRO
};

/// The return list (the data module's cdsTemp, and the automatic run's own list): the registered
/// processes not yet returned to Merlin, one row each, with IMPORTAR telling which are to be sent.
///
/// IMPORTAR is "True" or "False"; the manual scan leaves it null, which reads as not ticked. Values are
/// kept whole: an identifier cut to a column width would be returned under a number that is not its own
/// and, never matching its GERADOS row, offered again at every scan.
class ReturnList {
public:
    static constexpr const char* Importar = "IMPORTAR";
    static constexpr const char* TipoProcesso = "TIPO_PROCESSO";
    static constexpr const char* Registro = "REGISTRO";
    static constexpr const char* NrProcesso = "NR_PROCESSO";
    static constexpr const char* DataProcesso = "DATA_PROCESSO";
    static constexpr const char* NrProtocolo = "NR_PROTOCOLO";
    static constexpr const char* DataProcessamento = "DATA_PROCESSAMENTO";
    static constexpr const char* DataTransmissao = "DATA_TRANSMISSAO";
    static constexpr const char* AnoRegistro = "ANO_REGISTRO";

    /// The fields in their order.
    static const std::vector<std::string>& fieldNames();

    /// Closes the list and opens it again empty, with its fields (the emptying both scans begin with).
    static void empty(RecordSet& list);
    /// A table of the list's fields, to be filled row by row and installed in one step.
    static std::shared_ptr<RecordTable> newTable();
    /// Appends a row to such a table. ticked is written only when setTicked (the manual scan leaves it
    /// null).
    static void append(RecordTable& table, const ReturnEntry& entry, bool setTicked);
    /// Puts the rows of table into the list, its cursor on the last row (where the scans leave it).
    static void install(RecordSet& list, std::shared_ptr<RecordTable> table);

    /// The list's current row.
    static ReturnEntry current(const RecordSet& list);
    static bool ticked(const RecordSet& list);
    /// Inverts IMPORTAR of the current row.
    static void toggle(RecordSet& list);
    /// Every row of the list, in order (the cursor stays).
    static std::vector<ReturnEntry> entries(RecordSet& list);
};
