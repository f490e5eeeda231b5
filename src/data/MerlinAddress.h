#pragma once

#include <string>

// The addresses of the Merlin web-service operations, and the reading of the return's answer.
// The base addresses are the settings as the operator typed them; the operation text, colon
// included, is appended directly after them.

/// "DI", "LI", "DSI" or "LSI" (any case, blanks around allowed) in upper case; throws AppError for
/// any other text.
std::string normalizeProcessKind(const std::string& kind);

/// A query value made safe for the address: every blank becomes "%20", and the characters that would
/// change the address's meaning ("&", "=", ";", "#", "?", "+", "%", control characters and every byte
/// of a non-ASCII character) are percent-encoded. Everything else is sent as typed; nothing is trimmed.
std::string encodeQueryValue(const std::string& value);

/// The process request: webService + ":receiveDIrequest?P_CIA=10&P_TRAMITE=" + reference +
/// "&P_ANO=" + year for DI and DSI, ":receiveLIrequest…" for LI and LSI. The reference is encoded
/// but not trimmed; the year is trimmed, then encoded.
std::string processRequestAddress(const std::string& webService, const std::string& kind, const std::string& reference,
                                  const std::string& year);

/// One registered process as the return list holds it. Dates are the list's texts, dd/mm/yyyy.
struct ReturnData {
    std::string kind;              // DI, LI, DSI, LSI
    std::string registro;          // REGISTRO: the process identifier (micro number)
    std::string nrProtocolo;       // NR_PROTOCOLO
    std::string dataProcessamento; // DATA_PROCESSAMENTO
    std::string dataTransmissao;   // DATA_TRANSMISSAO
    std::string dataProcesso;      // DATA_PROCESSO: the registration date
    std::string nrProcesso;        // NR_PROCESSO: the registration number
};

/// The kind's code in TIPO_PROCESSO: DI "01", LI "02", DSI "03", LSI "04".
std::string returnKindCode(const std::string& kind);

/// The return of one registration: webService + ":receiveRetorno?TIPO_PROCESSO=" + code and the
/// parameters each kind sends, dates as ddmmyyyy, the year taken from the registration date. Values
/// are trimmed and encoded like any query value (digits and "/" go as they are). Throws AppError for
/// an unknown kind or a date that is not dd/mm/yyyy (an empty date is sent empty).
std::string returnAddress(const std::string& webService, const ReturnData& data);

/// True when Merlin's answer to a return says the process was received: it contains
/// "Successfully updated", exact case, anywhere.
bool returnAccepted(const std::string& answer);

/// The receiveMerlinRequest address: webService2 + ":receiveMerlinRequest".
std::string merlinRequestAddress(const std::string& webService2);
