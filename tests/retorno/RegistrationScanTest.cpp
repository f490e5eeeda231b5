// The registration scan over an Orientador folder and an Integra database, both real.
#include "retorno/RetornoWorld.h"

#include "base/AppError.h"
#include "data/RecordSet.h"
#include "platform/Platform.h"
#include "retorno/PendingReturns.h"
#include "retorno/RegistrationScan.h"
#include "retorno/ReturnList.h"
#include "retorno/ScanSources.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

// "KIND REGISTRO" of every row of a list, in order.
std::vector<std::string> listed(RecordSet& list) {
    std::vector<std::string> rows;
    for (const ReturnEntry& e : ReturnList::entries(list))
        rows.push_back(e.kind + " " + e.registro);
    return rows;
}

// One of each kind, registered with every field the manual scan asks for.
void registerOneOfEach(const RegisteredProcesses& o) {
    o.lsi("00007/26", "2600000017", "02/03/2026", "7000000001");
    o.dsi("00012/26", "2600000012", "03/03/2026", "7000000002", "01/03/2026");
    o.li("LI-77", "2600000077", "04/03/2026", "7000000003");
    o.di("123456", "2612345678", "05032026", "9876543210", "04032026", "03032026");
}

} // namespace

TEST(RegistrationScan, ReadsTheFourKindsInOrderWithEachKindsFieldsAndDates) {
    RetornoWorld w;
    registerOneOfEach(w.orientador);
    RecordSet& list = w.dm.cdsTemp;
    ASSERT_TRUE(RegistrationScan(w.ctx).manual(list));

    EXPECT_EQ(listed(list), (std::vector<std::string>{"LSI 00007/26", "DSI 00012/26", "LI LI-77", "DI 123456"}));
    const std::vector<ReturnEntry> e = ReturnList::entries(list);
    ASSERT_EQ(e.size(), 4u);
    // LSI: no processing or transmission date; the year from the registration date.
    EXPECT_EQ(e[0].nrProcesso, "2600000017");
    EXPECT_EQ(e[0].dataProcesso, "02/03/2026");
    EXPECT_EQ(e[0].nrProtocolo, "7000000001");
    EXPECT_EQ(e[0].dataProcessamento, "");
    EXPECT_EQ(e[0].dataTransmissao, "");
    EXPECT_EQ(e[0].anoRegistro, "2026");
    // DSI: the transmission date, no processing date.
    EXPECT_EQ(e[1].dataTransmissao, "01/03/2026");
    EXPECT_EQ(e[1].dataProcessamento, "");
    // DI: the eight-character dates become dd/mm/yyyy; the year is characters 5 to 8.
    EXPECT_EQ(e[3].dataProcesso, "05/03/2026");
    EXPECT_EQ(e[3].dataProcessamento, "04/03/2026");
    EXPECT_EQ(e[3].dataTransmissao, "03/03/2026");
    EXPECT_EQ(e[3].anoRegistro, "2026");
    EXPECT_EQ(e[3].nrProcesso, "2612345678");
    // The manual scan leaves IMPORTAR unset, and the cursor on the last row added.
    EXPECT_TRUE(list.isNull(ReturnList::Importar));
    EXPECT_FALSE(ReturnList::ticked(list));
    EXPECT_EQ(list.text(ReturnList::Registro), "123456");
    // Progress: four steps, one per kind, then closed.
    const auto steps = w.op.callsOf("progressStep");
    ASSERT_EQ(steps.size(), 4u);
    EXPECT_EQ(steps[0].text, "Carregando Processos de LSI...");
    EXPECT_EQ(steps[3].text, "Carregando Processos de DI...");
    EXPECT_EQ(w.op.callsOf("progressOpen").at(0).text, "Preparando a transferência, Aguarde...");
    EXPECT_FALSE(w.op.progressIsOpen());
    // Every table let go: the Orientador finds its files free.
    EXPECT_FALSE(w.dm.ADOCon_IMPORT.connected());
    EXPECT_FALSE(w.dm.ADOTbl_IMPORT.active());
}

