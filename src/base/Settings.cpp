#include "base/Settings.h"

#include "base/IniFile.h"
#include "base/TextUtils.h"
#include "platform/Paths.h"
#include "platform/Platform.h"

namespace {

const char* const kTableList[28] = {
    "ACORDO ALADI;TAB_ALADI",
    "AGÊNCIA SECEX;TAB_AGENCIA_SECEX",
    "CLASSIFICAÇÃO FISCAL (NCM);TAB_NCM",
    "DISPOSITIVO LEGAL - REGIME DE TRIBUTAÇÃO;TAB_FUND_LEG_REG_TRIBUT",
    "INCOTERMS;TAB_INCOTERMS_VENDA",
    "INSTITUIÇÃO FINANCIADORA;TAB_INST_FINANC_INTERNACIONAL",
    "MÉTODO DE VALORAÇÃO ADUANEIRA;TAB_METODO_VALOR_ADUANEIRA",
    "MODALIDADE DE PAGAMENTO;TAB_MODALID_PAGAMENTO",
    "MOEDAS;TAB_MOEDA",
    "MOTIVO - SEM COBERTURA CAMBIAL;TAB_MOT_SEM_COBERT_CAMBIAL",
    "MOTIVO - ADMISSÃO TEMPORÁRIA;TAB_MOT_ADMISSAO_TEMP",
    "NVE - ATRIBUTO;TAB_ATRIB_VALORACAO_NVE",
    "NVE - ESPECIFICAÇÃO;TAB_ESPECIF_VALORACAO_NVE",
    "ÓRGÃOS - EMISSÃO ATO LEGAL;TAB_ORGAO_EMISS_ATO_LEGAL",
    "ÓRGÃOS ANUENTES;TAB_ORGAO_ANUENTES",
    "PAÍS;TAB_PAIS",
    "PIS/COFINS - FUNDAMENTO LEGAL;TAB_FUND_LEGAL_PIS_COFINS",
    "PIS/COFINS - FUNDAMENTO LEGAL ALÍQUOTA;TAB_FUND_LEGAL_REDUCAO_PIS_COFINS",
    "RECINTO ALFANDEGADO;TAB_REC_ALFANDEGADO",
    "RECIPIENTES;TAB_RECIPIENTE",
    "TAXA DE CONVERSÃO DE CÂMBIO;TAB_CONVERSAO_CAMBIO",
    "TAXA DE CONVERSÃO DE CÂMBIO (HISTÓRICO);TAB_CONVERSAO_CAMB_HIST",
    "TAXA DE JUROS - BACEN;TAB_TAXA_JUROS_BACEN",
    "TIPO DE ATO LEGAL;TAB_TP_ATO_LEGAL",
    "TIPO DE DECLARAÇÃO;TAB_TIPO_DECLARACAO",
    "TIPO DE EMBALAGEM;TAB_TP_EMBALAGEM",
    "UNIDADE DA RECEITA FEDERAL (URF);TAB_URF",
    "UNIDADE DE MEDIDA ESTATÍSTICA;TAB_UNID_MEDIDA",
};

} // namespace

Settings::Settings(const Platform& platform) : m_platform(platform) {}

std::string Settings::path() const {
    return joinPath(m_platform.windowsFolder(), FileName);
}

bool Settings::exists() const {
    return fileExists(path());
}

std::string Settings::read(const std::string& section, const std::string& key) const {
    return readIniFile(path(), section, key);
}

void Settings::write(const std::string& section, const std::string& key, const std::string& value) {
    writeIniFile(path(), section, key, value);
}

std::string Settings::localDefaultPath(const std::string& windowsPath) const {
#ifdef _WIN32
    return windowsPath;
#else
    // "C:\SISCOPRD\Import.prd" → home + "/SISCOPRD/Import.prd": the drive letter names no place here.
    std::string rest = windowsPath;
    if (rest.size() >= 2 && rest[1] == ':')
        rest = rest.substr(2);
    return joinPath(m_platform.homeFolder(), replaceAll(rest, "\\", "/"));
#endif
}

std::vector<std::pair<std::string, std::pair<std::string, std::string>>> Settings::firstRunDefaults() const {
    const std::string program = m_platform.programFolder();
    std::vector<std::pair<std::string, std::pair<std::string, std::string>>> d;
    auto add = [&d](const char* section, const std::string& key, const std::string& value) {
        d.push_back({section, {key, value}});
    };
    add(Dados, KeyDados, localDefaultPath("C:\\SISCOPRD\\Import.prd"));
    add(Dados, KeyArqTransform, joinPath(program, "XTR"));
    add(Dados, KeyWebService, std::string(DefaultWebServiceHost) + WebServicePath);
    add(Dados, KeyArqXML, "TABS.XML");
    add(Dados, KeyAtualiza, localDefaultPath("J:\\Pelomira\\Atualizacao"));
    add(Dados, KeyPastaXML, joinPath(program, "XML"));
    for (int i = 0; i < 28; ++i)
        add(Tabelas, "Tabela" + std::to_string(i + 1), kTableList[i]);
    add(Tabelas, KeyACIMTB, "0");
    add(Alerta, KeyIntervalo, "1");
    add(Alerta, KeyTipoIntervalo, "1");
    add(Integra, KeyCodHoneywell, "H8844");
    add(Integra, KeyCodSamsung, "S0018");
    add(Integra, KeyCodSynthes, "S5857");
    add(Integra, KeyCaminhoHoneywell, localDefaultPath("C:\\Honeywell\\XML"));
    add(Integra, KeyCaminhoSamsung, localDefaultPath("C:\\Samsung\\XML"));
    add(Integra, KeyCaminhoSynthes, localDefaultPath("C:\\Synthes\\XML"));
    return d;
}

void Settings::writeFirstRunDefaults() {
    for (const auto& [section, kv] : firstRunDefaults())
        write(section, kv.first, kv.second);
}

std::string Settings::norvikFolder() const {
    std::string folder = readIniFile(joinPath(m_platform.windowsFolder(), NorvikFileName), "NORVIK", "CAMINHO");
    if (folder.empty())
        folder = localDefaultPath("J:\\NORVIK");
    if (!endsWithSeparator(folder))
        folder += "/";
    return folder;
}
