#pragma once

#include <string>

struct AppContext;
struct LoadedProcessDocument;
class OrientadorRowWriter;

/// Writes the supplier and the manufacturer of goods into the current row, from the FABR_EXP rows of
/// the document (cdsXMLFabrExp through FABR_EXP.xtr), as the DI's additions and the LI's operations do.
class PartyWriter {
public:
    PartyWriter(AppContext& ctx, const LoadedProcessDocument& document, OrientadorRowWriter& w);

    /// The exporter's name and address (each followed by one blank); nothing when it is not in the
    /// document.
    void supplier(const std::string& exporterId);
    /// CD_AUSENCIA_FABRIC: "1" when the manufacturer is the exporter, "3" when there is none, else "2"
    /// with the manufacturer's name and address.
    void manufacturer(const std::string& manufacturerId, const std::string& exporterId);

private:
    /// Opens cdsXMLFabrExp on the document's manufacturers and exporters and goes to the row of id.
    bool find(const std::string& id);

    AppContext& m_ctx;
    const LoadedProcessDocument& m_document;
    OrientadorRowWriter& m_w;
    bool m_read = false;
};
