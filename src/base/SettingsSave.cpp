#include "base/SettingsSave.h"

#include "base/AlertInterval.h"
#include "base/AlertTimer.h"
#include "base/AppError.h"
#include "base/Logs.h"
#include "base/Operator.h"
#include "base/Settings.h"
#include "base/TextUtils.h"
#include "platform/Paths.h"
#include "platform/Platform.h"

namespace {

const char* const kEmptyEndWSProc = "Campo \"Endereço do WebService (Processos)\" não pode ser vazio!";
const char* const kEmptyEndWSIntegr = "Campo \"Endereço do WebService (Integrações)\" não pode ser vazio!";
const char* const kEmptyNomeXML = "Campo \"Arquivo XML para Importação (Tabelas SISCOMEX)\" não pode ser vazio!";
const char* const kEmptyAtualizacoes = "Campo \"Atualizações\" não pode ser vazio!";
const char* const kEmptyEndServidor = "Campo \"Endereço do Servidor (Integrações)\" não pode ser vazio!";
const char* const kEmptyIntervalo = "Campo \"Intervalo da Checagem Automática\" não pode ser vazio!";

} // namespace

std::string SettingsSave::folderWithoutTrailingSeparator(const std::string& text) {
    if (!text.empty() && (text.back() == '\\' || text.back() == '/'))
        return text.substr(0, text.size() - 1);
    return trim(text);
}

std::string SettingsSave::integrationFolder(const std::string& text) {
#ifdef _WIN32
    return upperText(trim(text));
#else
    return trim(text);
#endif
}

SettingsSave::Outcome SettingsSave::run(const Fields& f, Settings& settings, Logs& logs, Operator& op,
                                        AlertTimer* alert) {
    auto stop = [&op](const char* text, Field field) {
        op.message(text, "Pelomira", MessageIcon::Error);
        return Outcome{Result::Stopped, field};
    };
    try {
        settings.write(Settings::Dados, Settings::KeyDados, folderWithoutTrailingSeparator(f.bancodeDados));
        settings.write(Settings::Dados, Settings::KeyArqTransform, folderWithoutTrailingSeparator(f.arqTransform));

        const std::string webService = trim(f.endWSProc);
        if (webService.empty())
            return stop(kEmptyEndWSProc, Field::EndWSProc);
        settings.write(Settings::Dados, Settings::KeyWebService, webService);

        const std::string webService2 = trim(f.endWSIntegr);
        if (webService2.empty())
            return stop(kEmptyEndWSIntegr, Field::EndWSIntegr);
        settings.write(Settings::Dados, Settings::KeyWebService2, webService2);

        const std::string nomeXML = trim(f.nomeXML);
        if (nomeXML.empty())
            return stop(kEmptyNomeXML, Field::NomeXML);
        settings.write(Settings::Dados, Settings::KeyArqXML, nomeXML);

        const std::string atualizacoes = trim(f.atualizacoes);
        if (atualizacoes.empty())
            return stop(kEmptyAtualizacoes, Field::Atualizacoes);
        settings.write(Settings::Dados, Settings::KeyAtualiza, atualizacoes);

        const std::string pastaXML = trim(f.pastaXML);
        if (pastaXML.empty()) {
            // An empty XML folder falls back to the program's own and the save ends here, silently.
            settings.write(Settings::Dados, Settings::KeyPastaXML,
                           joinPath(settings.platform().programFolder(), "XML"));
            return Outcome{Result::EndedAtPastaXML, Field::None};
        }
        settings.write(Settings::Dados, Settings::KeyPastaXML, pastaXML);

        const std::string servidor = trim(f.endServidor);
        if (servidor.empty())
            return stop(kEmptyEndServidor, Field::EndServidor);
        settings.write(Settings::Dados, Settings::KeyTabelasIntegra, servidor);

        const std::string intervalo = trim(f.alertaIntervalo);
        if (intervalo.empty())
            return stop(kEmptyIntervalo, Field::AlertaIntervalo);
        settings.write(Settings::Alerta, Settings::KeyIntervalo, intervalo);
        settings.write(Settings::Alerta, Settings::KeyTipoIntervalo, std::to_string(f.alertaTipoIndex));

        // The new interval counts at once. A bad interval leaves the timer off and fails the save.
        if (alert)
            alert->disable();
        const auto milliseconds = AlertInterval::fromUnitText(intervalo, upperText(f.alertaTipoText));
        if (alert) {
            if (milliseconds)
                alert->setIntervalMs(*milliseconds);
            alert->enable();
        }

        settings.write(Settings::Integra, Settings::KeyCodHoneywell, upperText(trim(f.codHoneywell)));
        settings.write(Settings::Integra, Settings::KeyCodSamsung, upperText(trim(f.codSamsung)));
        settings.write(Settings::Integra, Settings::KeyCodSynthes, upperText(trim(f.codSynthes)));
        settings.write(Settings::Integra, Settings::KeyCaminhoHoneywell, integrationFolder(f.pastaHoneywell));
        settings.write(Settings::Integra, Settings::KeyCaminhoSamsung, integrationFolder(f.pastaSamsung));
        settings.write(Settings::Integra, Settings::KeyCaminhoSynthes, integrationFolder(f.pastaSynthes));

        op.message(SavedText, "Pelomira", MessageIcon::Information);
        return Outcome{Result::Saved, Field::None};
    } catch (const std::exception& e) {
        logs.error(FailureProcedure, e.what());
        op.message(std::string(FailureText) + "\r\rErro: " + e.what(), FailureCaption, MessageIcon::Error);
        return Outcome{Result::Failed, Field::None};
    }
}
