#include "base/IniFile.h"
#include "TestEnv.h"
#include "base/AppError.h"
#include "platform/Platform.h"

#include <gtest/gtest.h>

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
