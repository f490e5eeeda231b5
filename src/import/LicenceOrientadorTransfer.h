#pragma once

#include "import/OrientadorTransfer.h"

class LicenceSources;

/// What the LI and LSI transfers share: the licences of each process (its DADOS_LI on cdsXMLAux2), one
/// unit each; an impeded licence ends its process, a process without licences ends the run; the closing
/// text lists the licences transferred and those not received for an impediment.
class LicenceOrientadorTransfer : public OrientadorTransfer {
public:
    static constexpr const char* NoLicenceData = "Este processo não contém dados de LI!";

    using OrientadorTransfer::OrientadorTransfer;

    /// kind + "(s) " + list + " transferida(s) com êxito!" + "\r"
    std::string successText(const std::string& list) const;
    /// kind + "(s) NÃO RECEBIDAS por impedimento: " + list
    std::string impededText(const std::string& list) const;

protected:
    bool transferProcess(TransferRun& run) final;
    void finish(TransferRun& run) final;

    /// The key the licence's tables are prepared and written under: the licence itself (LI) or its
    /// process (LSI).
    virtual std::string unitKey(TransferRun& run, const std::string& licenceId) const = 0;
    /// Writes the licence on the current row of cdsXMLAux2 under key; sources serves the licences of the
    /// current process.
    virtual void writeLicence(TransferRun& run, LicenceSources& sources, const std::string& key) = 0;
    /// The licence is in the file whole. previous is the licence of the same process written before it
    /// in this run ("" for its first). Lists it as transferred.
    virtual void licenceWritten(TransferRun& run, const std::string& licenceId, const std::string& previous);
};
