#pragma once

#include "integra/ElementRule.h"
#include "integra/MerlinRequestLayout.h"

// The Synthes file: a semicolon file whose first record names the columns; one record per invoice
// line. Columns are found by name in any order.

namespace synthes {

using R = ElementRule;
using V = ValueFrom;
inline constexpr const MerlinRecordType& Inv = merlin::LYT_INVOICEDATA;
inline constexpr const MerlinRecordType& Det = merlin::LYT_INVOICEDETAILDATA;

consteval ElementRule common(const MerlinElement& e) {
    return R::fixed(e, merlin::request::commonValue(e));
}

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
    R::column(merlinElement(Inv, "MONEDA_FACTURA"), V::Text, "MOEDA"),
    common(merlinElement(Inv, "TC_FACTURA")),
    common(merlinElement(Inv, "APLICA_TRATADO")),
    common(merlinElement(Inv, "IND_INTERMEDIARIO")),
    R::column(merlinElement(Inv, "COD_FABRICA"), V::Mapped, "FABRIC", "FABRICANTE"),
    R::column(merlinElement(Inv, "COD_EXPORTADOR"), V::Mapped, "EXPORT", "EXPORTADOR"),
    R::of(merlinElement(Inv, "ANNO"), V::Year),
};

inline constexpr ElementRule LineRules[] = {
    R::column(merlinElement(Det, "CAN_UNIDAD"), V::Number, "QTDE"),
    R::column(merlinElement(Det, "COD_PARTIDA"), V::Text, "NCM"),
    R::column(merlinElement(Det, "PESO_NETO"), V::Number, "PESOUNIT"),
    R::column(merlinElement(Det, "PESO_BRUTO"), V::Number, "PESOTOT"),
    R::column(merlinElement(Det, "VALOR_UNITARIO"), V::Number, "FOBUNIT"),
    R::column(merlinElement(Det, "MON_ARTICULO_IMP"), V::Number, "FOBTOT"),
    R::column(merlinElement(Det, "COD_ARTICULO"), V::Text, "PRODUTO"),
    R::column(merlinElement(Det, "DESC_ESPECIFICA"), V::Text, "DESCRICAO"),
    R::column(merlinElement(Det, "COD_UNIDAD"), V::Mapped, "UNIDADE", "UNIDADE"),
    R::column(merlinElement(Det, "NUM_ORDEN"), V::Text, "PEDIDO"),
    R::of(merlinElement(Det, "NUM_FACTURA"), V::Invoice),
    R::of(merlinElement(Det, "ANNO"), V::Year),
};

} // namespace synthes
