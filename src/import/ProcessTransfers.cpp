#include "import/ProcessTransfers.h"

#include "import/DiNorvikTransfer.h"
#include "import/DiOrientadorTransfer.h"
#include "import/DsiOrientadorTransfer.h"
#include "import/LiOrientadorTransfer.h"
#include "import/LsiOrientadorTransfer.h"

std::string processKindName(ProcessKind kind) {
    switch (kind) {
    case ProcessKind::LI:
        return "LI";
    case ProcessKind::DSI:
        return "DSI";
    case ProcessKind::LSI:
        return "LSI";
    default:
        return "DI";
    }
}

std::string processDestinationName(ProcessDestination destination) {
    return destination == ProcessDestination::Norvik ? "NORVIK" : "Orientador - SISCOMEX";
}

void ProcessTransfers::add(ProcessDestination destination, ProcessKind kind,
                           std::shared_ptr<ProcessTransfer> transfer) {
    m_transfers[{destination, kind}] = std::move(transfer);
}

ProcessTransfer* ProcessTransfers::find(ProcessDestination destination, ProcessKind kind) const {
    const auto it = m_transfers.find({destination, kind});
    return it == m_transfers.end() ? nullptr : it->second.get();
}

ProcessTransfers ProcessTransfers::available() {
    ProcessTransfers transfers;
    // The transfers register here as they are built.
    transfers.add(ProcessDestination::Orientador, ProcessKind::DI, std::make_shared<DiOrientadorTransfer>());
    transfers.add(ProcessDestination::Orientador, ProcessKind::LI, std::make_shared<LiOrientadorTransfer>());
    transfers.add(ProcessDestination::Orientador, ProcessKind::DSI, std::make_shared<DsiOrientadorTransfer>());
    transfers.add(ProcessDestination::Orientador, ProcessKind::LSI, std::make_shared<LsiOrientadorTransfer>());
    transfers.add(ProcessDestination::Norvik, ProcessKind::DI, std::make_shared<DiNorvikTransfer>());
    return transfers;
}
