#pragma once

#include "import/TransferOutcome.h"

#include <string>

struct AppContext;

/// Process kind of a process document (TIPO_PROCESSO 1 to 4).
enum class ProcessKind { DI, LI, DSI, LSI };
/// Where a process document is written.
enum class ProcessDestination { Orientador, Norvik };

/// "DI", "LI", "DSI" or "LSI".
std::string processKindName(ProcessKind kind);
/// "Orientador - SISCOMEX" or "NORVIK".
std::string processDestinationName(ProcessDestination destination);

/// What the common prologue hands to a transfer once the document is loaded and checked.
struct LoadedProcessDocument {
    std::string file;            // the XML data file: TEMP.XML or the file the operator chose
    std::string transformFolder; // folder of the transformation files (setting ArqTransform)
    std::string baseName;        // file name without folder and extension, as the command text uses it
    ProcessKind kind = ProcessKind::DI;
};

/// One transfer of a loaded process document to one destination (for example the DI transfer into
/// the Orientador). When run is called, ctx.dm.cdsXMLPrincipal is open on its first record, read
/// from document.file through DI.xtr, and the first process is neither impeded nor without
/// identifier. The transfer asks its own confirmation, reports its own failures to the operator and
/// returns how it ended.
class ProcessTransfer {
public:
    virtual ~ProcessTransfer() = default;
    virtual TransferOutcome run(AppContext& ctx, const LoadedProcessDocument& document) = 0;
};