TEST(RegistrationScan, ManualAsksForEveryRegistrationFieldAutomaticForTheRegistrationDateOnly) {
    RetornoWorld w;
    const RegisteredProcesses& o = w.orientador;
    o.lsi("L-FULL", "N1", "02/03/2026", "P1");
    o.lsi("L-NOPROT", "N2", "02/03/2026", "");
    o.lsi("L-NODATE", "N3", "", "P3");
    o.dsi("D-FULL", "N4", "03/03/2026", "P4", "01/03/2026");
    o.dsi("D-NOTRANSM", "N5", "03/03/2026", "P5", ""); // registered, not yet transmitted on the list's terms
    o.li("I-NONR", "", "04/03/2026", "P6");
    o.di("DI-NOPROC", "26000001", "05032026", "P7", "", "03032026");
    o.di("DI-NODATE", "26000002", "", "P8", "04032026", "03032026");

    RecordSet manual("manual");
    ASSERT_TRUE(RegistrationScan(w.ctx).manual(manual));
    EXPECT_EQ(listed(manual), (std::vector<std::string>{"LSI L-FULL", "DSI D-FULL"}));

    RecordSet automatic("automatic");
    RegistrationScan(w.ctx).automatic(automatic);
    EXPECT_EQ(listed(automatic), (std::vector<std::string>{"LSI L-FULL", "LSI L-NOPROT", "DSI D-FULL", "DSI D-NOTRANSM",
                                                           "LI I-NONR", "DI DI-NOPROC"}));
    // The automatic scan ticks every row; a date the row lacks stays empty instead of ending the scan.
    for (const ReturnEntry& e : ReturnList::entries(automatic))
        EXPECT_TRUE(e.ticked) << e.registro;
    EXPECT_EQ(ReturnList::entries(automatic).back().dataProcessamento, "");
}

TEST(RegistrationScan, LeavesOutWhatGeradosHoldsUnderTheSameKindAndTrimmedIdentifier) {
    RetornoWorld w;
    const RegisteredProcesses& o = w.orientador;
    o.li("123456", "N1", "04/03/2026", "P1");
    o.li("654321  ", "N2", "04/03/2026", "P2"); // trailing blanks in the Orientador
    o.li("O'Brien", "N3", "04/03/2026", "P3");  // a quote, doubled in the statement
    o.li("abc", "N4", "04/03/2026", "P4");      // case counts
    o.lsi("123456", "N5", "02/03/2026", "P5");  // same number, another kind
    o.di("777", "N6", "05032026", "P6", "04032026", "03032026");
    w.returned("LI", "123456");
    w.returned("LI", "654321");
    w.returned("LI", "O'Brien");
    w.returned("LI", "ABC");
    w.returned("DI", "777   "); // stored with trailing blanks: the database does not count them

    for (const bool automatic : {false, true}) {
        RecordSet list("list");
        if (automatic)
            RegistrationScan(w.ctx).automatic(list);
        else
            ASSERT_TRUE(RegistrationScan(w.ctx).manual(list));
        EXPECT_EQ(listed(list), (std::vector<std::string>{"LSI 123456", "LI abc"})) << "automatic " << automatic;
    }
}

TEST(RegistrationScan, ProcessesMerlinAcceptedButGeradosMissedAreWrittenFirstAndNeverOffered) {
    RetornoWorld w;
    w.orientador.li("LI-9", "N1", "04/03/2026", "P1");
    w.orientador.li("LI-10", "N2", "04/03/2026", "P2");
    PendingReturns pending(*w.platform);
    pending.add({"LI", "LI-9", "03/05/2026"});

    RecordSet list("list");
    ASSERT_TRUE(RegistrationScan(w.ctx).manual(list));
    EXPECT_EQ(listed(list), (std::vector<std::string>{"LI LI-10"}));
    EXPECT_EQ(w.gerados(), (std::vector<std::string>{"LI|LI-9|2026-03-05"}));
    EXPECT_TRUE(pending.entries().empty());
    EXPECT_FALSE(TestEnv::exists(pending.path()));
}

