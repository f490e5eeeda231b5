// Reading customer files: their encodings and line breaks, fixed positions, semicolon records,
// invoice order and the names of the files written.
#include "integra/CustomerText.h"
#include "integra/FixedWidthLine.h"
#include "integra/IntegrationFileName.h"
#include "integra/InvoiceOrder.h"
#include "integra/SemicolonCsv.h"

#include <gtest/gtest.h>

namespace {

std::vector<std::string> lines(const std::string& bytes) {
    const CustomerText text(bytes);
    return {text.lines().begin(), text.lines().end()};
}

std::vector<std::vector<std::string>> fields(const std::string& text) {
    std::vector<std::vector<std::string>> out;
    const SemicolonCsv csv(text);
    for (size_t i = 0; i < csv.size(); ++i)
        out.emplace_back(csv[i].fields.begin(), csv[i].fields.end());
    return out;
}

} // namespace

TEST(CustomerText, WindowsCodePageUtf8AndUtf16AllBecomeUtf8) {
    // windows-1252: é, ç, the euro sign and a curly quote of the C1 range.
    EXPECT_EQ(lines("Fixa\xE7\xE3o \x80 \x93x\x94"), std::vector<std::string>{"Fixação € “x”"});
    // UTF-8 stays as it is, its byte-order mark dropped.
    EXPECT_EQ(lines("\xEF\xBB\xBF"
                    "Fixação"),
              std::vector<std::string>{"Fixação"});
    // A byte that cannot start UTF-8 makes the whole file windows-1252, even after valid UTF-8.
    EXPECT_EQ(lines("ç\xE7"), std::vector<std::string>{"Ã§ç"});
    // UTF-16 with its mark, little and big endian, a character outside the basic plane too.
    EXPECT_EQ(lines(std::string("\xFF\xFE"
                                "A\0\xE7\0\r\0\n\0=\xD8\0\xDE",
                                14)),
              (std::vector<std::string>{"Aç", "😀"}));
    EXPECT_EQ(lines(std::string("\xFE\xFF\0B\0\xE3", 6)), std::vector<std::string>{"Bã"});
}

TEST(CustomerText, LinesEndAtCrLfLfOrCrAndAFinalBreakAddsNoLine) {
    EXPECT_EQ(lines("a\r\nb\nc\rd"), (std::vector<std::string>{"a", "b", "c", "d"}));
    EXPECT_EQ(lines("a\r\n"), std::vector<std::string>{"a"});
    EXPECT_EQ(lines("a\r\n\r\n"), (std::vector<std::string>{"a", ""}));
    EXPECT_EQ(lines("\n\n"), (std::vector<std::string>{"", ""}));
    EXPECT_TRUE(lines("").empty());
}

TEST(FixedWidthLine, FieldsCountCharactersFromOneAndStopAtTheLineEnd) {
    const FixedWidthLine ascii("ITEA0123456789");
    EXPECT_EQ(ascii.field(1, 4), "ITEA");
    EXPECT_EQ(ascii.field(5, 3), "012");
    EXPECT_EQ(ascii.field(12, 10), "789"); // runs past the end: cut there
    EXPECT_EQ(ascii.field(15, 2), "");     // starts past the end
    EXPECT_EQ(ascii.field(0, 2), "");
    EXPECT_TRUE(ascii.startsWith("ITE"));
    EXPECT_FALSE(FixedWidthLine("IT").startsWith("ITEA"));

    // Accented letters are one position each, as in the customer's single-byte file.
    const FixedWidthLine accented("ÇÃO-é12");
    EXPECT_EQ(accented.field(1, 3), "ÇÃO");
    EXPECT_EQ(accented.field(5, 2), "é1");
    EXPECT_EQ(accented.field(7, 5), "2");
    EXPECT_EQ(accented.field(8, 1), "");
}

