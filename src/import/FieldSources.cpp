#include "import/FieldSources.h"

#include "data/TDM.h"

FieldSources FieldSources::fromDataModule(TDM& dm) {
    FieldSources sources;
    sources.sets = {&dm.cdsXMLPrincipal, &dm.cdsXMLAux,   &dm.cdsXMLTPAux2,
                    &dm.cdsXMLTPAux3,    &dm.cdsXMLTPAux, &dm.cdsXMLAux2};
    return sources;
}
