#include "data/DbfTable.h"
#include "DbfTestFiles.h"
#include "TestEnv.h"
#include "base/AppError.h"
#include "data/DbfCheck.h"

#include <gtest/gtest.h>

#include <chrono>
#include <ctime>
#include <memory>
#include <sys/wait.h>
#include <unistd.h>

using namespace DbfTestFiles;

namespace {

struct Folder {
    TestEnv env;
    std::string dbf = env.path("PROC.DBF");
    std::string byReg = env.path("PROCREG.NTX");
    std::string byName = env.path("PROCNOM.NTX");
    Folder() { makeTable(dbf, {{byReg, "UPPER(REGISTRO)+DTOS(DATA)"}, {byName, "NOME"}}); }
    std::vector<std::string> check() const { return DbfCheck::run(dbf, {byReg, byName}, 1000); }
    void add(DbfTable& t, const std::string& reg, const std::string& nome, const std::string& data = "") {
        t.append();
        t.setText("REGISTRO", reg);
        t.setText("NOME", nome);
        t.setText("DATA", data);
        t.post();
    }
};

std::string headerDate(const std::string& dbf) {
    const std::string b = TestEnv::readFile(dbf);
    return std::to_string(1900 + static_cast<unsigned char>(b[1])) + "-" +
           std::to_string(static_cast<unsigned char>(b[2])) + "-" + std::to_string(static_cast<unsigned char>(b[3]));
}

std::string todayText() {
    const std::time_t t = std::time(nullptr);
    std::tm tm{};
    localtime_r(&t, &tm);
    return std::to_string(tm.tm_year + 1900) + "-" + std::to_string(tm.tm_mon + 1) + "-" + std::to_string(tm.tm_mday);
}

} // namespace

TEST(NorvikDbfTable, ValuesOfEveryFieldTypeComeBackAsWritten) {
    Folder f;
    DbfTable t;
    t.open(f.dbf, {f.byReg, f.byName});
    t.append();
    t.setText("REGISTRO", "0001/26");
    t.setText("NOME", "Importação “Ltda” – São Paulo");
    t.setText("VALOR", "1234.565");
    t.setText("DATA", "2026-03-15");
    t.setBool("ATIVO", true);
    t.setText("OBS", "linha 1\r\nlinha 2 ção");
    t.post();
    EXPECT_EQ(t.recno(), 1u);
    EXPECT_EQ(t.recordCount(), 1u);
    EXPECT_EQ(headerDate(f.dbf), todayText());

    DbfTable again;
    again.open(f.dbf);
    ASSERT_TRUE(again.go(1));
    EXPECT_EQ(again.text("REGISTRO"), "0001/26");
    // The page of the workstations has no curly quotes or dashes: their plain forms are kept.
    EXPECT_EQ(again.text("NOME"), "Importação \"Ltda\" - São Paulo");
    EXPECT_EQ(again.text("VALOR"), "1234.57");
    EXPECT_EQ(again.text("DATA"), "15/03/2026");
    EXPECT_EQ(again.text("ATIVO"), "T");
    EXPECT_EQ(again.text("OBS"), "linha 1\r\nlinha 2 ção");
    EXPECT_EQ(again.recordImage().substr(13, 30).find("Importa\x87\xc6o"), 0u); // code page 850
}

TEST(NorvikDbfTable, WrongValuesAreRefusedNamingFieldAndTableAndLeaveTheRecordAlone) {
    Folder f;
    DbfTable t;
    t.open(f.dbf, {f.byReg, f.byName});
    t.append();
    t.setText("REGISTRO", "R1");
    auto refused = [&](const std::string& field, const std::string& value) {
        try {
            t.setText(field, value);
            return std::string("accepted");
        } catch (const AppError& e) {
            return std::string(e.what());
        }
    };
    EXPECT_NE(refused("VALOR", "12a").find("VALOR"), std::string::npos);
    EXPECT_NE(refused("VALOR", "123456789012.5").find("PROC.DBF"), std::string::npos); // does not fit 12,2
    EXPECT_NE(refused("DATA", "31/02/2026").find("DATA"), std::string::npos);
    EXPECT_NE(refused("ATIVO", "talvez").find("ATIVO"), std::string::npos);
    EXPECT_NE(refused("NOME", std::string(31, 'x')).find("31 caracteres"), std::string::npos);
    EXPECT_NE(refused("NADA", "1").find("NADA"), std::string::npos);
    t.setText("VALOR", "-0,5");
    t.post();
    ASSERT_TRUE(t.go(1));
    EXPECT_EQ(t.text("REGISTRO"), "R1");
    EXPECT_EQ(t.text("VALOR"), "-0.50");
    EXPECT_EQ(t.text("DATA"), "");
    EXPECT_TRUE(f.check().empty());
}

