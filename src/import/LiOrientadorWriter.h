#pragma once

#include "import/LicenceSources.h"
#include "import/OrientadorRowWriter.h"
#include "import/PartyWriter.h"

#include <string>

struct AppContext;
struct LoadedProcessDocument;
struct TransferProgress;

/// Writes the licence on the current row of cdsXMLAux2 into REGIMP.MDB under its micro number, by the
/// rules of LiOrientadorRules: the operation, its NCM highlights, its consenting-agency processes and its
/// goods. Expects ADOCon_IMPORT connected to REGIMP.MDB and the progress window open. Field failures are
/// reported and skipped; anything else is raised for the transfer's handler.
class LiOrientadorWriter {
public:
    static constexpr int TableCount = 4;

    /// sources serves the licences of the current process.
    LiOrientadorWriter(AppContext& ctx, TransferProgress& progress, const LoadedProcessDocument& document,
                       LicenceSources& sources, std::string micro);

    void write();

private:
    void operation();
    void lists();
    void goods();

    AppContext& m_ctx;
    TransferProgress& m_progress;
    const LoadedProcessDocument& m_document;
    std::string m_licence;
    OrientadorRowWriter m_w;
    PartyWriter m_parties;
    LicenceSources& m_sources;
};
