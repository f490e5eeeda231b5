#pragma once

#include <string>
#include <string_view>

/// The name of the XML file an integration writes: customer + invoice number + ".XML", for example
/// "SAMSUNG" + "4500123" + ".XML". The invoice number comes from the customer's file, so it is made
/// harmless first: path separators, control characters and the characters Windows refuses in names
/// (: * ? " < > |) become "_", and it is cut to MaxInvoiceNumberChars characters and MaxInvoiceNumberBytes
/// bytes (at a character's end: file systems count a name's bytes, 255 at most), so the name always
/// stays a plain file name inside the output folder. Ordinary numbers are left exactly as they are.
std::string integrationFileName(std::string_view customer, std::string_view invoiceNumber);

inline constexpr size_t MaxInvoiceNumberChars = 100;
inline constexpr size_t MaxInvoiceNumberBytes = 200;
