#include "base/IniFile.h"
#include "TestEnv.h"
#include "base/AppError.h"
#include "platform/Platform.h"

#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <thread>
#include <unistd.h>

TEST(IniFile, MissingFileSectionOrKeyReadsEmpty) {
    TestEnv env;
    const std::string ini = env.path("x.ini");
    EXPECT_EQ(readIniFile(ini, "Dados", "Dados"), "");
    TestEnv::writeFile(ini, "[Dados]\r\nDados=C:\\X\r\n");
    EXPECT_EQ(readIniFile(ini, "Outra", "Dados"), "");
    EXPECT_EQ(readIniFile(ini, "Dados", "Nada"), "");
}

TEST(IniFile, SectionsAndKeysIgnoreCase) {
    TestEnv env;
    const std::string ini = env.path("x.ini");
    TestEnv::writeFile(ini, "; comment\n[Integra]\nCod_Samsung = S0018 \n[Dados]\nDados=a=b\n");
    EXPECT_EQ(readIniFile(ini, "INTEGRA", "cod_samsung"), "S0018");
    EXPECT_EQ(readIniFile(ini, "dados", "DADOS"), "a=b");
}

TEST(IniFile, WriteReplacesAddsAndKeepsOtherLines) {
    TestEnv env;
    const std::string ini = env.path("x.ini");
    writeIniFile(ini, "Dados", "Dados", "um");
    writeIniFile(ini, "Alerta", "Intervalo", "5");
    writeIniFile(ini, "DADOS", "dados", "dois");
    writeIniFile(ini, "Dados", "WebService", "http://x");
    EXPECT_EQ(readIniFile(ini, "Dados", "Dados"), "dois");
    EXPECT_EQ(readIniFile(ini, "Dados", "WebService"), "http://x");
    EXPECT_EQ(readIniFile(ini, "Alerta", "Intervalo"), "5");
    // The new key went into its own section, before the next one.
    EXPECT_EQ(TestEnv::readFile(ini),
              "[Dados]\r\nDados=dois\r\nWebService=http://x\r\n\r\n[Alerta]\r\nIntervalo=5\r\n");
    // Accented values survive as written.
    writeIniFile(ini, "Tabelas", "Tabela2", "AGÊNCIA SECEX;TAB_AGENCIA_SECEX");
    EXPECT_EQ(readIniFile(ini, "Tabelas", "Tabela2"), "AGÊNCIA SECEX;TAB_AGENCIA_SECEX");
}

TEST(IniFile, UnwritableFileRaisesAndKeepsTheOldContent) {
    TestEnv env;
    const std::string ini = env.path("folder.ini");
    TestEnv::makeFolder(ini); // a folder where the file should be cannot be written
    EXPECT_THROW(writeIniFile(ini, "Dados", "Dados", "x"), AppError);
    EXPECT_THROW(writeIniFile(env.path("missing/x.ini"), "Dados", "Dados", "x"), AppError);
}

TEST(IniFile, ValuesGoToTheWindowsFolder) {
    TestEnv env;
    auto platform = Platform::createNative();
    WriteIniValue(*platform, "PELOMIRA.INI", "Dados", "ArqXML", "TABS.XML");
    EXPECT_TRUE(TestEnv::exists(env.windir() + "/PELOMIRA.INI"));
    EXPECT_EQ(ReadIniValue(*platform, "PELOMIRA.INI", "dados", "arqxml"), "TABS.XML");
}

TEST(IniFile, WritersAtOnceKeepEveryKey) {
    TestEnv env;
    const std::string ini = env.path("x.ini");
    writeIniFile(ini, "Dados", "Dados", "antes");
    // Eight writers at once, each with keys of its own: every key of every writer is kept, and the
    // file is never seen half written.
    std::vector<std::thread> writers;
    std::atomic<bool> torn{false};
    for (int w = 0; w < 8; ++w)
        writers.emplace_back([&, w] {
            for (int k = 0; k < 25; ++k) {
                writeIniFile(ini, "Teste", "W" + std::to_string(w) + "K" + std::to_string(k), std::to_string(k));
                if (readIniFile(ini, "Dados", "Dados") != "antes")
                    torn = true;
            }
        });
    for (auto& t : writers)
        t.join();
    EXPECT_FALSE(torn);
    for (int w = 0; w < 8; ++w)
        for (int k = 0; k < 25; ++k)
            EXPECT_EQ(readIniFile(ini, "Teste", "W" + std::to_string(w) + "K" + std::to_string(k)), std::to_string(k));
    for (const auto& e : std::filesystem::directory_iterator(env.root()))
        EXPECT_TRUE(e.path().filename() == "x.ini" || e.path().filename() == "x.ini.lock" || e.is_directory())
            << "left behind: " << e.path();
}

