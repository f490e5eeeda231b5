#pragma once

#include <string>
#include <vector>

/// One of the four code registries of the Integra database (units, countries, exporters,
/// manufacturers): its table, its window's texts and the layout of its Merlin export file.
/// The four share one design; this is what tells them apart.
struct Registry {
    std::string formClass;  // TfrmUnidade
    std::string caption;    // window caption
    std::string table;      // UNIDADE
    std::string codeColumn; // ID_UNIDADE
    std::string name;       // "Unidade": the registry in messages and in the mapping window's list
    std::string plural;     // "Unidades"
    std::string emptyDescriptionMessage;
    std::string notFoundSuffix;  // after "Unidade " + code
    bool codeFieldReacts = true; // the code field answers Enter, Exit and ALT+V
    // Import from a Merlin export file.
    std::string transformFile;        // INTEGR_UNIDADE.XTR
    std::string fileCodeField;        // K_COD_UNIDAD
    std::string fileDescriptionField; // DESC_UNIDAD

    static constexpr const char* DescriptionColumn = "DESCRICAO";

    /// "Unidade 12 não encontrada, incluir?"
    std::string notFoundQuestion(const std::string& code) const;
    /// "Excluir Unidade 12" + CR + description + "?"
    std::string deleteQuestion(const std::string& code, const std::string& description) const;

    static const Registry& unidade();
    static const Registry& pais();
    static const Registry& exportador();
    static const Registry& fabricante();
    /// The four, in the order of the mapping window's list (Exportador, Fabricante, País, Unidade).
    static const std::vector<const Registry*>& all();
    /// By table name ("UNIDADE", any case), or nullptr.
    static const Registry* byTable(const std::string& table);
    /// By the registry's name as the mapping window lists it ("País"), compared with a–z upper-cased
    /// only, or nullptr.
    static const Registry* byName(const std::string& name);
};
