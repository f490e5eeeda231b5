#include "app/VersionUpdate.h"
#include "TestEnv.h"
#include "base/Logs.h"
#include "base/ScriptedOperator.h"
#include "base/Settings.h"
#include "platform/Platform.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

// A program world with an update folder holding files of chosen ages.
struct UpdateWorld {
    TestEnv env;
    std::unique_ptr<Platform> platform = Platform::createNative();
    Settings settings{*platform};
    ScriptedOperator op;
    Logs logs{*platform, op};
    std::string folder = env.path("Atualizacao");

    UpdateWorld() {
        TestEnv::makeFolder(folder);
        settings.write(Settings::Dados, Settings::KeyAtualiza, folder);
    }
    // A file minutesAgo minutes old.
    std::string file(const std::string& name, int minutesAgo) {
        const std::string path = folder + "/" + name;
        TestEnv::writeFile(path, "installer");
        fs::last_write_time(path, fs::file_time_type::clock::now() - std::chrono::minutes(minutesAgo));
        return path;
    }
    VersionUpdate update() { return VersionUpdate(*platform, settings, op, logs); }
    // An installer name one major version above the running program.
    std::string newerInstallerName(char separator) const {
        const auto running = VersionUpdate::runningVersion(platform->programVersion());
        std::string name = "_PELOMIRA";
        for (int i = 0; i < 4; ++i)
            name += std::string(1, separator) + std::to_string(i == 0 ? running[0] + 1 : running[i]);
        return name + ".EXE";
    }
};

} // namespace

TEST(VersionUpdate, PositionsCountFromTheEndOfTheFullPath) {
    const std::string path = "/srv/atualização/_PELOMIRA_1_0_3_6.EXE";
    EXPECT_TRUE(VersionUpdate::isInstallerPath(path));
    EXPECT_EQ(VersionUpdate::installerVersion(path), (std::array<int, 4>{1, 0, 3, 6}));
    EXPECT_EQ(VersionUpdate::installerVersionText(path), "1_0_3_6");
    EXPECT_EQ(VersionUpdate::installerVersionText("/u/_pelomira-2.1.0.9.exe"), "2.1.0.9");
    EXPECT_TRUE(VersionUpdate::isInstallerPath("/u/_pelomira-2.1.0.9.exe"));
    EXPECT_FALSE(VersionUpdate::isInstallerPath("PELOMIRA.EXE"));
    EXPECT_FALSE(VersionUpdate::isInstallerPath("/u/PELOMIRA_1_0_3_6.EXE"));
    // Only the positions from the end count, so a longer name with the same ending passes this test
    // (it becomes a candidate only as the last file listed).
    EXPECT_TRUE(VersionUpdate::isInstallerPath("/u/SETUP_PELOMIRA_1_0_3_6.EXE"));
    EXPECT_THROW(VersionUpdate::installerVersion("/u/_PELOMIRA_1_X_3_6.EXE"), std::exception);

    EXPECT_EQ(VersionUpdate::runningVersion("1.0.3.5"), (std::array<int, 4>{1, 0, 3, 5}));
    // A two-digit number shifts the positions onto a dot.
    EXPECT_THROW(VersionUpdate::runningVersion("1.10.3.5"), std::exception);
    EXPECT_THROW(VersionUpdate::runningVersion("1.0"), std::exception);

    EXPECT_EQ(VersionUpdate::questionText(" 1.0.3.5 ", path),
              "Versão do PELOMIRA no terminal: 1.0.3.5\rVersão atual do PELOMIRA: 1_0_3_6\r"
              "Deseja atualizar o PELOMIRA agora ?");
    // 1.5.0.0 against a running 2.0.0.0 is older: the first differing number decides.
    EXPECT_FALSE(VersionUpdate::installerVersion("/u/_PELOMIRA_1_5_0_0.EXE") >
                 VersionUpdate::runningVersion("2.0.0.0"));
    EXPECT_TRUE(VersionUpdate::installerVersion("/u/_PELOMIRA_1_0_3_6.EXE") > VersionUpdate::runningVersion("1.0.3.5"));
}

TEST(VersionUpdate, CandidateIsTheNewestInstallerWhateverItsNumber) {
    UpdateWorld w;
    w.file("_PELOMIRA_1_0_3_6.EXE", 60);
    const std::string newer = w.file("_pelomira_1_0_2_0.exe", 5);
    w.file("_PELOMIRA_1_0_9_9.TXT", 1);                       // not an executable
    TestEnv::makeFolder(w.folder + "/_PELOMIRA_9_9_9_9.EXE"); // a folder, not a file
    EXPECT_EQ(VersionUpdate::chooseCandidate(w.folder), newer);
}

TEST(VersionUpdate, EqualTimesLetTheLaterListedInstallerWin) {
    UpdateWorld w;
    const std::string a = w.file("_PELOMIRA_1_0_0_1.EXE", 10);
    const std::string b = w.file("_PELOMIRA_1_0_0_2.EXE", 10);
    fs::last_write_time(b, fs::last_write_time(a));
    EXPECT_EQ(VersionUpdate::chooseCandidate(w.folder), b);
}

