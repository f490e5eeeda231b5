#pragma once

#include "data/SharedFile.h"

#include <string>
#include <utility>
#include <vector>

struct AppContext;
class NorvikTable;

/// The NORVIK routines the DI transfer builds on: opening a table of the NORVIK folder, the next free
/// code, the code lookup, the removal of a process's rows, the presence check and the exchange rates.
/// None of them catches a failure: a missing file, index or field, or a lock not obtained in time,
/// reaches the caller as an AppError that names the file.
namespace NorvikFiles {

/// The currency of the reais.
inline constexpr const char* NationalCurrency = "790";
inline constexpr const char* PresenceTitle = "Pelomira";
inline constexpr const char* OverwriteButton = "&Sobrepõe";
inline constexpr const char* CancelButton = "&Cancelar";
inline constexpr const char* CheckingTitle = "Checando tabelas, aguarde...";
inline constexpr const char* CheckingStep = "Verificando a tabela ";

/// The fixed width rule: the first n characters, blanks appended up to n.
std::string fixedWidth(const std::string& value, std::size_t n);
/// A numeric code of width n: "0" prepended up to n characters.
std::string codeOfWidth(const std::string& value, std::size_t n);

/// Opens a table of the NORVIK folder (read from VORDA.INI now) with its indices, the first one
/// active. The file names are bound at the first open and follow the folder when VORDA.INI changes.
void openTable(AppContext& ctx, NorvikTable& vk, const std::string& base, const std::vector<std::string>& indices);
/// Opens the additions' work file RIADIC_TEMP.DBF of the program folder.
void openWorkFile(AppContext& ctx, NorvikTable& vk);

/// The lowest code from 1 not yet in codeField, zero-padded to width. Closes the table.
std::string nextFreeCode(AppContext& ctx, NorvikTable& vk, const std::string& base,
                         const std::vector<std::string>& indices, std::size_t width, const std::string& codeField);

/// resultField of the first record whose key fields hold the values (each padded or cut to its
/// width), or "0". The table stays open.
std::string codeLookup(AppContext& ctx, NorvikTable& vk, const std::string& base,
                       const std::vector<std::string>& indices, const std::string& resultField,
                       const std::vector<std::pair<std::string, std::size_t>>& keyFields,
                       const std::vector<std::string>& values);

/// Deletes every record whose keyField equals keyValue (without case), in one index batch; closes.
void removeProcessRows(AppContext& ctx, NorvikTable& vk, const std::string& base,
                       const std::vector<std::string>& indices, const std::string& keyField,
                       const std::string& keyValue);

enum class Presence { GoOn, Stop };
/// The process presence check on RIREGI: absent goes on at once; present asks "&Sobrepõe" or
/// "&Cancelar"; overwriting deletes the process from RIREGI and every companion table and looks
/// again. overwritten tells whether anything was replaced. processId is the identifier shown.
Presence processPresenceCheck(AppContext& ctx, const std::string& keyField, const std::string& keyValue,
                              const std::string& processId, bool& overwritten);
/// "Declaração de Importação " + CR + id + CR + "já existente no NORVIK!"
std::string presenceText(const std::string& processId);

/// TX_REAL of (currency, date) in RITAXA, or 0.
double exchangeRate(AppContext& ctx, const std::string& currency, const std::string& date);
/// amount from one currency into another on date through the rates in reais; 0 when a rate is missing.
double convertAmount(AppContext& ctx, const std::string& date, const std::string& from, const std::string& to,
                     double amount);

/// Held while a record is looked for and made when missing (an importer, a rate, a unit …), so two
/// copies of this program never both miss it and make it twice. It locks a byte of the table just below
/// the workstations' lock area, which nothing else locks, so the table's own locks stay free.
class CreationLock {
public:
    CreationLock(AppContext& ctx, const std::string& base);
    CreationLock(const CreationLock&) = delete;
    CreationLock& operator=(const CreationLock&) = delete;

private:
    SharedFile m_file;
};

/// The tables the presence check clears after RIREGI, with their indices, in order.
const std::vector<std::pair<std::string, std::vector<std::string>>>& processTables();

} // namespace NorvikFiles
