#pragma once

#include <string>
#include <vector>

struct AppContext;
struct TransferProgress;

/// How the tables of one unit of a transfer (a declaration, a licence, a DSI) are prepared before it is
/// written: which file, which tables, and whether the unit gets a micro number of its own.
struct UnitPreparation {
    const char* baseName; // "IMPORT", "REGIMP", "DSI", "LIDSI"
    /// The field every table of the unit is keyed by (NR_DECL_IMP_MICRO, CD_DSI_MICRO …).
    const char* keyField;
    /// The tables cleared of the unit, in this order.
    std::vector<const char*> tables;
    /// Numbered units (DI, LI): the head table, where identField holds the unit's identifier and keyField
    /// the micro number handed out. Null for units keyed by the process identifier itself (DSI, LSI).
    const char* headTable = nullptr;
    const char* identField = nullptr;

    bool numbered() const { return headTable != nullptr; }
    /// The progress steps of the preparation: one per table, and the head table once more when numbered.
    int steps() const { return static_cast<int>(tables.size()) + (numbered() ? 1 : 0); }
};

/// Clears the unit's earlier rows from every table of the preparation (inside the transfer's
/// transaction when one is open on the file) and returns the key its rows are to carry: a new micro
/// number for a numbered unit, the trimmed identifier otherwise.
///
/// A numbered unit transferred before is found by its identifier in the head table; the rows its earlier
/// transfers left under their own micro numbers are removed from every table too, so a transfer done
/// again replaces the whole unit instead of leaving orphan rows behind. A blank identifier is refused
/// before anything is removed. Throws AppError (the table preparation's failures) for the transfer.
std::string prepareUnit(AppContext& ctx, TransferProgress& progress, const UnitPreparation& preparation,
                        const std::string& id);
