#pragma once

#include <optional>
#include <string>
#include <vector>

struct AppContext;
class IntegraTable;

/// The mapping of customer codes to Merlin codes (table VINCULO) used by the customer file
/// integrations, and the routines of the mapping window TfrmVinculo.
///
/// Everything is stored and looked up with a–z upper-cased (accented letters keep their case).
class CodeMapping {
public:
    static constexpr const char* Table = "VINCULO";
    static constexpr const char* WindowCaption = "Vínculos (Tabela De / Para)";
    static constexpr const char* Caption = "Pelomira";
    static constexpr const char* FailureHeadline = "OCORREU UM ERRO";
    static constexpr const char* SaveProcedure = "Gravando dados na tabela VINCULO";

    explicit CodeMapping(AppContext& ctx);

    /// The Merlin code of a customer code. While there is none, asks the operator for it (the mapping
    /// window) and looks again; the window stores the answer. Throws AppError when nobody can be
    /// asked, and on database failures (the caller's handler reports them).
    std::string lookup(const std::string& customer, const std::string& registry, const std::string& customerCode);
    /// One lookup without asking: the Merlin code, or nothing when the code has no mapping.
    std::optional<std::string> find(const std::string& customer, const std::string& registry,
                                    const std::string& customerCode);

    /// "&Salvar" of the mapping window: stores the four values trimmed and upper-cased. Nothing happens
    /// (false) when the Merlin code is empty. A failure is reported (error box, ERRO.CSV) and gives
    /// false, so the window stays open for another try.
    bool save(const std::string& customer, const std::string& registry, const std::string& customerCode,
              const std::string& merlinCode);

    static std::string lookupSql(const std::string& customer, const std::string& registry,
                                 const std::string& customerCode);
    static std::string insertSql(const std::string& customer, const std::string& registry,
                                 const std::string& customerCode, const std::string& merlinCode);
    /// The registries of the window's list, in order: "Exportador", "Fabricante", "País", "Unidade".
    static std::vector<std::string> registryItems();
    /// The list item the window selects for a registry name: the first whose upper-cased text equals
    /// the upper-cased name, or −1.
    static int registryItemIndex(const std::string& registry);

private:
    AppContext& m_ctx;
    IntegraTable& m_table;
};
