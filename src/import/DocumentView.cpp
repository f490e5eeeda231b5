#include "import/DocumentView.h"

#include "base/AppContext.h"
#include "data/TDM.h"
#include "import/ProcessTransfer.h"

void openDocumentView(AppContext& ctx, const LoadedProcessDocument& document, RecordSet& view, const char* transform,
                      const std::string& commandText) {
    TDM& dm = ctx.dm;
    dm.XMLTPAux.setXMLDataFile(document.file);
    dm.XMLTPAux.setTransformation(ctx.platform, document.transformFolder, transform);
    view.unbindNested();
    view.setProvider(&dm.XMLTPAux);
    view.setCommandText(commandText);
    view.open();
}
