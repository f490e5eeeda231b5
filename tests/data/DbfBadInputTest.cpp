#include "DbfTestFiles.h"
#include "TestEnv.h"
#include "base/AppError.h"
#include "data/DbfCheck.h"
#include "data/DbfTable.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace DbfTestFiles;

namespace {

struct Filled {
    TestEnv env;
    std::string dbf = env.path("RIREGI.DBF");
    std::string ntx = env.path("RIREGI.NTX");
    Filled() {
        makeTable(dbf, {{ntx, "REGISTRO"}});
        DbfTable t;
        t.open(dbf, {ntx});
        for (int i = 1; i <= 5; ++i) {
            t.append();
            t.setText("REGISTRO", "P" + std::to_string(i));
            t.setText("OBS", "texto " + std::to_string(i));
            t.post();
        }
    }
    std::string openError(const std::vector<std::string>& indices) const {
        try {
            DbfTable t;
            t.open(dbf, indices);
            if (t.go(1))
                (void)t.text("OBS");
            return {};
        } catch (const AppError& e) {
            return e.what();
        }
    }
    std::string bytes() const { return TestEnv::readFile(dbf); }
    void write(const std::string& b) const { TestEnv::writeFile(dbf, b); }
    std::string checked() const {
        std::string all;
        for (const auto& line : DbfCheck::run(dbf, {ntx}, 1000))
            all += line + "\n";
        return all;
    }
};

bool has(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

} // namespace

TEST(NorvikBadInput, ATruncatedTableOrACountBeyondTheFileIsRefusedWithItsName) {
    Filled f;
    const std::string whole = f.bytes();
    f.write(whole.substr(0, 40)); // cut inside the field list
    EXPECT_TRUE(has(f.openError({}), "RIREGI.DBF")) << f.openError({});
    EXPECT_TRUE(has(f.checked(), "cabeçalho")) << f.checked();

    std::string counted = whole;
    counted[4] = 9; // nine records claimed, five present
    f.write(counted);
    const std::string error = f.openError({f.ntx});
    EXPECT_TRUE(has(error, "9 registros")) << error;
    EXPECT_TRUE(has(f.checked(), "9 registros")) << f.checked();
    // Nothing can be appended behind a count that lies.
    DbfTable t;
    EXPECT_THROW(t.open(f.dbf, {f.ntx}), AppError);
}

TEST(NorvikBadInput, AnIndexOfAnotherTableIsRefusedBeforeAnythingIsWritten) {
    Filled f;
    const std::string other = f.env.path("OTHER.NTX");
    DbfTable::create(f.env.path("OTHER.DBF"), {field("CODIGO", 'C', 6)});
    {
        DbfTable o;
        o.open(f.env.path("OTHER.DBF"), {}, false);
        NtxIndex::create(other, "CODIGO", o.fields(), {});
    }
    EXPECT_TRUE(has(f.openError({other}), "CODIGO")) << f.openError({other});

    // Same field name, other width: the keys would not fit the index.
    const std::string narrow = f.env.path("NARROW.NTX");
    DbfTable::create(f.env.path("NARROW.DBF"), {field("REGISTRO", 'C', 8)});
    {
        DbfTable o;
        o.open(f.env.path("NARROW.DBF"), {}, false);
        NtxIndex::create(narrow, "REGISTRO", o.fields(), {});
    }
    const std::string error = f.openError({narrow});
    EXPECT_TRUE(has(error, "12 caracteres")) << error;
    EXPECT_TRUE(has(error, "NARROW.NTX")) << error;
    DbfTable t;
    t.open(f.dbf, {f.ntx});
    EXPECT_EQ(t.recordCount(), 5u);
}

TEST(NorvikBadInput, AMemoPointerPastTheEndIsReportedNotRead) {
    Filled f;
    std::string b = f.bytes();
    DbfTable t;
    t.open(f.dbf);
    const DbfField obs = t.field("OBS");
    const std::size_t at = t.headerLength() + t.recordLength() + obs.offset; // record 2
    t.close();
    b.replace(at, obs.length, "      9999");
    f.write(b);
    DbfTable r;
    r.open(f.dbf);
    ASSERT_TRUE(r.go(2));
    try {
        (void)r.text("OBS");
        FAIL() << "read past the memo file";
    } catch (const AppError& e) {
        EXPECT_TRUE(has(e.what(), "9999")) << e.what();
        EXPECT_TRUE(has(e.what(), "OBS")) << e.what();
    }
    ASSERT_TRUE(r.go(3));
    EXPECT_EQ(r.text("OBS"), "texto 3");
    EXPECT_TRUE(has(f.checked(), "bloco 9999")) << f.checked();
}

TEST(NorvikBadInput, TheCheckNamesEveryDisagreementBetweenTableAndIndex) {
    Filled f;
    EXPECT_EQ(f.checked(), "");
    // The index is rebuilt by hand from a wrong list: P2 twice, P3 missing, a key for a record that
    // does not exist, and P1's key pointing at a record marked deleted.
    std::string b = f.bytes();
    DbfTable t;
    t.open(f.dbf);
    auto pad = [](std::string s) {
        s.resize(12, ' ');
        return s;
    };
    b[t.headerLength() + 3 * t.recordLength()] = '*'; // record 4 deleted behind the index's back
    t.close();
    f.write(b);
    DbfTable o;
    o.open(f.dbf, {}, false);
    NtxIndex::create(f.ntx, "REGISTRO", o.fields(),
                     {{pad("P1"), 1}, {pad("P2"), 2}, {pad("P2"), 2}, {pad("P4"), 4}, {pad("P5"), 5}, {pad("P9"), 9}});
    const std::string report = f.checked();
    EXPECT_TRUE(has(report, "registro 2 aparece 2 vezes")) << report;
    EXPECT_TRUE(has(report, "registro 3 (chave \"P3\") não está no índice")) << report;
    EXPECT_TRUE(has(report, "registro 4, que está apagado")) << report;
    EXPECT_TRUE(has(report, "registro 9, que não existe")) << report;
    EXPECT_FALSE(has(report, "registro 1 ")) << report;
}
