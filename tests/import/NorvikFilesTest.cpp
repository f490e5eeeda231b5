// The NORVIK folder routines the DI transfer builds on, on a folder made by init-norvik.
#include "data/NorvikFiles.h"
#include "base/AppError.h"
#include "import/NorvikWorld.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

void addRecord(const std::string& dbf, const std::vector<std::string>& indices,
               const std::vector<std::pair<std::string, std::string>>& values) {
    DbfTable t;
    t.open(dbf, indices);
    t.append();
    for (const auto& [f, v] : values)
        t.setText(f, v);
    t.post();
}

} // namespace

TEST(NorvikFiles, NextFreeCodeTakesTheLowestGapAndLookupsPadOrCutToTheKeyWidth) {
    NorvikWorld w(false);
    const std::string arze = w.folder + "/RIARZE.DBF";
    for (const char* code : {"001", "002", "004"})
        addRecord(arze, {w.folder + "/RIARZE.NTX"},
                  {{"CODIGO", code}, {"DESCRICAO", std::string("ARMAZEM ") + code}, {"RECINTO", "8911101"}});
    EXPECT_EQ(NorvikFiles::nextFreeCode(w.ctx, w.dm.vkRIARZE, "RIARZE", {"RIARZE"}, 3, "CODIGO"), "003");
    EXPECT_FALSE(w.dm.vkRIARZE.table.isOpen());

    // Only the first 60 characters of the description count; a shorter value is padded.
    const std::string longer = "ARMAZEM 004" + std::string(49, ' ') + "este resto não conta";
    EXPECT_EQ(NorvikFiles::codeLookup(w.ctx, w.dm.vkRIARZE, "RIARZE", {"RIARZE"}, "CODIGO",
                                      {{"DESCRICAO", 60}, {"RECINTO", 7}}, {longer, "8911101"}),
              "004");
    EXPECT_TRUE(w.dm.vkRIARZE.table.isOpen()); // a lookup leaves its table open
    EXPECT_EQ(NorvikFiles::codeLookup(w.ctx, w.dm.vkRIARZE, "RIARZE", {"RIARZE"}, "CODIGO",
                                      {{"DESCRICAO", 60}, {"RECINTO", 7}}, {"armazem 004", "8911101"}),
              "0"); // case counts here
}

TEST(NorvikFiles, TheFolderIsReadAtEveryOpenAndTheBindingFollowsIt) {
    NorvikWorld w(false);
    NorvikFiles::openTable(w.ctx, w.dm.vkRIUNID, "RIUNID", {"RIUNID"});
    EXPECT_EQ(w.dm.vkRIUNID.fileName, w.folder + "/RIUNID.DBF");
    w.dm.vkRIUNID.table.close();
    const std::string other = w.env.path("OUTRO/");
    NorvikFolder::create(other, true);
    TestEnv::writeFile(w.env.windir() + "/VORDA.INI", "[NORVIK]\r\nCAMINHO=" + other + "\r\n");
    NorvikFiles::openTable(w.ctx, w.dm.vkRIUNID, "RIUNID", {"RIUNID"});
    EXPECT_EQ(w.dm.vkRIUNID.fileName, other + "RIUNID.DBF");
    EXPECT_EQ(w.dm.vkRIUNID.table.recordCount(), 3u);
    // A missing file is named in the failure.
    std::filesystem::remove(other + "RIUNID.NTX");
    w.dm.vkRIUNID.table.close();
    NorvikTable fresh("vkRIUNID");
    try {
        NorvikFiles::openTable(w.ctx, fresh, "RIUNID", {"RIUNID"});
        FAIL() << "opened without its index";
    } catch (const AppError& e) {
        EXPECT_NE(std::string(e.what()).find("RIUNID.NTX"), std::string::npos) << e.what();
    }
}

TEST(NorvikFiles, AmountsConvertThroughTheRatesInReaisAndAMissingRateGivesZero) {
    NorvikWorld w; // rates of 02/03/2026: 790 = 1, 220 = 5.15, 978 = 5.6
    EXPECT_DOUBLE_EQ(NorvikFiles::exchangeRate(w.ctx, "220", "02/03/2026"), 5.15);
    EXPECT_DOUBLE_EQ(NorvikFiles::exchangeRate(w.ctx, "220", "03/03/2026"), 0);
    EXPECT_NEAR(NorvikFiles::convertAmount(w.ctx, "02/03/2026", "790", "220", 515), 100, 1e-9);
    EXPECT_NEAR(NorvikFiles::convertAmount(w.ctx, "02/03/2026", "220", "790", 100), 515, 1e-9);
    EXPECT_NEAR(NorvikFiles::convertAmount(w.ctx, "02/03/2026", "978", "220", 515), 560, 1e-9);
    EXPECT_EQ(NorvikFiles::convertAmount(w.ctx, "04/04/2026", "790", "220", 515), 0);
}

TEST(NorvikFiles, ThePresenceCheckAsksOnlyWhenThereIsAProcessAndCancelDeletesNothing) {
    NorvikWorld w;
    bool overwritten = false;
    EXPECT_EQ(NorvikFiles::processPresenceCheck(w.ctx, "REGISTRO", "P1", "P1", overwritten),
              NorvikFiles::Presence::GoOn);
    EXPECT_TRUE(w.op.callsOf("showMessage").empty());

    addRecord(w.folder + "/RIREGI.DBF", {w.folder + "/RIREGI.NTX", w.folder + "/RIFOLL.NTX"}, {{"REGISTRO", "p1"}});
    addRecord(w.folder + "/RICUST.DBF", {w.folder + "/RICUST.NTX"}, {{"REGISTRO", "P1"}, {"COD_DESP", "0001"}});
    addRecord(w.folder + "/RICUST.DBF", {w.folder + "/RICUST.NTX"}, {{"REGISTRO", "P2"}, {"COD_DESP", "0001"}});
    w.op.queueButton(1);
    EXPECT_EQ(NorvikFiles::processPresenceCheck(w.ctx, "REGISTRO", " P1 ", "ID-P1", overwritten),
              NorvikFiles::Presence::Stop);
    EXPECT_FALSE(overwritten);
    const auto asked = w.op.callsOf("showMessage");
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0].text, "Declaração de Importação \rID-P1\rjá existente no NORVIK!");
    w.dm.vkRIREGI.table.close();
    EXPECT_EQ(w.rows("RIREGI").size(), 1u);

    w.op.queueButton(0);
    EXPECT_EQ(NorvikFiles::processPresenceCheck(w.ctx, "REGISTRO", "P1", "ID-P1", overwritten),
              NorvikFiles::Presence::GoOn);
    EXPECT_TRUE(overwritten);
    EXPECT_TRUE(w.rows("RIREGI").empty());
    const auto left = w.rows("RICUST");
    ASSERT_EQ(left.size(), 1u);
    EXPECT_EQ(left[0].at("REGISTRO"), "P2");
    const auto steps = w.op.callsOf("progressStep");
    ASSERT_EQ(steps.size(), 17u);
    EXPECT_EQ(steps[0].text, "Verificando a tabela RIREGI.DBF");
    EXPECT_EQ(steps[1].text, "Verificando a tabela RICUST.DBF");
    EXPECT_TRUE(w.check().empty());
}
