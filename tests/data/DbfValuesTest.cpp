// The edges of the stored values: numbers rounded in their digits, memo blocks, code pages.
#include "DbfTestFiles.h"
#include "TestEnv.h"
#include "base/AppError.h"
#include "data/DbfValue.h"
#include "data/DbtMemo.h"

#include <gtest/gtest.h>

using namespace DbfTestFiles;

TEST(NorvikDbfValues, NumbersAreRoundedInTheirDigitsAndMustFit) {
    const DbfField f = field("V", 'N', 6, 2);
    auto stored = [&](const std::string& text) { return DbfValue::encode(f, text, DbfCodePage::Page::Cp850, "T.DBF"); };
    EXPECT_EQ(stored("0.005"), "  0.01"); // half up, not the binary 0.00499…
    EXPECT_EQ(stored("1,115"), "  1.12");
    EXPECT_EQ(stored("99.994"), " 99.99");
    EXPECT_THROW(stored("999.995"), AppError);  // 1000.00 needs 7 positions
    EXPECT_THROW(stored("9999.995"), AppError); // 10000.00 needs 8 positions
    EXPECT_EQ(stored("-0.001"), "  0.00");      // no negative zero
    EXPECT_EQ(stored("-12.5"), "-12.50");
    EXPECT_EQ(stored(" 7 "), "  7.00");
    EXPECT_EQ(stored(""), "      ");
    for (const char* bad : {"1.2.3", "1e5", "12a", ".", "1 000"})
        EXPECT_THROW(stored(bad), AppError) << bad;
    const DbfField whole = field("Q", 'N', 3, 0);
    EXPECT_EQ(DbfValue::encode(whole, "12.5", DbfCodePage::Page::Cp850, "T.DBF"), " 13");
    EXPECT_THROW(DbfValue::encode(whole, "999.5", DbfCodePage::Page::Cp850, "T.DBF"), AppError);
}

TEST(NorvikDbfValues, MemosFillWholeBlocksAndNeverOverwriteAnotherText) {
    TestEnv env;
    const std::string path = env.path("M.DBT");
    DbtMemo::create(path);
    DbtMemo memo;
    memo.open(path, true, 1000);
    const std::uint32_t a = memo.append(std::string(510, 'a')); // with its two end marks: one block
    const std::uint32_t b = memo.append("b");
    EXPECT_EQ(a, 1u);
    EXPECT_EQ(b, 2u);
    const std::uint32_t big = memo.append(std::string(70000, 'x'));
    EXPECT_EQ(memo.read(big).size(), DbtMemo::MaxLength); // what a workstation can read back
    // Another program left the next-free number behind its last text: ours goes after that text.
    std::string bytes = TestEnv::readFile(path);
    bytes[0] = 2;
    bytes[1] = bytes[2] = bytes[3] = 0;
    TestEnv::writeFile(path, bytes);
    DbtMemo again;
    again.open(path, true, 1000);
    const std::uint32_t c = again.append("c");
    EXPECT_GT(c, big);
    EXPECT_EQ(again.read(b), "b");
    EXPECT_EQ(again.read(a), std::string(510, 'a'));
    EXPECT_EQ(again.read(c), "c");
    EXPECT_THROW(again.read(0), AppError);
}

TEST(NorvikDbfValues, TextIsStoredInTheTablesCodePage) {
    const DbfField f = field("N", 'C', 8);
    const std::string text = "Ação €1";
    const std::string cp850 = DbfValue::encode(f, text, DbfCodePage::Page::Cp850, "T.DBF");
    EXPECT_EQ(cp850, std::string("A\x87\xc6o ?1 ", 8)); // no euro sign in 850
    EXPECT_EQ(DbfValue::decode(f, cp850, DbfCodePage::Page::Cp850), "Ação ?1");
    const std::string cp1252 = DbfValue::encode(f, text, DbfCodePage::Page::Cp1252, "T.DBF");
    EXPECT_EQ(cp1252, std::string("A\xe7\xe3o \x80"
                                  "1 ",
                                  8));
    EXPECT_EQ(DbfValue::decode(f, cp1252, DbfCodePage::Page::Cp1252), text);
    // Cut for a search, refused for a write.
    EXPECT_EQ(DbfValue::encode(f, "123456789", DbfCodePage::Page::Cp850, "T.DBF", true), "12345678");
    EXPECT_THROW(DbfValue::encode(f, "123456789", DbfCodePage::Page::Cp850, "T.DBF"), AppError);
    EXPECT_EQ(DbfValue::encode(f, "1234567   ", DbfCodePage::Page::Cp850, "T.DBF"), "1234567 "); // blanks may go
}
