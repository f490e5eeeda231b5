#include "import/ProcessRecordSets.h"

#include "data/TDM.h"

namespace {

void rebind(RecordSet& set, XmlTransformProvider& provider) {
    set.unbindNested(); // closes it
    set.setIndexFieldNames("");
    set.setProvider(&provider);
}

} // namespace

void resetProcessRecordSets(TDM& dm) {
    rebind(dm.cdsXMLPrincipal, dm.XMLTransformProvider);
    rebind(dm.cdsXMLAux, dm.XMLTransformProvider);
    for (RecordSet* set :
         {&dm.cdsXMLTPAux, &dm.cdsXMLTPAux2, &dm.cdsXMLTPAux3, &dm.cdsXMLFabrExp, &dm.cdsXMLTaxas, &dm.cdsXMLAdicao})
        rebind(*set, dm.XMLTPAux);
}