TEST(NorvikDbfTable, AppendsChangesAndDeletionsKeepEveryIndexInStep) {
    Folder f;
    DbfTable t;
    t.open(f.dbf, {f.byReg, f.byName});
    for (int i = 0; i < 300; ++i)
        f.add(t, "reg" + std::to_string(i % 100), "Nome " + std::to_string(i), "01/02/2026");
    EXPECT_TRUE(f.check().empty());

    // Searches go through the index, case-insensitively where it is upper-cased, and pass deleted records.
    EXPECT_FALSE(t.locate({"REGISTRO"}, {"REG42"}, false)); // stored as "reg42"
    ASSERT_TRUE(t.locate({"REGISTRO"}, {"REG42"}, true));
    const std::uint32_t first = t.recno();
    EXPECT_EQ(t.text("NOME"), "Nome 42");
    t.deleteRecord();
    ASSERT_TRUE(t.locate({"REGISTRO"}, {"REG42"}, true));
    EXPECT_EQ(t.text("NOME"), "Nome 142");
    EXPECT_NE(t.recno(), first);

    // A changed key moves in the index that holds it.
    t.edit();
    t.setText("NOME", "Zacarias");
    t.post();
    t.setActiveIndex(1);
    ASSERT_TRUE(t.seek("Zacarias"));
    EXPECT_EQ(t.text("REGISTRO"), "reg42");
    EXPECT_FALSE(t.seek("Nome 142 "));

    // Removing every record of a key in a batch.
    t.beginBatch();
    int removed = 0;
    while (t.locate({"REGISTRO"}, {"reg7"}, true)) {
        t.deleteRecord();
        ++removed;
    }
    t.endBatch();
    EXPECT_EQ(removed, 3);
    EXPECT_EQ(t.recordCount(), 300u); // deleted, not packed
    EXPECT_TRUE(f.check().empty());
    // A search by a field no index starts with reads the table itself.
    ASSERT_TRUE(t.locate({"DATA", "NOME"}, {"01/02/2026", "Nome 299"}, false));
    EXPECT_EQ(t.recno(), 300u);
}

TEST(NorvikDbfTable, AKeyThatCannotBeBuiltStopsThePostBeforeAnythingIsWritten) {
    TestEnv env;
    const std::string dbf = env.path("N.DBF"), ntx = env.path("N.NTX");
    DbfTable::create(dbf, {field("COD", 'C', 3), field("QTDE", 'N', 6, 1)});
    {
        DbfTable t;
        t.open(dbf, {}, false);
        NtxIndex::create(ntx, "COD+STR(QTDE,6,1)", t.fields(), {});
    }
    DbfTable t;
    t.open(dbf, {ntx});
    t.append();
    t.setText("COD", "A");
    t.setText("QTDE", "-3");
    EXPECT_THROW(t.post(), AppError); // negative numbers have no key form here
    EXPECT_EQ(t.recordCount(), 0u);
    t.cancel();
    t.append();
    t.setText("COD", "A");
    t.setText("QTDE", "3");
    t.post();
    EXPECT_EQ(t.recordCount(), 1u);
    EXPECT_TRUE(DbfCheck::run(dbf, {ntx}, 1000).empty());
}

TEST(NorvikDbfTable, TwoOpensOfTheSameTableExcludeEachOtherLikeTwoWorkstations) {
    Folder f;
    DbfTable a(300), b(300);
    a.open(f.dbf, {f.byReg, f.byName});
    b.open(f.dbf, {f.byReg, f.byName});
    f.add(a, "A", "um");
    ASSERT_TRUE(b.go(1)); // the other open sees the new record at once
    EXPECT_EQ(b.text("NOME"), "um");

    a.edit(); // record lock
    try {
        b.edit();
        FAIL() << "both opens changed the record";
    } catch (const AppError& e) {
        EXPECT_NE(std::string(e.what()).find("PROC.DBF"), std::string::npos) << e.what();
    }
    a.cancel();
    b.edit();
    b.setText("NOME", "dois");
    b.post();

    // An index held in a batch keeps the other writer out until the batch ends.
    a.beginBatch();
    f.add(a, "B", "tres");
    EXPECT_THROW(f.add(b, "C", "quatro"), AppError);
    b.cancel();
    EXPECT_EQ(b.recordCount(), 2u);
    a.endBatch();
    f.add(b, "C", "quatro");
    EXPECT_EQ(a.recordCount(), 3u);
    EXPECT_TRUE(f.check().empty());
}

TEST(NorvikDbfTable, ALockHeldLongerThanThreeSecondsFailsWithTheFileName) {
    Folder f;
    auto held = std::make_unique<DbfTestFiles::HeldLock>(f.byReg, ClipperLocks::Index, 4); // another program
    ASSERT_TRUE(held->held());
    DbfTable t; // the default: 3000 ms
    t.open(f.dbf, {f.byReg, f.byName});
    const auto start = std::chrono::steady_clock::now();
    try {
        f.add(t, "A", "um");
        FAIL() << "written under a held lock";
    } catch (const AppError& e) {
        const std::string msg = e.what();
        EXPECT_NE(msg.find("PROCREG.NTX"), std::string::npos) << msg;
        EXPECT_NE(msg.find("3000 ms"), std::string::npos) << msg;
    }
    const auto waited = std::chrono::steady_clock::now() - start;
    EXPECT_GE(waited, std::chrono::milliseconds(2900));
    EXPECT_LT(waited, std::chrono::milliseconds(6000)); // gives up, never hangs, even on a loaded machine
    EXPECT_EQ(t.recordCount(), 0u);
    held.reset();
    t.cancel();
    f.add(t, "A", "um");
    EXPECT_TRUE(f.check().empty());
}
