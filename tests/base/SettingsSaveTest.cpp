#include "base/SettingsSave.h"
#include "TestEnv.h"
#include "base/AlertTimer.h"
#include "base/Logs.h"
#include "base/ScriptedOperator.h"
#include "base/Settings.h"
#include "base/TextUtils.h"
#include "platform/Platform.h"

#include <gtest/gtest.h>

namespace {

// Records what the save does to the alert timer.
class RecordingAlertTimer : public AlertTimer {
public:
    void disable() override { m_enabled = false; }
    void setIntervalMs(int ms) override { m_interval = ms; }
    int intervalMs() const override { return m_interval; }
    void enable() override { m_enabled = m_interval > 0; }
    bool enabled() const override { return m_enabled; }

private:
    int m_interval = 0;
    bool m_enabled = false;
};

SettingsSave::Fields completeFields() {
    SettingsSave::Fields f;
    f.bancodeDados = "/dados/siscomex";
    f.arqTransform = "/dados/xtr";
    f.endWSProc = "http://merlin/invoke/amDGFLatamMerlin.services";
    f.endWSIntegr = "http://merlin/integra";
    f.nomeXML = "TABS.XML";
    f.atualizacoes = "/dados/atualizacao";
    f.pastaXML = "/dados/xml";
    f.endServidor = "servidor:/dados/INTEGRA.FDB";
    f.alertaIntervalo = "2";
    f.alertaTipoIndex = 1;
    f.alertaTipoText = "Horas";
    f.codHoneywell = "h8844";
    return f;
}

} // namespace

TEST(SettingsSave, FolderTextsLoseOneTrailingSeparatorOnly) {
    EXPECT_EQ(SettingsSave::folderWithoutTrailingSeparator("C:\\SISCOPRD\\"), "C:\\SISCOPRD");
    EXPECT_EQ(SettingsSave::folderWithoutTrailingSeparator(" /dados/ "), "/dados/");
    EXPECT_EQ(SettingsSave::folderWithoutTrailingSeparator(" /dados/"), " /dados");
    EXPECT_EQ(SettingsSave::folderWithoutTrailingSeparator("  "), "");
}

TEST(SettingsSave, CompleteSaveAppliesTheIntervalAtOnce) {
    TestEnv env;
    auto platform = Platform::createNative();
    Settings settings(*platform);
    ScriptedOperator op;
    Logs logs(*platform, op);
    RecordingAlertTimer timer;
    const auto outcome = SettingsSave::run(completeFields(), settings, logs, op, &timer);
    EXPECT_EQ(outcome.result, SettingsSave::Result::Saved);
    EXPECT_EQ(timer.intervalMs(), 2 * 3600000);
    EXPECT_TRUE(timer.enabled());
    EXPECT_EQ(settings.read("Alerta", "TipoIntervalo"), "1");
    EXPECT_EQ(settings.read("Integra", "Cod_Honeywell"), "H8844");
    ASSERT_EQ(op.messages().size(), 1u);
    EXPECT_EQ(op.messages()[0], "Configurações gravadas com êxito!");
}

TEST(SettingsSave, NoUnitKeepsTheIntervalTheTimerHas) {
    TestEnv env;
    auto platform = Platform::createNative();
    Settings settings(*platform);
    ScriptedOperator op;
    Logs logs(*platform, op);
    RecordingAlertTimer timer;
    auto f = completeFields();
    f.alertaTipoIndex = -1;
    f.alertaTipoText = "";
    f.alertaIntervalo = "não é número"; // not read without a unit
    EXPECT_EQ(SettingsSave::run(f, settings, logs, op, &timer).result, SettingsSave::Result::Saved);
    EXPECT_EQ(settings.read("Alerta", "TipoIntervalo"), "-1");
    EXPECT_EQ(timer.intervalMs(), 0);
    EXPECT_FALSE(timer.enabled()); // never an interval of zero
    timer.setIntervalMs(60000);
    EXPECT_EQ(SettingsSave::run(f, settings, logs, op, &timer).result, SettingsSave::Result::Saved);
    EXPECT_EQ(timer.intervalMs(), 60000);
    EXPECT_TRUE(timer.enabled());
}

TEST(SettingsSave, UnwritableSettingsFileIsReportedWithTheSaveFailureMessage) {
    TestEnv env;
    auto platform = Platform::createNative();
    Settings settings(*platform);
    ScriptedOperator op;
    Logs logs(*platform, op);
    // A folder where the file should be: no write can replace it, not even as root.
    TestEnv::makeFolder(settings.path());
    const auto outcome = SettingsSave::run(completeFields(), settings, logs, op, nullptr);
    EXPECT_EQ(outcome.result, SettingsSave::Result::Failed);
    const auto messages = op.callsOf("message");
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].caption, "Erro ao Salvar a Configuração");
    EXPECT_TRUE(messages[0].text.starts_with("Não foi possível salvar as configurações\r\rErro: "));
    EXPECT_NE(TestEnv::readFile(env.home() + "ERRO.CSV").find(";Procedimento: Gravando Configurações - Erro: "),
              std::string::npos);
}

TEST(SettingsSave, ZeroOrNegativeIntervalIsRefusedAndLeavesTheTimerOff) {
    for (const char* bad : {"0", "-5", " -0 "}) {
        TestEnv env;
        auto platform = Platform::createNative();
        Settings settings(*platform);
        ScriptedOperator op;
        Logs logs(*platform, op);
        RecordingAlertTimer timer;
        timer.setIntervalMs(60000);
        timer.enable();
        auto f = completeFields();
        f.alertaIntervalo = bad;
        f.alertaTipoIndex = 0;
        f.alertaTipoText = "Minutos";
        f.pastaSamsung = "/dados/samsung";
        EXPECT_EQ(SettingsSave::run(f, settings, logs, op, &timer).result, SettingsSave::Result::Failed) << bad;
        // Never a timer firing without pause: it stays off, as the next start will say.
        EXPECT_FALSE(timer.enabled()) << bad;
        const auto messages = op.callsOf("message");
        ASSERT_EQ(messages.size(), 1u) << bad;
        EXPECT_EQ(messages[0].caption, "Erro ao Salvar a Configuração");
        EXPECT_NE(messages[0].text.find("deve ser maior que zero"), std::string::npos) << messages[0].text;
        // Stored as typed like any interval the save refuses; the keys after it keep their values.
        EXPECT_EQ(settings.read("Alerta", "Intervalo"), trim(bad));
        EXPECT_EQ(settings.read("Integra", "Caminho_Samsung"), "");
    }
}