TEST(VersionUpdate, OtherExecutablesOnlyLeaveTheLastListedWhichIsRejected) {
    UpdateWorld w;
    w.file("setup.exe", 1);
    const std::string last = w.file("ZZTOP.EXE", 90);
    EXPECT_EQ(VersionUpdate::chooseCandidate(w.folder), last);
    EXPECT_FALSE(w.update().check());
    EXPECT_TRUE(w.op.calls().empty());
}

TEST(VersionUpdate, MissingOrEmptyFolderDoesNothingAndReportsNothing) {
    UpdateWorld w;
    EXPECT_EQ(VersionUpdate::chooseCandidate(w.folder), VersionUpdate::DefaultCandidate);
    EXPECT_FALSE(w.update().check());
    w.settings.write(Settings::Dados, Settings::KeyAtualiza, w.env.path("nao-existe"));
    EXPECT_FALSE(w.update().check());
    w.settings.write(Settings::Dados, Settings::KeyAtualiza, "");
    EXPECT_FALSE(w.update().check());
    EXPECT_TRUE(w.op.calls().empty());
    EXPECT_FALSE(TestEnv::exists(w.env.home() + "ERRO.CSV"));
}

TEST(VersionUpdate, OlderOrEqualInstallerIsNotOffered) {
    UpdateWorld w;
    const auto running = VersionUpdate::runningVersion(w.platform->programVersion());
    std::string same = "_PELOMIRA";
    for (int d : running)
        same += "_" + std::to_string(d);
    w.file(same + ".EXE", 1);
    EXPECT_FALSE(w.update().check());
    EXPECT_TRUE(w.op.calls().empty());
}

TEST(VersionUpdate, NewerInstallerIsOfferedAndNoKeepsTheProgramRunning) {
    UpdateWorld w;
    const std::string name = w.newerInstallerName('_');
    const std::string installer = w.file(name, 1);
    w.op.queueYesNo(false);
    EXPECT_FALSE(w.update().check());
    ASSERT_EQ(w.op.calls().size(), 1u);
    const auto& ask = w.op.calls()[0];
    EXPECT_EQ(ask.kind, "ask");
    EXPECT_EQ(ask.caption, "Atualização de Versão");
    EXPECT_EQ(ask.icon, MessageIcon::Question);
    // The seven characters before ".EXE", separators included.
    EXPECT_EQ(ask.text, VersionUpdate::questionText(w.platform->programVersion(), installer));
    EXPECT_NE(ask.text.find("Versão atual do PELOMIRA: " + name.substr(10, 7) + "\r"), std::string::npos);
}

TEST(VersionUpdate, YesStartsTheInstallerSilentlyAndEndsTheProgram) {
    UpdateWorld w;
    const std::string installer = w.file(w.newerInstallerName('.'), 1);
    w.op.queueYesNo(true);
    EXPECT_TRUE(w.update().check());
    const auto messages = w.op.callsOf("message");
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].text, "Após atualizar, por favor execute novamente o PELOMIRA.");
    EXPECT_EQ(messages[0].caption, "PELOMIRA");
    EXPECT_EQ(messages[0].icon, MessageIcon::Information);
    const auto started = w.op.callsOf("openWithSystem");
    ASSERT_EQ(started.size(), 1u);
    EXPECT_EQ(started[0].text, installer);
    EXPECT_EQ(started[0].extra.at(0), "/SILENT");
}

TEST(VersionUpdate, InstallerThatCannotStartIsReportedAndTheProgramGoesOn) {
    UpdateWorld w;
    w.file(w.newerInstallerName('_'), 1);
    w.op.queueYesNo(true);
    w.op.failOpenWith("formato inválido");
    EXPECT_FALSE(w.update().check());
    const auto messages = w.op.messages();
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_EQ(messages[1], "ERRO AO CHECAR VERSÃO\rPor favor entre em contato com o suporte técnico\r"
                           "ERRO: formato inválido");
}

TEST(VersionUpdate, BadVersionCharacterIsReportedUnderTheNorvikProcedure) {
    UpdateWorld w;
    w.file("_PELOMIRA_A_0_0_0.EXE", 1);
    EXPECT_FALSE(w.update().check());
    const auto messages = w.op.callsOf("message");
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].caption, "Pelomira");
    EXPECT_EQ(messages[0].icon, MessageIcon::Error);
    EXPECT_TRUE(messages[0].text.starts_with(
        "ERRO AO CHECAR VERSÃO\rPor favor entre em contato com o suporte técnico\rERRO: "));
    const std::string log = TestEnv::readFile(w.env.home() + "ERRO.CSV");
    EXPECT_NE(log.find(";Procedimento: Importando Dados para o NORVIK - Erro: 'A'"), std::string::npos) << log;
}

TEST(VersionUpdate, UnreadableFolderIsReported) {
    if (::geteuid() == 0)
        GTEST_SKIP() << "permissions do not stop root";
    UpdateWorld w;
    w.file("_PELOMIRA_1_0_0_1.EXE", 1);
    ::chmod(w.folder.c_str(), 0);
    EXPECT_FALSE(w.update().check());
    ::chmod(w.folder.c_str(), 0755);
    ASSERT_EQ(w.op.messages().size(), 1u);
    EXPECT_TRUE(w.op.messages()[0].starts_with("ERRO AO CHECAR VERSÃO\r"));
}
