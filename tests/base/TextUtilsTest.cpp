#include "base/TextUtils.h"
#include "base/Logs.h"
#include "base/ScriptedOperator.h"

#include <gtest/gtest.h>

TEST(TextUtils, ReplacementIgnoresCaseIncludingAccentedLetters) {
    EXPECT_EQ(TROCACARACTER("Abacaxi", "a", "o"), "obocoxi");
    EXPECT_EQ(TROCACARACTER("AÇÃO ação", "ção", "X"), "AX aX");
    EXPECT_EQ(TROCACARACTER("a;b;;c", ";", ""), "abc");
    EXPECT_EQ(TROCACARACTER("ref 12 A", " ", "%20"), "ref%2012%20A");
    // Nothing to look for leaves the text as it is (and never loops).
    EXPECT_EQ(TROCACARACTER("abc", "", "x"), "abc");
}

TEST(TextUtils, PaddingKeepsLongerTextsAndCountsCharacters) {
    EXPECT_EQ(zeroPadLeft("123", 5), "00123");
    EXPECT_EQ(zeroPadLeft("123456", 5), "123456");
    EXPECT_EQ(zeroPadRight("5", 3), "500");
    EXPECT_EQ(blankPad("ABCDEF", 4), "ABCD");
    EXPECT_EQ(blankPad("AB", 4), "AB  ");
    EXPECT_EQ(blankPad("AÇÃO", 6), "AÇÃO  ");
    EXPECT_EQ(blankPad("AÇÃOXY", 3), "AÇÃ");
}

TEST(TextUtils, FixedPointDigits) {
    EXPECT_EQ(fixedPointDigits("12,5", 7, 2), "0001250");
    EXPECT_EQ(fixedPointDigits("12", 7, 2), "0001200");
    EXPECT_EQ(fixedPointDigits("12.5", 15, 5), "000000001250000");
    // Neither part is cut, and D = 0 still appends one "0" when there is no separator.
    EXPECT_EQ(fixedPointDigits("123456.789", 5, 2), "123456789");
    EXPECT_EQ(fixedPointDigits("7", 3, 0), "0070");
    EXPECT_EQ(fixedPointDigits(" 7 ", 4, 1), "0070");
}

TEST(TextUtils, DateDigitsAndShortInput) {
    EXPECT_EQ(dateToDayMonthYear("2009-03-07"), "07032009");
    EXPECT_EQ(dateToDayMonthYear("2009-03"), "032009");
    EXPECT_EQ(dateToDayMonthYear(""), "");
}

TEST(TextUtils, FindInListBothForms) {
    const std::vector<std::string> v = {"a", "b", "c", "b"};
    EXPECT_EQ(findInList(v, "b", 4), 1);
    EXPECT_EQ(findInList(v, "c", 2), -1);
    EXPECT_EQ(findInList(v, "z", 10), -1);
    const std::vector<std::vector<std::string>> t = {{"x", "1"}, {"y", "2"}};
    EXPECT_EQ(findInList(t, "y", 2), 1);
    EXPECT_EQ(findInList(t, "2", 2), -1);
}

TEST(TextUtils, GroupLinesByColumnDropsHeaderAndPutsEmptyKeysLast) {
    const std::vector<std::string> lines = {"H1;H2", "1;B", "2;", "3;A", "4;B", "5;A", "6;"};
    const std::vector<std::string> expected = {"1;B", "4;B", "3;A", "5;A", "2;", "6;"};
    EXPECT_EQ(groupLinesByColumn(lines, 1), expected);
    EXPECT_TRUE(groupLinesByColumn({"only header"}, 0).empty());
}

TEST(TextUtils, FieldTypeNamesAndVersions) {
    EXPECT_EQ(fieldTypeDisplayName("ftAutoInc"), "Auto Increment");
    EXPECT_EQ(fieldTypeDisplayName("ftFMTBcd"), "Decimal that is too large for ftBCD");
    EXPECT_EQ(fieldTypeDisplayName("ftNothing"), "");
    EXPECT_EQ(versionText(7, 12, 123, 0), "7.12.12.0");
    EXPECT_EQ(windowsVersionName(2, 6, 0, "Service Pack 1"), "Microsoft Windows Vista - Service Pack 1");
    EXPECT_EQ(windowsVersionName(1, 4, 0, "C"), "Microsoft Windows 95 OSR2 - ");
    EXPECT_EQ(windowsVersionName(1, 4, 10, "A"), "Microsoft Windows 98 SE - ");
    EXPECT_EQ(windowsVersionName(1, 4, 3, ""), "Microsoft Windows  - ");
    EXPECT_EQ(windowsVersionName(1, 5, 0, ""), "Microsoft Windows 9x version (unknown) - ");
    EXPECT_EQ(windowsVersionName(2, 10, 0, ""), "Microsoft Windows Future Windows version (unknown) - ");
}

TEST(TextUtils, NumbersAndCase) {
    EXPECT_EQ(toInteger(" 42 "), 42);
    EXPECT_THROW(toInteger("4x"), std::exception);
    EXPECT_THROW(toInteger(""), std::exception);
    EXPECT_DOUBLE_EQ(toDecimal("1234,56"), 1234.56);
    EXPECT_DOUBLE_EQ(toDecimal("1234.56"), 1234.56);
    EXPECT_THROW(toDecimal("abc"), std::exception);
    EXPECT_EQ(upperAscii("ação x"), "AçãO X");
    EXPECT_EQ(upperText("ação x"), "AÇÃO X");
    EXPECT_TRUE(isValidUtf8("Açúcar"));
    EXPECT_FALSE(isValidUtf8(std::string("A\xE7ucar")));
    EXPECT_EQ(progressPercentText(2, 3), "66%");
    EXPECT_EQ(progressPercentText(0, 0), "0%");
    EXPECT_EQ(progressPercentText(199, 200), "99%");
}

TEST(TextUtils, Utf16InBothByteOrdersStrictOrWithReplacement) {
    // "Aé" and U+1F600 (a surrogate pair), little and big endian.
    const std::string little("A\0\xE9\0\x3D\xD8\x00\xDE", 8), big("\0A\0\xE9\xD8\x3D\xDE\x00", 8);
    EXPECT_EQ(utf16ToUtf8(little, false, true), std::optional<std::string>("Aé\xF0\x9F\x98\x80"));
    EXPECT_EQ(utf16ToUtf8(big, true, true), std::optional<std::string>("Aé\xF0\x9F\x98\x80"));
    // A lone half of a pair, and an odd last byte: refused when strict, replaced otherwise.
    const std::string lone("A\0\x3D\xD8"
                           "B\0",
                           6),
        odd("A\0B", 3);
    EXPECT_FALSE(utf16ToUtf8(lone, false, true));
    EXPECT_FALSE(utf16ToUtf8(odd, false, true));
    EXPECT_EQ(utf16ToUtf8(lone, false, false), std::optional<std::string>("A\xEF\xBF\xBD"
                                                                          "B"));
    EXPECT_EQ(utf16ToUtf8(odd, false, false), std::optional<std::string>("A\xEF\xBF\xBD"));
}
