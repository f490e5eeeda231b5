#pragma once

#include "import/ProcessTransfer.h"

#include <optional>
#include <string>

struct AppContext;
class ProcessTransfers;
class RecordSet;

// Loading a process document and handing it to the transfer of its kind: the prologue both entries
// share (Orientador and NORVIK), in pieces the command line reuses.

/// The message for a document whose process has no identifier (the LI, DSI and LSI transfers show it
/// too).
extern const char* const ProcessNotValidatedText;
/// The impediment message for a process or licence id with Merlin's description (both trimmed).
std::string processImpedimentText(const std::string& id, const std::string& description);

/// The Orientador entry: the prologue, then the LI (TIPO_PROCESSO 2), DSI (3), LSI (4) or DI
/// (anything else) transfer. documentText is the answer of the web service; when it is empty the
/// operator picks the file. Failures are reported here (message box and ERRO.CSV); nothing escapes.
/// Returns how the run ended: the transfer's outcome, or why the prologue ended it.
TransferOutcome importProcessToOrientador(AppContext& ctx, const std::string& documentText,
                                          const ProcessTransfers& transfers);
/// The NORVIK entry: the prologue, then the NORVIK DI transfer (TIPO_PROCESSO is read, not used).
TransferOutcome importProcessToNorvik(AppContext& ctx, const std::string& documentText,
                                      const ProcessTransfers& transfers);

/// The prologue: activity-log line, document file (TEMP.XML or the file dialog), load through
/// DI.xtr, impediment and identifier checks, process kind. nullopt when the run ends here, with ended
/// saying why (dialog cancelled: not confirmed; impeded, not validated: failed; the operator has been
/// told). Throws AppError on a document or transformation that cannot be read, or a TIPO_PROCESSO that
/// is not a whole number.
std::optional<LoadedProcessDocument> runProcessPrologue(AppContext& ctx, ProcessDestination destination,
                                                        const std::string& documentText, TransferOutcome& ended);

/// The transformation folder: setting ArqTransform, or the program folder + "XTR" when it is empty.
std::string transformFolder(AppContext& ctx);

/// The document as a file: a non-empty text is checked and saved as TEMP.XML in the program folder;
/// an empty one opens the file dialog. Empty when the operator cancels.
std::string obtainProcessDocumentFile(AppContext& ctx, const std::string& documentText);

enum class ProcessDocumentStatus { Loaded, Impeded, NotValidated };

/// Loads file into cdsXMLPrincipal through DI.xtr (command text "SELECT * FROM " + base name) and
/// checks its first record: impediment (message and activity-log line) and identifier (message; an
/// identifier of blanks is no identifier).
ProcessDocumentStatus openProcessDocument(AppContext& ctx, const std::string& file, const std::string& folder);

/// The base name of a document file: the name after the last separator without its last four characters.
std::string processDocumentBaseName(const std::string& file);

/// TIPO_PROCESSO of the current record read as a whole number; throws AppError when it is not one.
long long processKindCode(const RecordSet& principal);
/// The Orientador's dispatch of a kind code: 2 LI, 3 DSI, 4 LSI, anything else DI.
ProcessKind processKindOfCode(long long code);
