#pragma once

#include "SimRules.h"

#include <string>
#include <vector>

namespace httplib {
struct Response;
}

/// What merlin-sim found in a receiveMerlinRequest body, checked against the service's record types.
struct MerlinRequestCheck {
    /// Not a receiveMerlinRequest document at all (not XML, no SOAP 1.1 envelope, no MerlinInCanonical
    /// in its body): the text of the SOAP fault.
    std::string fault;
    std::string entity;
    std::string serviceNamespace;
    int invoices = 0;
    int lines = 0;
    /// Elements outside the vocabulary, repeated elements, containers holding the wrong items.
    std::vector<std::string> vocabulary;
    /// Values that do not fit their element's type (decimal, dateTime); counted only under "strict".
    std::vector<std::string> types;
};

MerlinRequestCheck checkMerlinRequest(const std::string& body);

/// Answers a checked request: a SOAP fault for a wrong action or a body that is no request, else the
/// Response with code "0" or code "1" and the reasons, as the directive says. Returns what was answered
/// for the log: "code 0", "code 1: reason | reason", or "fault: text".
std::string answerMerlinRequest(const std::string& soapAction, const MerlinRequestCheck& check, const SimDirective& d,
                                const std::vector<std::string>& refusalReasons, httplib::Response& res);