TEST(SemicolonCsv, QuotedFieldsHoldSeparatorsQuotesAndLineBreaks) {
    EXPECT_EQ(fields("A;B;C\r\n1;\"x;y\";\"di\"\"z\"\"\"\n"),
              (std::vector<std::vector<std::string>>{{"A", "B", "C"}, {"1", "x;y", "di\"z\""}}));
    const std::string text = "H\n\"linha 1\r\nlinha 2\";fim\nultimo";
    const SemicolonCsv records(text);
    ASSERT_EQ(records.size(), 3u);
    EXPECT_EQ(std::vector<std::string>(records[1].fields.begin(), records[1].fields.end()),
              (std::vector<std::string>{"linha 1\r\nlinha 2", "fim"}));
    EXPECT_EQ(records[1].line, 2);
    EXPECT_EQ(records[2].line, 4); // counted after the break inside the quotes
    // A quote inside a field is an ordinary character; text after a closing quote stays in the field.
    EXPECT_EQ(fields("12\" PIPE;\"a\"b;;"), (std::vector<std::vector<std::string>>{{"12\" PIPE", "ab", "", ""}}));
}

TEST(SemicolonCsv, BlankRecordsAreDroppedAndAnUnclosedQuoteIsRefusedWithItsLine) {
    EXPECT_EQ(fields("A\n\n  \n;\nB\n"), (std::vector<std::vector<std::string>>{{"A"}, {"B"}}));
    try {
        const SemicolonCsv csv("A;B\n1;2\n3;\"sem fim\n4;5\n");
        FAIL() << "no failure";
    } catch (const SemicolonCsv::Unterminated& u) {
        EXPECT_EQ(u.line, 3);
    }
}

TEST(InvoiceOrder, KeysInOrderOfFirstAppearanceThenTheRecordsWithoutKey) {
    EXPECT_EQ(orderByInvoice({"B", "A", "", "B", "C", "", "A"}), (std::vector<size_t>{0, 3, 1, 6, 4, 2, 5}));
    EXPECT_EQ(orderByInvoice({"", ""}), (std::vector<size_t>{0, 1}));
    EXPECT_TRUE(orderByInvoice({}).empty());
}

TEST(IntegrationFileName, NumbersFromTheFileNeverLeaveTheOutputFolder) {
    EXPECT_EQ(integrationFileName("SAMSUNG", "4500000101"), "SAMSUNG4500000101.XML");
    EXPECT_EQ(integrationFileName("SYNTHES", "INV-2026.01 A"), "SYNTHESINV-2026.01 A.XML");
    EXPECT_EQ(integrationFileName("HONEYWELL", ""), "HONEYWELL.XML");
    EXPECT_EQ(integrationFileName("SAMSUNG", "../../etc/passwd"), "SAMSUNG.._.._etc_passwd.XML");
    EXPECT_EQ(integrationFileName("SAMSUNG", "..\\x:y*?\"<>|"), "SAMSUNG.._x_y______.XML");
    EXPECT_EQ(integrationFileName("SAMSUNG", std::string("a\nb\0c\x7f", 6)), "SAMSUNGa_b_c_.XML");
    EXPECT_EQ(integrationFileName("SAMSUNG", "/"), "SAMSUNG_.XML");
    // A 10 MB number is cut, counting characters, not bytes.
    const std::string name = integrationFileName("SYNTHES", std::string(10 << 20, 'n'));
    EXPECT_EQ(name, "SYNTHES" + std::string(MaxInvoiceNumberChars, 'n') + ".XML");
    EXPECT_EQ(integrationFileName("S", std::string(150, 'x') + "é"), "S" + std::string(100, 'x') + ".XML");
    EXPECT_EQ(integrationFileName("S", std::string(99, 'x') + "éé"), "S" + std::string(99, 'x') + "é.XML");
    // Found by fuzzing: a hundred characters of three bytes each made a name longer than the 255 bytes a
    // file system allows, so the save failed. The name is cut by bytes too, at a character's end.
    std::string quotes;
    for (int i = 0; i < 120; ++i)
        quotes += "‘"; // three bytes in UTF-8
    const std::string cut = integrationFileName("SYNTHES", quotes);
    EXPECT_LE(cut.size(), 255u);
    EXPECT_EQ(cut, "SYNTHES" + quotes.substr(0, 66 * 3) + ".XML");
}
