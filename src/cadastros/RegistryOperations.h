#pragma once

#include "cadastros/Registry.h"

#include <optional>
#include <string>
#include <vector>

struct AppContext;
class IntegraTable;
class RecordSet;

/// State of the row a registry window edits.
enum class RegistryEditState { Browse, Insert, Edit };

/// What the registry windows do with their table, without the window: lookups, save, delete, the
/// next free code, and the texts they show. The window keeps the focus, the new-record mode and the
/// pending row; it calls these routines and shows what they return. Every statement goes through
/// the table's statement in the data module, so the table's rows show the last lookup.
class RegistryOperations {
public:
    static constexpr const char* Caption = "Pelomira";
    static constexpr const char* CodeFieldHint = "<ALT+V> - Código Vago";
    static constexpr const char* CodeRequired = "Campo CÓDIGO MERLIN obrigatório!";
    static constexpr const char* FailureHeadline = "OCORREU UM ERRO";

    RegistryOperations(AppContext& ctx, const Registry& registry);

    const Registry& registry() const { return m_registry; }
    IntegraTable& table() { return m_table; }
    RecordSet& rows();

    std::string selectByCodeSql(const std::string& code) const;
    std::string insertSql(const std::string& code, const std::string& description) const;
    /// UPDATE of the row whose code is the trimmed code.
    /// The row whose code is rowCode (the trimmed code when none is given) gets code and description.
    std::string updateSql(const std::string& code, const std::string& description,
                          const std::optional<std::string>& rowCode = std::nullopt) const;
    std::string deleteSql(const std::string& code) const;
    /// The codes that may be plain numbers: those starting with a digit 1 to 9.
    std::string numericCodesSql() const;

    /// Showing the window: every row, the last one current.
    void showAll();

    /// What leaving the code field leads to.
    enum class CodeExit {
        Nothing, // empty code, or the operator declined the insert
        Found,   // the row is now the current one
        Insert   // start a new row with this code
    };
    /// Leaving the code field: looks the trimmed code up; when it is missing, starts an insert in
    /// new-record mode or else asks the not-found question. Failures reach the caller.
    CodeExit codeFieldExit(const std::string& codeText, bool newRecordMode);

    /// The code ALT+V proposes: the smallest n = 1, 2, … such that no row has the code "n" (decimal,
    /// no leading zeros). One query, whatever the size of the table.
    std::string nextFreeCode();
    /// The same answer from a list of codes; the database compares texts ignoring trailing blanks,
    /// so "7 " counts as 7, while "07" and " 7" do not.
    static std::string firstFreeCode(const std::vector<std::string>& codes);

    struct SaveOutcome {
        enum class Focus { None, Code, Description };
        bool saved = false;
        Focus focus = Focus::None;
        std::string status; // status panel text after a save
    };
    /// Save (toolbar "&Salvar"): nothing in browse state; checks the two fields (error box and the
    /// field to focus); UPDATE in edit state, INSERT in insert state; then looks the code up again.
    /// A failure is reported (error box, ERRO.CSV) and leaves everything as it was.
    SaveOutcome save(RegistryEditState state, const std::string& code, const std::string& description);

    struct DeleteOutcome {
        bool deleted = false;
        std::string status;
    };
    /// Delete (toolbar "&Excluir"): nothing when the code field is empty; asks the delete question with
    /// the current row's code and description; deletes by the code field's code, then shows the
    /// table again. A failure is reported and the table is not shown again.
    DeleteOutcome remove(const std::string& codeFieldText, const std::string& rowCode,
                         const std::string& rowDescription);

    std::string saveProcedure() const { return "Gravando dados na tabela " + m_registry.table; }
    std::string deleteProcedure() const { return "Excluindo dados da tabela " + m_registry.table; }
    static std::string savedStatus(const std::string& code, const std::string& description);
    static std::string deletedStatus(const std::string& code, const std::string& description);

private:
    AppContext& m_ctx;
    const Registry& m_registry;
    IntegraTable& m_table;
};
