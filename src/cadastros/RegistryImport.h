#pragma once

#include <string>

struct AppContext;
struct Registry;

/// Loads a Merlin registry export file (XML) into one registry's table: codes not yet in the table are
/// inserted, codes already there get their description replaced. The file is read through the
/// registry's transformation file (INTEGR_UNIDADE.XTR …, in the ArqTransform folder) into the data
/// module's main record set, the same way as a process document.
///
/// Each record is one lookup and one statement, committed on its own: a failure stops the import at
/// that record, keeps what was written before it, and is reported (error box, ERRO.CSV).
class RegistryImport {
public:
    static constexpr const char* Caption = "Pelomira";
    static constexpr const char* DialogTitle = "Selecionar arquivo XML - Importação de Tabela MERLIN";
    static constexpr const char* DialogFilter = "Arquivo no formato XML|*.xml";
    static constexpr const char* DialogDefaultExt = "*.xml";

    enum class Result {
        Cancelled, // the file dialog was cancelled
        Empty,     // the file gave no record (warning shown, nothing changed)
        Imported,  // every record written (counts shown)
        Failed     // stopped at a record (reported)
    };
    struct Outcome {
        Result result = Result::Cancelled;
        int inserted = 0;
        int updated = 0;
        int withoutCode = 0; // records skipped for want of a code (each one is in ERRO.CSV)
    };

    RegistryImport(AppContext& ctx, const Registry& registry);

    /// The button "I&mportar": asks for the file, then imports it.
    Outcome run();
    /// Imports a chosen file. Everything is reported here; nothing is thrown.
    Outcome importFile(const std::string& file);

    std::string emptyFileWarning() const;
    std::string progressTitle(const std::string& baseName) const;
    static std::string stepText(int number, int count);
    std::string doneText(int inserted, int updated, int withoutCode = 0) const;
    /// "Importando cadastro de Unidade (XML)": the procedure of the ERRO.CSV line.
    std::string failureProcedure() const;
    std::string failureText(const std::string& baseName, const std::string& failure) const;

private:
    Outcome load(const std::string& file, const std::string& baseName);

    AppContext& m_ctx;
    const Registry& m_registry;
};