TEST(RegistrationScan, AManualFailureIsReportedWithTheStepAndKeepsTheRowsFoundBefore) {
    RetornoWorld w;
    w.orientador.lsi("L1", "N1", "02/03/2026", "P1");
    std::filesystem::remove(w.folder + "/DSI.MDB");

    RecordSet& list = w.dm.cdsTemp;
    EXPECT_FALSE(RegistrationScan(w.ctx).manual(list));
    EXPECT_EQ(listed(list), (std::vector<std::string>{"LSI L1"}));
    const auto boxes = w.op.callsOf("message");
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].caption, "Pelomira");
    EXPECT_EQ(boxes[0].icon, MessageIcon::Error);
    const std::string head = "OCORREU UM ERRO NA CONSULTA\rPor favor entre em contato com o suporte técnico\r\r"
                             "Procedimento: Carregando Processos de DSI...\rERRO: ";
    EXPECT_EQ(boxes[0].text.substr(0, head.size()), head);
    EXPECT_NE(boxes[0].text.find("DSI.MDB"), std::string::npos);
    const auto errors = w.errorLog();
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_NE(errors[0].find("Procedimento: Carregando Processos de DSI... - Erro: "), std::string::npos);
    EXPECT_FALSE(w.op.progressIsOpen());
    EXPECT_FALSE(w.dm.ADOCon_IMPORT.connected());
}

TEST(RegistrationScan, ADateThatIsNoDateEndsTheScanNamingFieldAndProcess) {
    RetornoWorld w;
    w.orientador.di("DI-1", "N1", "31022026", "P1", "04032026", "03032026");
    RecordSet list("list");
    std::string failure;
    try {
        RegistrationScan(w.ctx).automatic(list);
    } catch (const AppError& e) {
        failure = e.what();
    }
    EXPECT_EQ(failure, "'31/02/2026' não é uma data válida (campo DT_REGISTRO_DI do processo DI DI-1)");

    // Already returned, it is not looked at again.
    w.returned("DI", "DI-1");
    EXPECT_NO_THROW(RegistrationScan(w.ctx).automatic(list));
    EXPECT_TRUE(list.isEmpty());
}

TEST(RegistrationScan, ListDatesFromBothKindsOfSourceText) {
    EXPECT_EQ(RegistrationScan::listDate("05032026", true, "x"), "05/03/2026");
    EXPECT_EQ(RegistrationScan::listDate("29022024", true, "x"), "29/02/2024");
    EXPECT_EQ(RegistrationScan::listDate("        ", true, "x"), "");
    EXPECT_EQ(RegistrationScan::listDate("05/03/2026 14:30:00", false, "x"), "05/03/2026");
    EXPECT_EQ(RegistrationScan::listDate("", false, "x"), "");
    EXPECT_THROW(RegistrationScan::listDate("29022025", true, "x"), AppError);
    EXPECT_THROW(RegistrationScan::listDate("0503202", true, "x"), AppError);
    EXPECT_THROW(RegistrationScan::listDate("05-03-2026", false, "x"), AppError);
}

TEST(RegistrationScan, EveryFieldTheSourcesNameExistsInTheOrientadorSchemas) {
    RetornoWorld w;
    for (const ScanSource& s : scanSources()) {
        OrientadorDatabase db;
        db.setConnectionString(OrientadorDatabase::fileConnectionString(w.folder, s.fileName));
        db.connect(*w.platform);
        OrientadorTable t(db);
        t.setTableName(s.table);
        ASSERT_NO_THROW(t.open()) << s.fileName << " " << s.table;
        for (const std::string& field : s.fieldsRead())
            EXPECT_TRUE(t.hasField(field)) << s.kind << " " << field;
        EXPECT_NO_THROW(t.setFilter(s.automaticFilter)) << s.automaticFilter;
    }
}

TEST(PendingReturns, IdentifiersOfAnyTextComeBackAsTheyWentAndForeignLinesStay) {
    TestEnv env;
    auto platform = Platform::createNative();
    PendingReturns pending(*platform);
    TestEnv::writeFile(pending.path(), "# kept by hand\nnot a return line\n");
    const std::string odd = "A;B%20\r\nC\t'\"é";
    pending.add({"DI", odd, "03/05/2026"});
    pending.add({"LI", " 7 ", "03/06/2026"});
    pending.add({"DI", odd + "  ", "03/07/2026"}); // the same process: kept once
    const auto entries = pending.entries();
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].identifier, odd);
    EXPECT_EQ(entries[0].monthDayYear, "03/05/2026");
    EXPECT_EQ(entries[1].identifier, "7");
    EXPECT_NE(TestEnv::readFile(pending.path()).find("not a return line\n"), std::string::npos);
}
