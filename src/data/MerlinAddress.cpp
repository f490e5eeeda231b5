#include "data/MerlinAddress.h"

#include "base/AppError.h"
#include "base/TextUtils.h"

#include <cstring>

namespace {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// dd/mm/yyyy (anything after the tenth character, such as a time, is ignored) → ddmmyyyy.
std::string dayMonthYearDigits(const std::string& date, const char* field) {
    const std::string d = trim(date);
    if (d.empty())
        return std::string();
    const bool shaped = d.size() >= 10 && isDigit(d[0]) && isDigit(d[1]) && d[2] == '/' && isDigit(d[3]) &&
                        isDigit(d[4]) && d[5] == '/' && isDigit(d[6]) && isDigit(d[7]) && isDigit(d[8]) &&
                        isDigit(d[9]);
    if (!shaped)
        throw AppError("Data inválida em " + std::string(field) + ": \"" + date + "\" (esperado dd/mm/aaaa)");
    return d.substr(0, 2) + d.substr(3, 2) + d.substr(6, 4);
}

} // namespace

std::string normalizeProcessKind(const std::string& kind) {
    const std::string k = upperAscii(trim(kind));
    if (k == "DI" || k == "LI" || k == "DSI" || k == "LSI")
        return k;
    throw AppError("Tipo de processo inválido: \"" + kind + "\" (use DI, LI, DSI ou LSI)");
}

std::string encodeQueryValue(const std::string& value) {
    static const char* const hex = "0123456789ABCDEF";
    std::string out;
    out.reserve(value.size());
    for (const char ch : value) {
        const auto c = static_cast<unsigned char>(ch);
        if (c == ' ') {
            out += "%20";
        } else if (c < 0x20 || c >= 0x7F || std::strchr("&#?+%=;\"<>\\{}|^`", c)) {
            out += '%';
            out += hex[c >> 4];
            out += hex[c & 0x0F];
        } else {
            out += ch;
        }
    }
    return out;
}

std::string processRequestAddress(const std::string& webService, const std::string& kind, const std::string& reference,
                                  const std::string& year) {
    const std::string k = normalizeProcessKind(kind);
    const char* operation = (k == "DI" || k == "DSI") ? ":receiveDIrequest" : ":receiveLIrequest";
    return webService + operation + "?P_CIA=" + "10" + "&P_TRAMITE=" + encodeQueryValue(reference) +
           "&P_ANO=" + encodeQueryValue(trim(year));
}

std::string returnKindCode(const std::string& kind) {
    const std::string k = normalizeProcessKind(kind);
    if (k == "DI")
        return "01";
    if (k == "LI")
        return "02";
    if (k == "DSI")
        return "03";
    return "04";
}

std::string returnAddress(const std::string& webService, const ReturnData& data) {
    const std::string k = normalizeProcessKind(data.kind);
    const auto value = [](const std::string& text) { return encodeQueryValue(trim(text)); };
    const std::string registered = dayMonthYearDigits(data.dataProcesso, "DATA_PROCESSO");
    const std::string year = registered.size() == 8 ? registered.substr(4, 4) : std::string();

    std::string a = webService + ":receiveRetorno?TIPO_PROCESSO=" + returnKindCode(k);
    a += "&ID_PROCESSO=" + value(data.registro);
    a += "&NR_PROTOCOLO=" + value(data.nrProtocolo);
    if (k == "DI")
        a += "&DATA_PROCESSAMENTO=" + dayMonthYearDigits(data.dataProcessamento, "DATA_PROCESSAMENTO");
    if (k == "DI" || k == "DSI")
        a += "&DATA_TRASMISSAO=" + dayMonthYearDigits(data.dataTransmissao, "DATA_TRANSMISSAO");
    a += "&DATA_REGISTRO=" + registered;
    a += "&REGISTRO_SISCOMEX=" + value(data.nrProcesso);
    a += "&ANOREGISTRO=" + year;
    return a;
}

bool returnAccepted(const std::string& answer) {
    return answer.find("Successfully updated") != std::string::npos;
}

std::string merlinRequestAddress(const std::string& webService2) {
    return webService2 + ":receiveMerlinRequest";
}
