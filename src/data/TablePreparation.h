#pragma once

#include <set>
#include <string>

struct AppContext;
struct TransferProgress;

// The table preparation every Orientador transfer runs before it writes: the rows an earlier transfer
// of the same process left behind are removed, and the number of the new row is handed out. Both
// leave TDM::ADOCon_IMPORT connected to the named file and TDM::ADOTbl_IMPORT open on the named table,
// and expect the progress window to be open. Neither catches anything: a missing folder, file, table
// or field, or a locked file, ends the calling transfer with an AppError. A blank key value is refused
// before anything is removed (it would match every row without a key). While a transaction is open on
// the connection, its file is kept and the removal belongs to the transaction.

/// Connects TDM::ADOCon_IMPORT to the file of baseName (the preparation's connection string) and opens
/// TDM::ADOTbl_IMPORT on table, as both routines do before they remove anything.
void openPreparationTable(AppContext& ctx, const std::string& baseName, const std::string& table);

/// Clears one table of a process (every row whose keyField equals keyValue, ignoring case) and counts
/// one progress step "Verificando dados da tabela " + table against stepCount.
void VERIFICATABELA(AppContext& ctx, TransferProgress& progress, const std::string& baseName, const std::string& table,
                    const std::string& keyField, int stepCount, const std::string& keyValue);

/// Clears one table of a process like VERIFICATABELA and returns the micro number nnnnn/yy that the
/// next new row of the table is to carry: the sequence of the last row's numberField plus one (when the
/// last row's keyField is not empty), else 1, and the two-digit year of the local date. A last row whose
/// number does not begin with five digits is named in ERRO.CSV and the row before it counts instead. An empty
/// numberField means keyField. A number some row of the table already carries is never returned: a
/// taken sequence is skipped, and past 99999 the lowest free sequence of the year is used; when the
/// year has none left an AppError says so. Counts one progress step against the transfer's step count.
std::string VERIFICATABELANUMERO(AppContext& ctx, TransferProgress& progress, const std::string& baseName,
                                 const std::string& table, const std::string& keyField, const std::string& numberField,
                                 const std::string& keyValue);

/// The micro number after the sequence lastSequence (0 when the table has no numbered row) for the
/// two-digit year yy: the next sequence no row carries (taken holds the sequences of year yy in use),
/// or, past 99999, the lowest free one. Throws AppError when every sequence of the year is in use.
std::string nextMicroNumber(long long lastSequence, const std::string& yy, const std::set<int>& taken);
