#pragma once

#include "integra/ElementRule.h"

// The Honeywell file: typed fixed-width records, told apart by their first characters; an item's
// detail and description records follow it. Positions count from 1.

namespace honeywell {

using namespace rules;

inline constexpr const char* HeaderTag = "CAPI";
inline constexpr const char* ItemTag = "ITEA";
inline constexpr const char* DetailTag = "ITED";
inline constexpr const char* DescriptionTag = "DP";

/// What a header record leaves for the invoices and lines after it.
inline constexpr int ManufacturerSlot = 0; // its manufacturer code, mapped
inline constexpr int GrossWeightSlot = 1;  // its gross weight

/// Header record fields.
inline constexpr ElementRule HeaderManufacturer =
    R::field(merlinElement(Inv, "COD_FABRICA"), V::Mapped, 63, 4, "FABRICANTE");
inline constexpr ElementRule HeaderGrossWeight = R::field(merlinElement(Det, "PESO_BRUTO"), V::Number, 222, 15);
/// Item record: the invoice number that groups items into invoices.
inline constexpr int ItemInvoicePosition = 281;
inline constexpr int ItemInvoiceLength = 15;
/// Description record: its text.
inline constexpr ElementRule DescriptionText = R::field(merlinElement(Det, "DESC_ESPECIFICA"), V::Text, 40, 201);

inline constexpr ElementRule InvoiceRules[] = {
    R::of(merlinElement(Inv, "NUM_FACTURA"), V::Invoice),
    R::of(merlinElement(Inv, "FACTURA_COMERCIAL"), V::Invoice),
    common(merlinElement(Inv, "INCOTERM_FACTURA")),
    common(merlinElement(Inv, "INCOTERM_LINEAS")),
    common(merlinElement(Inv, "MONEDA_FACTURA")),
    common(merlinElement(Inv, "TC_FACTURA")),
    common(merlinElement(Inv, "APLICA_TRATADO")),
    common(merlinElement(Inv, "IND_INTERMEDIARIO")),
    R::carried(merlinElement(Inv, "COD_FABRICA"), ManufacturerSlot),
    R::of(merlinElement(Inv, "ANNO"), V::Year),
};

/// The line item an item record creates.
inline constexpr ElementRule ItemRules[] = {
    R::of(merlinElement(Det, "ANNO"), V::Year),
    R::field(merlinElement(Det, "PESO_NETO"), V::Number, 57, 12),
    R::carried(merlinElement(Det, "PESO_BRUTO"), GrossWeightSlot),
    R::field(merlinElement(Det, "COD_ARTICULO"), V::Text, 20, 20),
    R::field(merlinElement(Det, "CAN_UNIDAD"), V::Number, 40, 15),
    R::field(merlinElement(Det, "VALOR_UNITARIO"), V::Number, 69, 12),
    R::field(merlinElement(Det, "COD_PARTIDA"), V::Text, 114, 10),
};

/// What an item-detail record adds to the current line item.
inline constexpr ElementRule DetailRules[] = {
    R::of(merlinElement(Det, "NUM_FACTURA"), V::Invoice),
    R::field(merlinElement(Det, "NUM_ORDEN"), V::Text, 39, 15),
    R::field(merlinElement(Det, "FEC_ORDEN"), V::DayMonthYY, 68, 6),
};

} // namespace honeywell
