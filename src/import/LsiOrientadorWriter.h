#pragma once

#include "import/LicenceSources.h"
#include "import/OrientadorRowWriter.h"

#include <string>

struct AppContext;
struct TransferProgress;

/// Writes the licence on the current row of cdsXMLAux2 into LIDSI.MDB under the process identifier, by
/// the rules of LsiOrientadorRules: the operation (with the goods of the licence's first item) and its
/// consenting-agency processes. Expects ADOCon_IMPORT connected to LIDSI.MDB and the progress window
/// open. Field failures are reported and skipped; anything else is raised for the transfer's handler.
class LsiOrientadorWriter {
public:
    static constexpr int TableCount = 2;

    /// sources serves the licences of the current process.
    LsiOrientadorWriter(AppContext& ctx, TransferProgress& progress, LicenceSources& sources, const std::string& key);

    void write();

private:
    void operation();
    void agencyProcesses();

    AppContext& m_ctx;
    std::string m_licence;
    OrientadorRowWriter m_w;
    LicenceSources& m_sources;
};