TEST(IniFile, ProgramsSavingAtOnceKeepEveryKey) {
    const std::string cli = std::string(PELOMIRA_BINARY_DIR) + "/bin/pelomira-cli";
    if (!TestEnv::exists(cli))
        GTEST_SKIP() << "pelomira-cli not built";
    TestEnv env;
    // Forty programs at once, as forty scheduled jobs might.
    const std::string script = "for i in $(seq 40); do \"" + cli + "\" settings set Teste K$i V$i & done; wait";
    ASSERT_EQ(std::system(script.c_str()), 0);
    const std::string ini = env.windir() + "/PELOMIRA.INI";
    for (int i = 1; i <= 40; ++i)
        EXPECT_EQ(readIniFile(ini, "Teste", "K" + std::to_string(i)), "V" + std::to_string(i));
}

TEST(IniFile, KeysSectionsAndValuesTheFileCouldNotGiveBackAreRefused) {
    TestEnv env;
    const std::string ini = env.path("x.ini");
    writeIniFile(ini, "Dados", "TabelasIntegra", "servidor:/base.fdb");
    const std::string before = TestEnv::readFile(ini);
    // A line break would start a line of its own: here a second TabelasIntegra that wins on reading.
    EXPECT_THROW(writeIniFile(ini, "Dados", "WebService", "http://x\r\nTabelasIntegra=outro:/x.fdb"), AppError);
    EXPECT_THROW(writeIniFile(ini, "Dados", "WebService", "a\nb"), AppError);
    EXPECT_THROW(writeIniFile(ini, "Dados", "Chave=Valor", "x"), AppError);
    EXPECT_THROW(writeIniFile(ini, "Da]dos", "Chave", "x"), AppError);
    EXPECT_THROW(writeIniFile(ini, "", "Chave", "x"), AppError);
    EXPECT_THROW(writeIniFile(ini, "Dados", " ", "x"), AppError);
    EXPECT_EQ(TestEnv::readFile(ini), before);
    try {
        writeIniFile(ini, "Dados", "WebService", std::string(10'000'000, 'a') + "\n");
    } catch (const AppError& e) {
        EXPECT_LT(std::string(e.what()).size(), 400u) << "the value is named, not echoed whole";
    }
}

TEST(IniFile, ByteOrderMarkLinksAndUnreadableFiles) {
    TestEnv env;
    // A file saved by an editor that puts a byte-order mark first: its first section is still found,
    // and the mark stays where it was.
    const std::string ini = env.path("bom.ini");
    TestEnv::writeFile(ini, "\xEF\xBB\xBF[Dados]\r\nDados=/orientador\r\n");
    EXPECT_EQ(readIniFile(ini, "Dados", "Dados"), "/orientador");
    writeIniFile(ini, "Dados", "ArqXML", "TABS.XML");
    EXPECT_EQ(TestEnv::readFile(ini), "\xEF\xBB\xBF[Dados]\r\nDados=/orientador\r\nArqXML=TABS.XML\r\n");

    // A link to a shared INI stays a link; the shared file gets the key.
    TestEnv::makeFolder(env.path("shared"));
    const std::string shared = env.path("shared/PELOMIRA.INI");
    TestEnv::writeFile(shared, "[Dados]\r\nDados=x\r\n");
    const std::string link = env.path("PELOMIRA.INI");
    ASSERT_EQ(::symlink("shared/PELOMIRA.INI", link.c_str()), 0);
    writeIniFile(link, "Alerta", "Intervalo", "5");
    EXPECT_TRUE(std::filesystem::is_symlink(link));
    EXPECT_EQ(readIniFile(shared, "Alerta", "Intervalo"), "5");
    EXPECT_EQ(readIniFile(link, "Dados", "Dados"), "x");

    // A settings file that is there but cannot be read is an error, never an empty file.
    const std::string folder = env.path("pasta.ini");
    TestEnv::makeFolder(folder);
    EXPECT_THROW(readIniFile(folder, "Dados", "Dados"), AppError);
}
