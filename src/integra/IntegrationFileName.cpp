#include "integra/IntegrationFileName.h"

std::string integrationFileName(std::string_view customer, std::string_view invoiceNumber) {
    std::string safe;
    size_t chars = 0;
    for (size_t i = 0; i < invoiceNumber.size(); ++i) {
        const auto c = static_cast<unsigned char>(invoiceNumber[i]);
        const bool continuation = (c & 0xC0) == 0x80;
        if (!continuation) {
            // A character starts here: it goes in whole or not at all.
            size_t length = 1;
            while (i + length < invoiceNumber.size() &&
                   (static_cast<unsigned char>(invoiceNumber[i + length]) & 0xC0) == 0x80)
                ++length;
            if (++chars > MaxInvoiceNumberChars || safe.size() + length > MaxInvoiceNumberBytes)
                break;
        }
        switch (c) {
        case '/':
        case '\\':
        case ':':
        case '*':
        case '?':
        case '"':
        case '<':
        case '>':
        case '|':
        case 0x7F:
            safe += '_';
            break;
        default:
            safe += c < 0x20 ? '_' : static_cast<char>(c);
        }
    }
    return std::string(customer) + safe + ".XML";
}
