#pragma once

#include <string>
#include <vector>

/// Merlin's answer to receiveMerlinRequest: the items of the Response's `code` and `description`
/// arrays.
struct MerlinResponse {
    std::vector<std::string> codes;
    std::vector<std::string> descriptions;

    /// The first code item is "0".
    bool accepted() const { return !codes.empty() && codes.front() == "0"; }
    /// Every description item followed by "\r", in order.
    std::string reason() const;

    /// Reads a SOAP 1.1 answer: Envelope / Body / the operation's response element / Response, whose
    /// `code` (else its first child) and `description` (else its second child) hold one element per
    /// item. Throws AppError with a clear text for anything else: not XML, an HTML page, a SOAP fault,
    /// a missing Response or an empty code array.
    static MerlinResponse parse(const std::string& answer);
    /// The faultstring when answer is a SOAP fault; empty otherwise (also when it is not XML at all).
    static std::string faultText(const std::string& answer);
};
