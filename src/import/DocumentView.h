#pragma once

#include <string>

struct AppContext;
struct LoadedProcessDocument;
class RecordSet;

/// Opens a record set on the process document through another transformation file of XMLTPAux (the
/// additions with their lists, the manufacturers and exporters, the licence data, the drawback data),
/// narrowed by commandText.
void openDocumentView(AppContext& ctx, const LoadedProcessDocument& document, RecordSet& view, const char* transform,
                      const std::string& commandText);
