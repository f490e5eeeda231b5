#pragma once

#include "import/ProcessTransfer.h"

#include <map>
#include <memory>
#include <utility>

/// The transfers that exist, one per destination and process kind. The entries dispatch through
/// it; a kind without a transfer is reported to the operator as not available.
class ProcessTransfers {
public:
    void add(ProcessDestination destination, ProcessKind kind, std::shared_ptr<ProcessTransfer> transfer);
    /// nullptr when there is no such transfer.
    ProcessTransfer* find(ProcessDestination destination, ProcessKind kind) const;

    /// Every transfer built into the program. A new transfer is added here.
    static ProcessTransfers available();

private:
    std::map<std::pair<ProcessDestination, ProcessKind>, std::shared_ptr<ProcessTransfer>> m_transfers;
};
