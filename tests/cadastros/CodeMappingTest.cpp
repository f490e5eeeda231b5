#include "cadastros/CodeMapping.h"
#include "../data/IntegraWorld.h"
#include "base/AppError.h"
#include "cli/CliRunner.h"

#include <gtest/gtest.h>

#include <sstream>

TEST(CodeMapping, SavedUpperCasedAndFoundWhateverTheCaseAndBlanksOfTheQuestion) {
    IntegraWorld w;
    CodeMapping mapping(w.ctx);
    ASSERT_TRUE(mapping.save(" samsung ", "fabricante", "ab12 ", " x9"));
    EXPECT_EQ(w.column("SELECT COD_CLIENTE || '|' || TABELA || '|' || COD_INTEGR || '|' || COD_MERLIN FROM VINCULO"),
              std::vector<std::string>{"SAMSUNG|FABRICANTE|AB12|X9"});
    EXPECT_EQ(mapping.lookup("samsung ", "fabricante", "ab12"), "X9");
    EXPECT_EQ(w.dm.sqlDsVinculo.commandText(),
              "SELECT * FROM VINCULO WHERE COD_CLIENTE = 'SAMSUNG' AND TABELA = 'FABRICANTE' AND COD_INTEGR = 'AB12'");
    EXPECT_FALSE(w.dm.cdsVinculo.active()); // closed after the answer
    EXPECT_TRUE(w.op.calls().empty());
    // The same customer code under another registry is another mapping.
    EXPECT_EQ(mapping.find("SAMSUNG", "EXPORTADOR", "AB12"), std::nullopt);
}

TEST(CodeMapping, OnlyLettersAToZAreUpperCased) {
    IntegraWorld w;
    CodeMapping mapping(w.ctx);
    ASSERT_TRUE(mapping.save("synthes", "unidade", "çx-é1", "m'1"));
    EXPECT_EQ(w.column("SELECT COD_INTEGR FROM VINCULO"), std::vector<std::string>{"çX-é1"});
    EXPECT_EQ(mapping.find("SYNTHES", "UNIDADE", "çx-é1"), std::optional<std::string>("M'1"));
    EXPECT_EQ(mapping.find("SYNTHES", "UNIDADE", "ÇX-É1"), std::nullopt); // accented capitals are other letters
    EXPECT_EQ(CodeMapping::lookupSql("ção", "país", "a'b"),
              "SELECT * FROM VINCULO WHERE COD_CLIENTE = 'çãO' AND TABELA = 'PAíS' AND COD_INTEGR = 'A''B'");
}

TEST(CodeMapping, AMissingMappingIsAskedForUntilOneExists) {
    IntegraWorld w;
    CodeMapping mapping(w.ctx);
    // First window closed without saving ("Sair"), second one saves.
    w.op.queueMappingAction([] {});
    w.op.queueMappingAction([&] { CodeMapping(w.ctx).save("SAMSUNG", "Fabricante", "AB12", "f77"); });
    EXPECT_EQ(mapping.lookup(" samsung", " fabricante ", "ab12 "), "F77");
    const auto prompts = w.op.callsOf("codeMappingPrompt");
    ASSERT_EQ(prompts.size(), 2u);
    // The window receives the trimmed values, not upper-cased.
    EXPECT_EQ(prompts[0].text, "ab12");
    EXPECT_EQ(prompts[0].extra, (std::vector<std::string>{"samsung", "fabricante"}));
}

TEST(CodeMapping, WithNobodyToAskTheLookupFailsInsteadOfLooping) {
    IntegraWorld w;
    CodeMapping mapping(w.ctx);
    try {
        mapping.lookup("HONEYWELL", "FABRICANTE", "Z1");
        FAIL() << "no failure";
    } catch (const AppError& e) {
        EXPECT_EQ(std::string(e.what()),
                  "O código Z1 do cliente HONEYWELL não tem vínculo com um código Merlin na tabela FABRICANTE "
                  "(Vínculos - Tabela De / Para).");
    }
    EXPECT_EQ(w.op.callsOf("codeMappingPrompt").size(), 1u);
}

TEST(CodeMapping, SaveWithoutMerlinCodeDoesNothingAndFailuresAreReported) {
    IntegraWorld w;
    CodeMapping mapping(w.ctx);
    EXPECT_FALSE(mapping.save("A", "Unidade", "1", "   "));
    EXPECT_TRUE(w.op.calls().empty());
    EXPECT_TRUE(w.column("SELECT * FROM VINCULO").empty());

    ASSERT_TRUE(mapping.save("A", "Unidade", "1", "UN"));
    EXPECT_FALSE(mapping.save("a", "UNIDADE", "1", "KG")); // the same mapping again: refused by the index
    ASSERT_EQ(w.op.messages().size(), 1u);
    EXPECT_EQ(w.op.messages()[0].rfind("OCORREU UM ERRO\rPor favor entre em contato com o suporte técnico\r\r"
                                       "Procedimento: Gravando dados na tabela VINCULO\rERRO: ",
                                       0),
              0u);
    ASSERT_EQ(w.errorLog().size(), 1u);
    EXPECT_NE(w.errorLog()[0].find("Procedimento: Gravando dados na tabela VINCULO - Erro: "), std::string::npos);
    EXPECT_EQ(w.column("SELECT COD_MERLIN FROM VINCULO"), std::vector<std::string>{"UN"});
}

TEST(CodeMapping, WindowListSelection) {
    EXPECT_EQ(CodeMapping::registryItems(), (std::vector<std::string>{"Exportador", "Fabricante", "País", "Unidade"}));
    EXPECT_EQ(CodeMapping::registryItemIndex("FABRICANTE"), 1);
    EXPECT_EQ(CodeMapping::registryItemIndex("unidade"), 3);
    EXPECT_EQ(CodeMapping::registryItemIndex("país"), 2);
    EXPECT_EQ(CodeMapping::registryItemIndex("CLIENTE"), -1);
}

TEST(CodeMapping, TheCommandLineStoresOnlyRegistriesAnIntegrationCanFind) {
    IntegraWorld w;
    w.settings.write(Settings::Dados, Settings::KeyTabelasIntegra, w.location);
    const auto cli = [&](const std::vector<std::string>& words, std::string* err = nullptr) {
        std::ostringstream out, errors;
        const int code = runCli(words, *w.platform, out, errors);
        if (err)
            *err = errors.str();
        return code;
    };
    std::string err;
    EXPECT_EQ(cli({"mapping", "set", "SAMSUNG", "FABRICA", "A1", "M1"}, &err), 1);
    EXPECT_NE(err.find("Tabela desconhecida para o vínculo: 'FABRICA'"), std::string::npos) << err;
    EXPECT_EQ(cli({"mapping", "set", "SAMSUNG", "UNIDADE", "--PC", "UN"}, &err), 2) << "a value like an option";
    EXPECT_TRUE(w.column("SELECT COD_INTEGR FROM VINCULO").empty());

    // After "--" such a value is a value, in its own column; the table may be named either way.
    EXPECT_EQ(cli({"mapping", "set", "--", "samsung", "unidade", "--PC", "un"}, &err), 0) << err;
    EXPECT_EQ(cli({"mapping", "set", "SYNTHES", "Fabricante", "F 1", "M2"}, &err), 0) << err;
    EXPECT_EQ(w.column("SELECT COD_CLIENTE || '|' || TABELA || '|' || COD_INTEGR || '|' || COD_MERLIN FROM VINCULO "
                       "ORDER BY 1"),
              (std::vector<std::string>{"SAMSUNG|UNIDADE|--PC|UN", "SYNTHES|FABRICANTE|F 1|M2"}));
}
