#pragma once

#include <string>
#include <utility>
#include <vector>

class Platform;

/// PELOMIRA.INI in the Windows folder. Every read goes to the file at the moment of use; nothing
/// is cached, so a change made by another copy or by hand counts at the next read.
class Settings {
public:
    static constexpr const char* FileName = "PELOMIRA.INI";
    static constexpr const char* NorvikFileName = "VORDA.INI";

    // Sections and keys.
    static constexpr const char* Dados = "Dados";
    static constexpr const char* Tabelas = "Tabelas";
    static constexpr const char* Alerta = "Alerta";
    static constexpr const char* Integra = "Integra";

    static constexpr const char* KeyDados = "Dados";
    static constexpr const char* KeyArqTransform = "ArqTransform";
    static constexpr const char* KeyWebService = "WebService";
    static constexpr const char* KeyWebService2 = "WebService2";
    static constexpr const char* KeyArqXML = "ArqXML";
    static constexpr const char* KeyAtualiza = "Atualiza";
    static constexpr const char* KeyPastaXML = "PastaXML";
    static constexpr const char* KeyTabelasIntegra = "TabelasIntegra";
    static constexpr const char* KeyACIMTB = "ACIMTB";
    static constexpr const char* KeyIntervalo = "Intervalo";
    static constexpr const char* KeyTipoIntervalo = "TipoIntervalo";
    static constexpr const char* KeyCodHoneywell = "Cod_Honeywell";
    static constexpr const char* KeyCodSamsung = "Cod_Samsung";
    static constexpr const char* KeyCodSynthes = "Cod_Synthes";
    static constexpr const char* KeyCaminhoHoneywell = "Caminho_Honeywell";
    static constexpr const char* KeyCaminhoSamsung = "Caminho_Samsung";
    static constexpr const char* KeyCaminhoSynthes = "Caminho_Synthes";
    // Time-outs of the Merlin requests, in seconds (empty: the defaults below).
    static constexpr const char* KeyTimeoutConexao = "TimeoutConexao";
    static constexpr const char* KeyTimeoutTotal = "TimeoutTotal";

    /// The address path of the Merlin services; the operations are appended to it.
    static constexpr const char* WebServicePath = "/invoke/amDGFLatamMerlin.services";
    /// The host the first-run default points at (the Merlin server of the installation).
    static constexpr const char* DefaultWebServiceHost = "http://127.0.0.1:5555";

    explicit Settings(const Platform& platform);

    std::string path() const;
    bool exists() const;
    std::string read(const std::string& section, const std::string& key) const;
    /// Throws AppError when the file cannot be written.
    void write(const std::string& section, const std::string& key, const std::string& value);

    /// Writes every first-run default, in the order the program always wrote them.
    void writeFirstRunDefaults();
    /// The first-run defaults as (section, key, value) in writing order.
    std::vector<std::pair<std::string, std::pair<std::string, std::string>>> firstRunDefaults() const;

    /// The NORVIK folder from VORDA.INI ([NORVIK] CAMINHO), default "J:\NORVIK" (its local spelling on
    /// Linux), always ending in a separator.
    std::string norvikFolder() const;

    /// A Windows default path ("C:\SISCOPRD\Import.prd") in this system's spelling: unchanged on
    /// Windows; on Linux the same folders under the user's home ("~/SISCOPRD/Import.prd").
    std::string localDefaultPath(const std::string& windowsPath) const;

    const Platform& platform() const { return m_platform; }

private:
    const Platform& m_platform;
};
