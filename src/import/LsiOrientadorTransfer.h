#pragma once

#include "import/LicenceOrientadorTransfer.h"

/// The LSI transfer into the Orientador: the licences of a simplified declaration into LIDSI.MDB, one
/// operation per licence under the process identifier. The licences of one process share that number, so
/// a later licence replaces the one before it: only the licence that stays is listed as transferred, and
/// the operator is told which one it replaced.
class LsiOrientadorTransfer : public LicenceOrientadorTransfer {
public:
    LsiOrientadorTransfer();

    /// The warning about a licence replaced by the next one of its process.
    static std::string replacedText(const std::string& replaced, const std::string& by, const std::string& process);
    /// The activity-log line of it.
    static std::string replacedLog(const std::string& replaced, const std::string& by, const std::string& process);

protected:
    std::string unitKey(TransferRun& run, const std::string& licenceId) const override;
    void writeLicence(TransferRun& run, LicenceSources& sources, const std::string& key) override;
    void licenceWritten(TransferRun& run, const std::string& licenceId, const std::string& previous) override;
};
