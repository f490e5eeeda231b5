#pragma once

#include "integra/ElementRule.h"

// The Samsung file: one fixed-width line per invoice line. Positions count from 1.

namespace samsung {

using namespace rules;

/// The invoice-number field: groups the lines into invoices and numbers them.
inline constexpr int InvoiceNumberPosition = 525;
inline constexpr int InvoiceNumberLength = 16;

/// The invoice item, filled from the line that opens the invoice.
inline constexpr ElementRule InvoiceRules[] = {
    R::of(merlinElement(Inv, "NUM_FACTURA"), V::Invoice),
    R::field(merlinElement(Inv, "FACTURA_COMERCIAL"), V::Text, 150, 16),
    common(merlinElement(Inv, "INCOTERM_FACTURA")),
    common(merlinElement(Inv, "INCOTERM_LINEAS")),
    common(merlinElement(Inv, "MONEDA_FACTURA")),
    common(merlinElement(Inv, "TC_FACTURA")),
    common(merlinElement(Inv, "APLICA_TRATADO")),
    common(merlinElement(Inv, "IND_INTERMEDIARIO")),
    R::field(merlinElement(Inv, "COD_FABRICA"), V::Mapped, 1296, 10, "FABRICANTE"),
    R::of(merlinElement(Inv, "ANNO"), V::Year),
};

/// The line item, one per file line.
inline constexpr ElementRule LineRules[] = {
    R::of(merlinElement(Det, "NUM_FACTURA"), V::Invoice),
    R::field(merlinElement(Det, "NUM_ORDEN"), V::Text, 170, 10),
    R::field(merlinElement(Det, "FEC_ORDEN"), V::DayMonthYear, 185, 8),
    R::field(merlinElement(Det, "COD_ARTICULO"), V::Text, 193, 18),
    R::field(merlinElement(Det, "COD_PARTIDA"), V::Text, 217, 10),
    R::field(merlinElement(Det, "VALOR_UNITARIO"), V::Number, 230, 13),
    R::field(merlinElement(Det, "COD_UNIDAD"), V::Mapped, 243, 5, "UNIDADE"),
    R::field(merlinElement(Det, "PESO_NETO"), V::Number, 253, 17),
    R::field(merlinElement(Det, "CAN_UNIDAD"), V::Number, 273, 16),
    R::field(merlinElement(Det, "DESC_ESPECIFICA"), V::Text, 292, 40),
    R::field(merlinElement(Det, "COD_NATURALEZA"), V::Text, 360, 4),
    // The layout gives the article description 255 characters from 364, which would run over the
    // invoice number at 525 and send it inside every description; it ends where that number begins.
    R::field(merlinElement(Det, "DESC_ARTICULO"), V::Text, 364, InvoiceNumberPosition - 364),
    R::of(merlinElement(Det, "ANNO"), V::Year),
};

} // namespace samsung
