#pragma once

class TDM;

/// The reset every process request command runs before it opens the request window: each process
/// record set is closed (and let go of any nested binding and order); cdsXMLPrincipal and cdsXMLAux
/// are bound to the provider XMLTransformProvider; cdsXMLTPAux, cdsXMLTPAux2, cdsXMLTPAux3,
/// cdsXMLFabrExp, cdsXMLTaxas and cdsXMLAdicao to XMLTPAux. cdsXMLAux2 is left as it is.
void resetProcessRecordSets(TDM& dm);
