#pragma once

#include <optional>
#include <string>

struct AppContext;

/// The failure report of a process request.
struct MerlinProcessRequestTexts {
    static constexpr const char* Procedure = "Consultando WebService";
    static constexpr const char* Caption = "Erro ao consultar WebService - Processo ";
    static constexpr const char* Headline = "Falha na consulta ao WebService";
    static constexpr const char* Advice = "Por favor verifique se a URL está correta ou se\r"
                                          "a conexão com a Internet está ativa neste terminal.";
};

/// What a process request gave: the address asked, and either the document or the failure text.
struct MerlinProcessAnswer {
    std::string address;
    std::optional<std::string> document;
    std::string failure;
};

/// Asks Merlin for one process: reads Dados/WebService and the time-outs, shows the wait window,
/// sends the GET with the data module's IdHTTP client and returns the process document text.
/// On any failure the error log gets "Procedimento: Consultando WebService (address) - Erro: …", the
/// operator sees the failure message box, and the answer holds no document.
MerlinProcessAnswer requestProcessDocument(AppContext& ctx, const std::string& kind, const std::string& reference,
                                           const std::string& year);
