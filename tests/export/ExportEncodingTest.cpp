#include "export/ExportEncoding.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

namespace {

std::string csv(std::string_view value) {
    std::string out;
    const EncodingProblem problem = appendCsvField(value, out);
    EXPECT_FALSE(problem) << "value " << value;
    return out;
}

std::string xml(std::string_view value, bool attribute = false) {
    std::string out;
    const EncodingProblem problem = appendXmlEscaped(value, out, attribute);
    EXPECT_FALSE(problem) << "value " << value;
    return out;
}

std::string run(const std::string& command) {
    std::string output;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe)
        return output;
    char buffer[4096];
    while (const size_t n = std::fread(buffer, 1, sizeof buffer, pipe))
        output.append(buffer, n);
    pclose(pipe);
    return output;
}

} // namespace

// The code page as another implementation knows it: every character below U+3000 that Python's
// cp1252 codec encodes, with its byte, must be what ours gives, and nothing more.
TEST(ExportEncoding, CodePageAgreesWithAnIndependentCodec) {
    const std::string table = run("python3 -c \""
                                  "import sys\n"
                                  "for c in range(0x3000):\n"
                                  "    try: b = chr(c).encode('cp1252')\n"
                                  "    except UnicodeEncodeError: continue\n"
                                  "    sys.stdout.write('%d %d\\n' % (c, b[0]))\n"
                                  "\"");
    ASSERT_FALSE(table.empty()) << "python3 is needed for this test";
    int theirs = 0;
    unsigned code = 0;
    int byte = 0;
    const char* p = table.c_str();
    int consumed = 0;
    while (std::sscanf(p, "%u %d%n", &code, &byte, &consumed) == 2) {
        EXPECT_EQ(cp1252Byte(code), byte) << codePointText(code);
        ++theirs;
        p += consumed;
    }
    int ours = 0;
    for (char32_t ch = 0; ch < 0x3000; ++ch)
        if (cp1252Byte(ch) >= 0)
            ++ours;
    EXPECT_EQ(ours, theirs);
    EXPECT_EQ(ours, 251); // 256 bytes less the five the code page leaves undefined
}

TEST(ExportEncoding, Cp1252KeepsAccentsAndRefusesWhatItCannotHold) {
    std::string out;
    EXPECT_FALSE(appendCp1252("PAÍS – ÓRGÃOS € ç", out));
    EXPECT_EQ(out, "PA\xCD"
                   "S \x96 \xD3RG\xC3OS \x80 \xE7");

    out.clear();
    const EncodingProblem chinese = appendCp1252("ab中c", out);
    EXPECT_EQ(chinese.kind, EncodingProblem::Kind::NotInCodePage);
    EXPECT_EQ(chinese.character, U'中');
    EXPECT_EQ(codePointText(chinese.character), "U+4E2D");

    // A C1 control is not the character that byte stands for in the code page.
    out.clear();
    EXPECT_EQ(appendCp1252("\xC2\x80", out).kind, EncodingProblem::Kind::NotInCodePage);

    // Bytes that are not UTF-8: a Latin-1 byte alone, a cut sequence, an overlong "/", a surrogate.
    for (const char* bad : {"S\xE3O", "ab\xC3", "\xC0\xAF", "\xED\xA0\x80"}) {
        out.clear();
        EXPECT_EQ(appendCp1252(bad, out).kind, EncodingProblem::Kind::InvalidUtf8) << bad;
    }
}

TEST(ExportEncoding, CsvFieldsAreQuotedOnlyWhenTheyMustBe) {
    EXPECT_EQ(csv("Carnes desossadas"), "Carnes desossadas");
    EXPECT_EQ(csv(""), "");
    EXPECT_EQ(csv("a;b"), "\"a;b\"");
    EXPECT_EQ(csv("polegada \"pol\""), "\"polegada \"\"pol\"\"\"");
    EXPECT_EQ(csv("\""), "\"\"\"\"");
    EXPECT_EQ(csv("linha 1\r\nlinha 2"), "\"linha 1\r\nlinha 2\"");
    EXPECT_EQ(csv("só\nLF"), "\"s\xF3\nLF\"");
    // Blanks and commas are ordinary characters for a ";" file.
    EXPECT_EQ(csv(" 10,8 "), " 10,8 ");

    std::string out;
    const EncodingProblem problem = appendCsvField("x;中", out);
    EXPECT_EQ(problem.kind, EncodingProblem::Kind::NotInCodePage);
}

TEST(ExportEncoding, XmlTextKeepsEveryCharacterAParserGivesBack) {
    EXPECT_EQ(xml("A & B <c> \"d\" 'e'"), "A &amp; B &lt;c&gt; \"d\" 'e'");
    EXPECT_EQ(xml("\"x\"", true), "&quot;x&quot;");
    EXPECT_EQ(xml("a\r\nb\tc"), "a&#13;\nb\tc");
    EXPECT_EQ(xml("a\nb", true), "a&#10;b");
    EXPECT_EQ(xml("Ação 中 😀"), "Ação 中 😀");

    std::string out;
    EXPECT_EQ(appendXmlEscaped("a\x01"
                               "b",
                               out)
                  .kind,
              EncodingProblem::Kind::NotAllowedInXml);
    out.clear();
    EXPECT_EQ(appendXmlEscaped("\xEF\xBF\xBF", out).kind, EncodingProblem::Kind::NotAllowedInXml);
    out.clear();
    EXPECT_EQ(appendXmlEscaped("S\xE3O", out).kind, EncodingProblem::Kind::InvalidUtf8);
}
