#pragma once

#include "retorno/ReturnList.h"

#include <string>
#include <unordered_set>
#include <vector>

struct AppContext;
struct ScanSource;
class RecordSet;

/// The registration scan: finds the processes the Orientador has registered (LIDSI.MDB, DSI.MDB,
/// REGIMP.MDB, IMPORT.MDB, in that order) that are not yet returned to Merlin, and puts them into a
/// return list.
///
/// Two selections: the manual scan (the return window, `pelomira-cli return list`) lists a row when the
/// registration number, date, protocol and, for DSI and DI, the other dates all have text, unticked; the
/// automatic scan (the alert timer, `return send --all`) takes every row with a registration date,
/// ticked. Both leave out the processes GERADOS holds and those Merlin accepted whose row is still
/// pending (PendingReturns), which they first try to write into GERADOS.
///
/// GERADOS is read once per scan and each Orientador table with one statement, so the cost does not
/// grow by a round trip to a shared database per row. Each table is closed and its file let go when it
/// has been read, so the Orientador finds its files free.
class RegistrationScan {
public:
    static constexpr const char* ProgressTitle = "Preparando a transferência, Aguarde...";
    static constexpr const char* FailureHeadline = "OCORREU UM ERRO NA CONSULTA";

    explicit RegistrationScan(AppContext& ctx) : m_ctx(ctx) {}

    /// CarregarRetorno: empties list and fills it with the manual selection, under the progress window
    /// ("Carregando Processos de LSI..." …). A failure ends the scan: ERRO.CSV gets "Procedimento: " +
    /// the progress caption + " - Erro: " + message, the operator the error box, the progress window is
    /// closed; the rows found before it stay in the list. False after a failure.
    bool manual(RecordSet& list);
    /// The automatic scan: empties list and fills it with every registered row, ticked. Throws AppError
    /// on failure (the automatic run reports it).
    void automatic(RecordSet& list);

    /// One Orientador row as the return list holds it. row holds the texts of source.fieldsRead().
    /// Throws AppError naming the field when a date is not one.
    static ReturnEntry entryOf(const ScanSource& source, const std::vector<std::string>& row);
    /// A date text of the list (dd/mm/yyyy) from an Orientador date text ("dd/mm/yyyy[ hh:mm:ss]") or a
    /// DI's eight characters ddmmyyyy; empty for a date the row does not carry. Throws AppError with
    /// what when the text is no date.
    static std::string listDate(const std::string& text, bool dayMonthYear8, const std::string& what);

private:
    void scan(RecordSet& list, bool automatic);
    std::unordered_set<std::string> returnedKeys();

    AppContext& m_ctx;
};
