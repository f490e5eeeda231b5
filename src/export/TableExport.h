#pragma once

#include <string>
#include <vector>

struct AppContext;
class TableExportProgress;

enum class TableExportFormat { Xml, Csv };

/// How an export ended.
struct TableExportResult {
    enum class Status {
        NothingChosen, // no table was chosen: only the start entry went to the activity log
        Busy,          // another long operation runs: nothing was done
        Saved,         // the file is written whole and the operator was told
        SaveFailed,    // the file could not be written; the earlier one is untouched
        Failed,        // a table could not be read or written; the earlier file is untouched
    };
    Status status = Status::NothingChosen;
    std::string file;                  // the file written, or the one that could not be
    std::vector<std::string> exported; // the display names taken, in export order
    std::string failure;               // why it failed
};

/// The SISCOMEX table export: the chosen tables of TABSISCO.MDB, structure and rows, into one XML or
/// CSV file for Merlin, written while the tables are read. The operator is told through the operator
/// seam: the closing message window with "&Abrir Arquivo", the save failure box, and the failure report
/// (ERRO.CSV line and message box).
class TableExport {
public:
    static constexpr const char* StartLog = "Iniciando Importação de Tabelas";
    static constexpr const char* EndLog = "Finalizando Importação de Tabelas (";
    static constexpr const char* ExportProcedure = "Importando Tabelas do SISCOMEX";
    static constexpr const char* SaveProcedure = "Salvando XML de Importação de Tabelas";
    static constexpr const char* FailureHeadline = "OCORREU UM ERRO";
    static constexpr const char* SaveFailureCaption = "Erro ao Salvar o Arquivo XML";
    static constexpr const char* SaveFailureText = "Não foi possível salvar o arquivo\r";
    static constexpr const char* SaveFailureAdvice = "Por favor verifique se o caminho está correto "
                                                     "\r"
                                                     "ou se as conexões de rede estão ativas nesta máquina.";
    static constexpr const char* DoneTitle = "Pelomira";
    static constexpr const char* DoneSuffix = " gravado com êxito!";
    static constexpr const char* ButtonOk = "&OK";
    static constexpr const char* ButtonOpen = "&Abrir Arquivo";
    static constexpr const char* ButtonSend = "&Enviar p/\ro Servidor";
    static constexpr const char* OpenFailure = "Não foi possível abrir o Arquivo \r";
    static constexpr const char* OpenFailureAdvice = "Verifique se o Arquivo existe ou se ele não está aberto!";
    static constexpr const char* BusyOperation = "Exportação de Tabelas";
    static constexpr const char* OrientadorFile = "TABSISCO.MDB";
    /// Rows between two progress reports inside a table.
    static constexpr long long RowsPerReport = 2000;

    /// The file of a format from the settings' texts: XML: ArqXML trimmed and in capitals; CSV: ArqXML
    /// with its last three characters replaced by "CSV" (tabs.xml gives tabs.CSV). Joined to folder.
    static std::string outputFile(TableExportFormat format, const std::string& folder, const std::string& arqXml);

    TableExport(AppContext& ctx, TableExportProgress& progress);

    /// Exports the tables of displayNames, in the order given (the window's list is alphabetical), into
    /// the folder PastaXML, or into folder when it is not empty.
    TableExportResult run(const std::vector<std::string>& displayNames, TableExportFormat format,
                          const std::string& folder = std::string());

private:
    TableExportResult saveFailed(TableExportResult result, const std::string& failure);
    void closeOrientador();

    AppContext& m_ctx;
    TableExportProgress& m_progress;
};
