#pragma once

#include "import/FieldSources.h"
#include "import/ProcessTransfer.h"

#include <map>
#include <string>
#include <vector>

struct AppContext;
struct TransferProgress;
class DbfTable;
class NorvikTable;
struct NorvikRule;

/// Writes the DI of the current record of cdsXMLPrincipal into the NORVIK folder: rates, importer,
/// the RIREGI header with its warehouse, transporter and agent, the process lists, the additions (into
/// the work file, handed to the merge program), their lists and items, the totals and the FOB summary.
/// Field failures are reported and skipped; anything else is raised for the transfer's own handler.
class DiNorvikWriter {
public:
    static constexpr int StepCount = 18;
    static constexpr const char* PreparingTitle = "Preparando a transferência, Aguarde...";
    static constexpr const char* MergeProgram = "AUXQRPX.EXE";
    static constexpr const char* WorkCopyFailure =
        "Erro ao criar tabela temporária\rPor favor entre em contato com o suporte técnico";
    static constexpr const char* WorkCopyProcedure = "Criando Tabela Temporária (RIADIC)";
    static constexpr std::size_t ComplementaryLimit = 7800;
    static constexpr std::size_t DescriptionLimit = 3900;

    DiNorvikWriter(AppContext& ctx, TransferProgress& progress, const LoadedProcessDocument& document,
                   std::string registro, bool overwritten);

    void write();

    /// REGISTRO of a process identifier: the identifier as held when its trimmed form is shorter than 13
    /// characters, otherwise its characters 3 to 14, padded to 12.
    static std::string processKey(const std::string& id);
    /// The work copy's name: "TM" + the last six characters of the trimmed key + ".DBF"; a character
    /// that could name another folder ("/", "\", ".", blanks) becomes "_".
    static std::string workCopyName(const std::string& registro);

private:
    struct Sums {
        double valor = 0, real = 0;
        std::string currency, lastType;
    };

    void step(const std::string& text);
    void tableStep(const NorvikTable& vk);
    void rates();
    void importer();
    void header();
    void warehouse();
    std::string carrier(NorvikTable& vk, const std::string& prefix, bool withCountry);
    void processLists();
    void additions();
    void partiesOfAddition(DbfTable& adic);
    void additionFiles();
    void exchangeContracts();
    void instalments();
    void adjustments();
    void legalActs();
    void ncmHighlights();
    void simpleList(NorvikTable& vk, const char* nested, const std::vector<NorvikRule>& rules, bool nve);
    void items();
    void totals();
    void fobSummary();
    void handOver();
    void icms();
    void removeWritten() noexcept;

    void apply(DbfTable& t, const std::vector<NorvikRule>& rules);
    void literal(DbfTable& t, const std::string& field, const std::string& value);
    void dollars(DbfTable& t, const std::string& field, const std::string& reais);
    std::string principal(const std::string& field) const;
    void bindAdditions();
    void bindItems(const std::string& additionId);
    void bindAdditionList(const std::string& nested);
    double amount(const std::string& text, const std::string& what) const;
    std::string money(double value) const;

    AppContext& m_ctx;
    TransferProgress& m_progress;
    const LoadedProcessDocument& m_document;
    FieldSources m_sources;
    std::string m_registro;
    std::string m_rateDate;
    bool m_overwritten;
    int m_step = 0;

    std::string m_importer, m_lastItemCurrency;
    std::vector<std::string> m_cashAdditions, m_advanceAdditions, m_instalmentAdditions;
    std::map<std::string, double> m_fobByCurrency, m_additionsByCurrency;
    std::vector<std::string> m_currencies;                                // in order of first appearance
    std::map<std::string, std::pair<std::string, std::string>> m_parties; // addition → manufacturer, exporter
    Sums m_acresc, m_deduc;
    std::string m_highestItem, m_highestAddition;
    bool m_written = false;
};
