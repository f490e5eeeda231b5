#include "base/Settings.h"
#include "TestEnv.h"
#include "platform/Platform.h"

#include <gtest/gtest.h>

TEST(Settings, FirstRunDefaultsInOrderWithExactTexts) {
    TestEnv env;
    auto platform = Platform::createNative();
    Settings settings(*platform);
    EXPECT_FALSE(settings.exists());
    settings.writeFirstRunDefaults();
    ASSERT_TRUE(settings.exists());

    const auto defaults = settings.firstRunDefaults();
    ASSERT_EQ(defaults.size(), 6u + 29u + 2u + 6u);
    EXPECT_EQ(defaults[0].second.first, "Dados");
    EXPECT_EQ(defaults[5].second.first, "PastaXML");
    EXPECT_EQ(defaults[6].second.first, "Tabela1");
    EXPECT_EQ(defaults[34].second.first, "ACIMTB");
    EXPECT_EQ(defaults[35].second.first, "Intervalo");
    EXPECT_EQ(defaults.back().second.first, "Caminho_Synthes");

    EXPECT_EQ(settings.read("Dados", "ArqTransform"), env.home() + "XTR");
    EXPECT_EQ(settings.read("Dados", "PastaXML"), env.home() + "XML");
    EXPECT_EQ(settings.read("Dados", "ArqXML"), "TABS.XML");
    EXPECT_TRUE(settings.read("Dados", "WebService").ends_with("/invoke/amDGFLatamMerlin.services"));
    EXPECT_EQ(settings.read("Tabelas", "Tabela3"), "CLASSIFICAÇÃO FISCAL (NCM);TAB_NCM");
    EXPECT_EQ(settings.read("Tabelas", "Tabela28"), "UNIDADE DE MEDIDA ESTATÍSTICA;TAB_UNID_MEDIDA");
    EXPECT_EQ(settings.read("Tabelas", "ACIMTB"), "0");
    EXPECT_EQ(settings.read("Alerta", "TipoIntervalo"), "1");
    EXPECT_EQ(settings.read("Integra", "Cod_Honeywell"), "H8844");
    EXPECT_EQ(settings.read("Integra", "Cod_Synthes"), "S5857");
    // The two keys without default read as empty.
    EXPECT_EQ(settings.read("Dados", "WebService2"), "");
    EXPECT_EQ(settings.read("Dados", "TabelasIntegra"), "");
}

TEST(Settings, DriveLetterDefaultsLandUnderTheHomeFolder) {
    TestEnv env;
    auto platform = Platform::createNative();
    Settings settings(*platform);
    const std::string home = platform->homeFolder();
    EXPECT_EQ(settings.localDefaultPath("C:\\SISCOPRD\\Import.prd"), home + "/SISCOPRD/Import.prd");
    EXPECT_EQ(settings.localDefaultPath("J:\\Pelomira\\Atualizacao"), home + "/Pelomira/Atualizacao");
    settings.writeFirstRunDefaults();
    EXPECT_EQ(settings.read("Integra", "Caminho_Samsung"), home + "/Samsung/XML");
}

TEST(Settings, NorvikFolderFromVordaWithDefaultAndSeparator) {
    TestEnv env;
    auto platform = Platform::createNative();
    Settings settings(*platform);
    EXPECT_EQ(settings.norvikFolder(), platform->homeFolder() + "/NORVIK/");
    TestEnv::writeFile(env.windir() + "/VORDA.INI", "[NORVIK]\r\nCAMINHO=/srv/norvik\r\n");
    EXPECT_EQ(settings.norvikFolder(), "/srv/norvik/");
    TestEnv::writeFile(env.windir() + "/VORDA.INI", "[norvik]\r\ncaminho=/srv/norvik/\r\n");
    EXPECT_EQ(settings.norvikFolder(), "/srv/norvik/");
}
