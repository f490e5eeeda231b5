#pragma once

#include "integra/ElementRule.h"

// The Synthes file: a semicolon file whose first record names the columns; one record per invoice
// line. Columns are found by name in any order.

namespace synthes {

using namespace rules;

/// The column that groups the records into invoices and numbers them.
inline constexpr const char* InvoiceColumn = "FATURA";
/// The supplier code every Synthes invoice carries.
inline constexpr const char* SupplierCode = "103246";

inline constexpr ElementRule InvoiceRules[] = {
    R::of(merlinElement(Inv, "NUM_FACTURA"), V::Invoice),
    R::of(merlinElement(Inv, "FACTURA_COMERCIAL"), V::Invoice),
    R::fixed(merlinElement(Inv, "COD_SUPLIDOR"), SupplierCode),
    common(merlinElement(Inv, "INCOTERM_FACTURA")),
    common(merlinElement(Inv, "INCOTERM_LINEAS")),
    R::inColumn(merlinElement(Inv, "MONEDA_FACTURA"), V::Text, "MOEDA"),
    common(merlinElement(Inv, "TC_FACTURA")),
    common(merlinElement(Inv, "APLICA_TRATADO")),
    common(merlinElement(Inv, "IND_INTERMEDIARIO")),
    R::inColumn(merlinElement(Inv, "COD_FABRICA"), V::Mapped, "FABRIC", "FABRICANTE"),
    R::inColumn(merlinElement(Inv, "COD_EXPORTADOR"), V::Mapped, "EXPORT", "EXPORTADOR"),
    R::of(merlinElement(Inv, "ANNO"), V::Year),
};

inline constexpr ElementRule LineRules[] = {
    R::inColumn(merlinElement(Det, "CAN_UNIDAD"), V::Number, "QTDE"),
    R::inColumn(merlinElement(Det, "COD_PARTIDA"), V::Text, "NCM"),
    R::inColumn(merlinElement(Det, "PESO_NETO"), V::Number, "PESOUNIT"),
    R::inColumn(merlinElement(Det, "PESO_BRUTO"), V::Number, "PESOTOT"),
    R::inColumn(merlinElement(Det, "VALOR_UNITARIO"), V::Number, "FOBUNIT"),
    R::inColumn(merlinElement(Det, "MON_ARTICULO_IMP"), V::Number, "FOBTOT"),
    R::inColumn(merlinElement(Det, "COD_ARTICULO"), V::Text, "PRODUTO"),
    R::inColumn(merlinElement(Det, "DESC_ESPECIFICA"), V::Text, "DESCRICAO"),
    R::inColumn(merlinElement(Det, "COD_UNIDAD"), V::Mapped, "UNIDADE", "UNIDADE"),
    R::inColumn(merlinElement(Det, "NUM_ORDEN"), V::Text, "PEDIDO"),
    R::of(merlinElement(Det, "NUM_FACTURA"), V::Invoice),
    R::of(merlinElement(Det, "ANNO"), V::Year),
};

} // namespace synthes
