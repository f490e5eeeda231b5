#include "data/IntegraReindex.h"
#include "IntegraWorld.h"

#include <gtest/gtest.h>

namespace {

std::vector<std::string> stepTexts(const ScriptedOperator& op) {
    std::vector<std::string> texts;
    for (const auto& c : op.callsOf("progressStep"))
        texts.push_back(c.text + " " + c.extra.at(0) + "/" + c.extra.at(1));
    return texts;
}

// Index name → 1 when inactive.
std::vector<std::string> inactiveIndices(IntegraWorld& w) {
    return w.column("SELECT TRIM(RDB$INDEX_NAME) FROM RDB$INDICES WHERE RDB$INDEX_INACTIVE = 1 "
                    "ORDER BY RDB$INDEX_NAME");
}

} // namespace

TEST(IntegraReindex, SixStepsInTableOrderThenOneSuccessBox) {
    IntegraWorld w;
    EXPECT_TRUE(IntegraReindex::run(w.ctx));
    const auto opened = w.op.callsOf("progressOpen");
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_EQ(opened[0].text, "Preparando a Reindexação dos arquivos, Aguarde...");
    EXPECT_EQ(opened[0].extra, (std::vector<std::string>{"0", "6"}));
    EXPECT_EQ(stepTexts(w.op),
              (std::vector<std::string>{"Reindexando Tabela EXPORTADOR 1/6", "Reindexando Tabela FABRICANTE 2/6",
                                        "Reindexando Tabela GERADOS 3/6", "Reindexando Tabela PAIS 4/6",
                                        "Reindexando Tabela UNIDADE 5/6", "Reindexando Tabela VINCULO 6/6"}));
    EXPECT_FALSE(w.op.progressIsOpen());
    ASSERT_EQ(w.op.callsOf("message").size(), 1u);
    EXPECT_EQ(w.op.callsOf("message")[0].text, "Índices recriados com sucesso!");
    EXPECT_EQ(w.op.callsOf("message")[0].caption, "Pelomira");
    EXPECT_EQ(w.op.callsOf("message")[0].icon, MessageIcon::Information);
    EXPECT_TRUE(inactiveIndices(w).empty());
    EXPECT_TRUE(w.op.callsOf("balloon").empty());
    // The progress window is closed before the box appears.
    const auto& calls = w.op.calls();
    EXPECT_EQ(calls[calls.size() - 2].kind, "progressClose");
}

TEST(IntegraReindex, AFailureStopsAtItsTableAndGoesToTheBalloonAndErrorLog) {
    IntegraWorld w;
    w.sql("DROP INDEX PAIS");
    EXPECT_FALSE(IntegraReindex::run(w.ctx));
    EXPECT_EQ(stepTexts(w.op).size(), 4u); // EXPORTADOR, FABRICANTE, GERADOS done; PAIS fails
    EXPECT_TRUE(w.op.callsOf("message").empty()) << "no message box";
    EXPECT_FALSE(w.op.progressIsOpen());
    const auto balloons = w.op.callsOf("balloon");
    ASSERT_EQ(balloons.size(), 1u);
    const std::string head = "Ocorreu o seguinte erro ao tentar recriar os índices: \r\r";
    const std::string tail = "\r\rPor favor entre em contato com o Suporte Técnico.";
    const std::string& text = balloons[0].text;
    ASSERT_EQ(text.rfind(head, 0), 0u) << text;
    ASSERT_GT(text.size(), head.size() + tail.size());
    EXPECT_EQ(text.substr(text.size() - tail.size()), tail);
    const std::string failure = text.substr(head.size(), text.size() - head.size() - tail.size());
    EXPECT_NE(failure.find("PAIS"), std::string::npos) << failure;
    EXPECT_EQ(w.errorLog().size(), 1u);
    EXPECT_NE(w.errorLog()[0].find("Procedimento: Recriando Índices - Erro: " + failure), std::string::npos)
        << w.errorLog()[0];
    EXPECT_TRUE(inactiveIndices(w).empty()); // the tables before it were rebuilt and are active again
}

TEST(IntegraReindex, AMissingDatabaseIsReportedTheSameWay) {
    IntegraWorld w;
    w.dm.sqlConIntegra.setDatabase(w.env.path("OUTRO.FDB"));
    EXPECT_FALSE(IntegraReindex::run(w.ctx));
    ASSERT_EQ(w.op.callsOf("balloon").size(), 1u);
    EXPECT_NE(w.op.callsOf("balloon")[0].text.find("OUTRO.FDB\" não foi encontrado."), std::string::npos);
    EXPECT_EQ(stepTexts(w.op).size(), 1u);
    EXPECT_FALSE(w.op.progressIsOpen());
}
