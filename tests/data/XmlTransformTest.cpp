#include "data/XmlTransform.h"
#include "TestEnv.h"
#include "base/AppError.h"
#include "data/RecordSet.h"
#include "data/XmlDocument.h"
#include "data/XmlDocumentCache.h"
#include "data/XmlTransformProvider.h"
#include "platform/Platform.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace {

// The message of the AppError f throws ("" when it throws none).
template <typename F> std::string failure(F&& f) {
    try {
        f();
    } catch (const AppError& e) {
        return e.what();
    }
    return {};
}

std::shared_ptr<RecordTable> run(const std::string& xtr, const std::string& xml) {
    return XmlTransform::parse(xtr, "teste.xtr")->apply(*XmlDocument::parseText(xml, "teste.xml"));
}

std::optional<std::string> cell(const RecordTable& t, std::size_t row, const std::string& field) {
    const auto* f = t.schema()->find(field);
    if (!f)
        throw std::runtime_error("no field " + field);
    if (t.row(row).isNull(f->slot))
        return std::nullopt;
    return std::string(t.row(row).value(f->slot));
}

std::shared_ptr<RecordTable> nested(const RecordTable& t, std::size_t row, const std::string& field) {
    const auto* f = t.schema()->find(field);
    const auto& n = t.row(row).nested(f->slot);
    return n ? n : std::make_shared<RecordTable>(f->nested);
}

const char* const OrderXtr = R"(<?xml version="1.0"?>
<transformation>
  <rows path="PEDIDOS/PEDIDO">
    <fields>NUMERO CLIENTE</fields>
    <field name="CODIGO" attribute="cod"/>
    <field name="CIDADE" element="ENTREGA/ENDERECO/CIDADE"/>
    <field name="UF" element="ENTREGA/ENDERECO" attribute="uf"/>
    <field name="TEXTO" element="."/>
    <set name="LINHA" path="LINHAS/LINHA">
      <fields>PRODUTO QTDE</fields>
      <set name="LOTE">
        <fields>NUMERO</fields>
      </set>
    </set>
    <set name="NOTA" path="OBS">
      <field name="TEXTO" element="."/>
    </set>
  </rows>
</transformation>)";

const char* const OrderXml = R"(<?xml version="1.0" encoding="UTF-8"?>
<PEDIDOS>
  <PEDIDO cod="A1">
    <NUMERO>001</NUMERO>
    <CLIENTE>Indústria &amp; Comércio "Paulista"</CLIENTE>
    <ENTREGA><ENDERECO uf="SP"><CIDADE>Jundiaí</CIDADE></ENDERECO></ENTREGA>
    <LINHAS>
      <LINHA><PRODUTO>P-1</PRODUTO><QTDE>2.5</QTDE><LOTE><NUMERO>L1</NUMERO></LOTE><LOTE><NUMERO>L2</NUMERO></LOTE></LINHA>
      <LINHA><PRODUTO>P-2</PRODUTO><QTDE/></LINHA>
    </LINHAS>
    <OBS>primeira</OBS>
    <OBS><![CDATA[<segunda> & última]]></OBS>
  </PEDIDO>
  <PEDIDO>
    <CLIENTE>   </CLIENTE>
    <NUMERO>002</NUMERO>
    <NUMERO>repetido</NUMERO>
  </PEDIDO>
</PEDIDOS>)";

} // namespace

TEST(XmlTransformTest, FieldsFromElementsAttributesAndPaths) {
    const auto t = run(OrderXtr, OrderXml);
    ASSERT_EQ(t->size(), 2u);
    EXPECT_EQ(cell(*t, 0, "NUMERO"), "001");
    EXPECT_EQ(cell(*t, 0, "CLIENTE"), "Indústria & Comércio \"Paulista\"");
    EXPECT_EQ(cell(*t, 0, "CODIGO"), "A1");
    EXPECT_EQ(cell(*t, 0, "CIDADE"), "Jundiaí");
    EXPECT_EQ(cell(*t, 0, "UF"), "SP");
    EXPECT_EQ(cell(*t, 0, "TEXTO"), "") << "an element with only child elements reads as empty";

    // Missing element or attribute: null. Blanks only: kept. The first of repeated elements counts.
    EXPECT_EQ(cell(*t, 1, "CODIGO"), std::nullopt);
    EXPECT_EQ(cell(*t, 1, "CIDADE"), std::nullopt);
    EXPECT_EQ(cell(*t, 1, "CLIENTE"), "   ");
    EXPECT_EQ(cell(*t, 1, "NUMERO"), "002");

    // The field list keeps the order of the file, nested sets included.
    std::vector<std::string> names;
    for (const auto& f : t->schema()->fields())
        names.push_back(f.name);
    EXPECT_EQ(names,
              (std::vector<std::string>{"NUMERO", "CLIENTE", "CODIGO", "CIDADE", "UF", "TEXTO", "LINHA", "NOTA"}));
}

TEST(XmlTransformTest, NestedSetsByPath) {
    const auto t = run(OrderXtr, OrderXml);
    const auto linhas = nested(*t, 0, "LINHA");
    ASSERT_EQ(linhas->size(), 2u);
    EXPECT_EQ(cell(*linhas, 0, "PRODUTO"), "P-1");
    EXPECT_EQ(cell(*linhas, 1, "QTDE"), "") << "an empty element reads as empty, not null";
    EXPECT_EQ(nested(*linhas, 0, "LOTE")->size(), 2u);
    EXPECT_EQ(cell(*nested(*linhas, 0, "LOTE"), 1, "NUMERO"), "L2");
    EXPECT_TRUE(nested(*linhas, 1, "LOTE")->empty());

    const auto notas = nested(*t, 0, "NOTA");
    ASSERT_EQ(notas->size(), 2u);
    EXPECT_EQ(cell(*notas, 1, "TEXTO"), "<segunda> & última");
    EXPECT_TRUE(nested(*t, 1, "LINHA")->empty()) << "a row without the elements has an empty set";
}

TEST(XmlTransformTest, TransformNamingElementsTheDocumentLacks) {
    const char* xtr = R"(<transformation><rows path="PEDIDOS/PEDIDO">
        <fields>NAO_EXISTE NUMERO</fields><set name="NADA"><fields>X</fields></set></rows></transformation>)";
    const auto t = run(xtr, OrderXml);
    ASSERT_EQ(t->size(), 2u);
    EXPECT_EQ(cell(*t, 0, "NAO_EXISTE"), std::nullopt);
    EXPECT_TRUE(nested(*t, 0, "NADA")->empty());

    const char* otherRoot =
        R"(<transformation><rows path="PROCESSOS/PROCESSO"><fields>ID</fields></rows></transformation>)";
    const auto none = run(otherRoot, OrderXml);
    EXPECT_TRUE(none->empty());
    EXPECT_TRUE(none->schema()->has("ID"));
}

TEST(XmlTransformTest, BrokenTransformationsAreRefusedWithFileAndLine) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"<transformacao><rows path=\"A\"><fields>X</fields></rows></transformacao>", "<transformation>"},
        {"<transformation/>", "falta o elemento <rows>"},
        {"<transformation><rows><fields>X</fields></rows></transformation>", "falta o atributo path"},
        {"<transformation><rows path=\"A\"/></transformation>", "nenhum campo"},
        {"<transformation><rows path=\"A\">\n<fields>X</fields>\n<campo name=\"Y\"/></rows></transformation>",
         "linha 3: elemento <campo> desconhecido"},
        {"<transformation><rows path=\"A\"><fields>X Y X</fields></rows></transformation>", "mais de uma vez"},
        {"<transformation><rows path=\"A\"><fields>X-1</fields></rows></transformation>", "nome de campo inválido"},
        {"<transformation><rows path=\"A//B\"><fields>X</fields></rows></transformation>", "caminho inválido"},
        {"<transformation><rows path=\"A\" tipo=\"x\"><fields>X</fields></rows></transformation>",
         "atributo tipo desconhecido"},
        {"<transformation><rows path=\"A\"><fields>X</fields></rows><rows path=\"B\"><fields>X</fields></rows>"
         "</transformation>",
         "mais de um elemento <rows>"},
        {"<transformation><rows path=\"A\"><fields>X</fields>", "não é um XML válido"},
    };
    for (const auto& [xtr, expected] : cases) {
        const std::string why = failure([&] { XmlTransform::parse(xtr, "QUEBRADO.xtr"); });
        EXPECT_NE(why.find(expected), std::string::npos) << xtr << " → " << why;
        EXPECT_NE(why.find("QUEBRADO.xtr"), std::string::npos) << why;
    }
}

TEST(XmlTransformTest, DocumentsThatAreNotXmlGetClearMessages) {
    EXPECT_NE(failure([] { XmlDocument::parseText("", "resposta"); }).find("está vazio"), std::string::npos);
    EXPECT_NE(failure([] { XmlDocument::parseText(" \r\n\t", "resposta"); }).find("está vazio"), std::string::npos);

    const std::string malformed = "<?xml version=\"1.0\"?>\n<PROCESSOS>\n  <PROCESSO>\n</PROCESSOS>";
    const std::string why = failure([&] { XmlDocument::parseText(malformed, "resposta"); });
    EXPECT_NE(why.find("não é um XML válido"), std::string::npos) << why;
    EXPECT_NE(why.find("linha 4"), std::string::npos) << why;

    const std::string html =
        "<!DOCTYPE html>\n<html><head><title>502 Bad Gateway</title></head><body><hr></body></html>";
    const std::string h = failure([&] { XmlDocument::parseText(html, "resposta"); });
    EXPECT_NE(h.find("página HTML"), std::string::npos) << h;
    EXPECT_NE(h.find("502 Bad Gateway"), std::string::npos) << h;
    EXPECT_NE(failure([] { XmlDocument::parseText("<HTML><BODY>Erro</BODY></HTML>", "r"); }).find("página HTML"),
              std::string::npos);
    EXPECT_NE(
        failure([] { XmlDocument::parseText("<?xml version=\"1.0\"?><!-- nada -->", "r"); }).find("nenhum elemento"),
        std::string::npos);

    const std::string latin1NoDecl = "<A>Jundia\xED</A>";
    const std::string u = failure([&] { XmlDocument::parseText(latin1NoDecl, "resposta"); });
    EXPECT_NE(u.find("não está codificado em UTF-8"), std::string::npos) << u;
    EXPECT_NE(u.find("0xED"), std::string::npos) << u;
}

TEST(XmlTransformTest, EncodingsAndEntities) {
    const char* xtr = R"(<transformation><rows path="A"><field name="T" element="."/></rows></transformation>)";
    // A single-byte document that says so is converted; a UTF-8 one that claims ISO-8859-1 stays UTF-8.
    EXPECT_EQ(cell(*run(xtr, "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><A>S\xE3o Jos\xE9 \x80</A>"), 0, "T"),
              "São José €");
    EXPECT_EQ(cell(*run(xtr, "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><A>São José</A>"), 0, "T"), "São José");
    EXPECT_EQ(cell(*run(xtr, "\xEF\xBB\xBF<A>ação</A>"), 0, "T"), "ação");
    // UTF-16 with its byte-order mark.
    const std::string utf16("\xFF\xFE<\0A\0>\0\xE7\0\xE3\0<\0/\0A\0>\0", 20);
    EXPECT_EQ(cell(*run(xtr, utf16), 0, "T"), "çã");

    // An entity declared in the document is never expanded, let alone read from outside.
    const std::string xxe = "<?xml version=\"1.0\"?><!DOCTYPE A [<!ENTITY e SYSTEM \"file:///etc/passwd\">]>"
                            "<A>&e;&amp;&#65;</A>";
    EXPECT_EQ(cell(*run(xtr, xxe), 0, "T"), "&e;&A");
}

TEST(XmlTransformTest, FilesTooLargeOrMissing) {
    TestEnv env;
    const std::string big = env.path("grande.xml");
    { std::ofstream out(big); }
    std::filesystem::resize_file(big, XmlDocument::MaxBytes + 1); // sparse: costs no disk
    const std::string why = failure([&] { XmlDocument::loadFile(big); });
    EXPECT_NE(why.find("grande demais"), std::string::npos) << why;
    EXPECT_NE(failure([&] { XmlDocument::loadFile(env.path("nao_ha.xml")); }).find("não encontrado"),
              std::string::npos);
    EXPECT_NE(failure([&] { XmlDocument::loadFile(env.root()); }).find("pasta"), std::string::npos);
    EXPECT_NE(
        failure([&] { XmlTransform::loadFile(env.path("DI.xtr")); }).find("Arquivo de transformação não encontrado"),
        std::string::npos);
}

TEST(XmlTransformTest, SavedDocumentReadsBackTheSame) {
    TestEnv env;
    const auto doc =
        XmlDocument::parseText("<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><A><B>Jos\xE9</B><C>  </C></A>", "r");
    const std::string path = env.path("TEMP.XML");
    doc->saveUtf8(path);
    const std::string saved = TestEnv::readFile(path);
    EXPECT_EQ(saved.rfind("<?xml version=\"1.0\" encoding=\"UTF-8\"?>", 0), 0u) << saved;
    const char* xtr = R"(<transformation><rows path="A"><fields>B C</fields></rows></transformation>)";
    const auto t = XmlTransform::parse(xtr, "t")->apply(*XmlDocument::loadFile(path));
    EXPECT_EQ(cell(*t, 0, "B"), "José");
    EXPECT_EQ(cell(*t, 0, "C"), "  ");
    EXPECT_FALSE(TestEnv::exists(path + ".tmp"));
}

TEST(XmlTransformTest, ProviderFindsTransformationsWithoutCaseAndRereadsChangedFiles) {
    TestEnv env;
    auto platform = Platform::createNative();
    const std::string folder = env.path("XTR");
    TestEnv::writeFile(folder + "/DI.XTR",
                       R"(<transformation><rows path="R/L"><fields>V</fields></rows></transformation>)");
    const std::string data = env.path("dados.xml");
    TestEnv::writeFile(data, "<R><L><V>1</V></L></R>");

    XmlDocumentCache cache;
    XmlTransformProvider provider("XMLTransformProvider", cache);
    EXPECT_NE(failure([&] { provider.provide(); }).find("não tem arquivo XML"), std::string::npos);
    provider.setXMLDataFile(data);
    EXPECT_NE(failure([&] { provider.provide(); }).find("não tem arquivo de transformação"), std::string::npos);
    provider.setTransformation(*platform, folder, "DI.xtr");
    EXPECT_EQ(provider.transformRead(), folder + "/DI.XTR");
    EXPECT_EQ(provider.transformWrite(), provider.transformRead());

    RecordSet rs("cdsXMLPrincipal");
    rs.setProvider(&provider);
    rs.open();
    EXPECT_EQ(rs.text("V"), "1");

    // The same file rewritten (another size) is read again.
    TestEnv::writeFile(data, "<R><L><V>22</V></L><L><V>3</V></L></R>");
    rs.close();
    rs.open();
    EXPECT_EQ(rs.recordCount(), 2u);
    EXPECT_EQ(rs.text("V"), "22");

    provider.setTransformation(*platform, folder, "NAO_HA.xtr");
    rs.close();
    const std::string why = failure([&] { rs.open(); });
    EXPECT_NE(why.find("NAO_HA.xtr"), std::string::npos) << why;
    EXPECT_NE(why.find("não encontrado"), std::string::npos) << why;
    EXPECT_FALSE(rs.active());

    // A folder where the file should be is named as what it is.
    TestEnv::makeFolder(folder + "/ADICAO.xtr");
    provider.setTransformation(*platform, folder, "ADICAO.xtr");
    const std::string folderWhy = failure([&] { rs.open(); });
    EXPECT_NE(folderWhy.find("é uma pasta"), std::string::npos) << folderWhy;
}

TEST(XmlTransformTest, LargeValidDocumentLoads) {
    // About 50 MB: 100,000 items, each with a long description.
    std::string xml = "<PROCESSOS><PROCESSO><ID_PROCESSO>1</ID_PROCESSO>";
    const std::string description(400, 'x');
    xml.reserve(52u << 20);
    for (int i = 0; i < 100000; ++i)
        xml += "<ITEM><ID_ITEM>" + std::to_string(i + 1) + "</ID_ITEM><DESCRICAO>" + description +
               "</DESCRICAO><NCM>84818099</NCM></ITEM>";
    xml += "</PROCESSO></PROCESSOS>";
    EXPECT_GT(xml.size(), 45u << 20);
    const char* xtr = R"(<transformation><rows path="PROCESSOS/PROCESSO"><fields>ID_PROCESSO</fields>
        <set name="ITEM"><fields>ID_ITEM DESCRICAO NCM</fields></set></rows></transformation>)";
    const auto t = run(xtr, xml);
    const auto items = nested(*t, 0, "ITEM");
    ASSERT_EQ(items->size(), 100000u);
    EXPECT_EQ(cell(*items, 99999, "ID_ITEM"), "100000");
    EXPECT_EQ(cell(*items, 5, "DESCRICAO")->size(), 400u);
}

TEST(XmlTransformTest, TransformationsNestedWithoutEndAreRefused) {
    std::string xtr = "<transformation><rows path=\"A\"><fields>X</fields>";
    for (int i = 0; i < 20000; ++i)
        xtr += "<set name=\"S" + std::to_string(i) + "\"><fields>X</fields>";
    for (int i = 0; i < 20000; ++i)
        xtr += "</set>";
    xtr += "</rows></transformation>";
    const std::string why = failure([&] { XmlTransform::parse(xtr, "FUNDO.xtr"); });
    EXPECT_NE(why.find("aninhados demais"), std::string::npos) << why.substr(0, 300);
    EXPECT_NE(why.find("FUNDO.xtr"), std::string::npos);
}

TEST(XmlTransformTest, ReferencesToCharactersThatDoNotExistAreRefused) {
    const char* xtr = R"(<transformation><rows path="A"><field name="T" element="."/></rows></transformation>)";
    for (const std::string ref : {"&#xD800;", "&#x110000;", "&#0;", "&#1;", "&#55296;", "&#x99999999999;"}) {
        const std::string why = failure([&] { run(xtr, "<A>A" + ref + "B</A>"); });
        EXPECT_NE(why.find("referência a um caractere que não existe"), std::string::npos) << ref << " → " << why;
        EXPECT_NE(why.find("linha 1"), std::string::npos) << why;
        // In an attribute, too.
        EXPECT_NE(failure([&] { XmlDocument::parseText("<A b=\"" + ref + "\"/>", "r"); }), "") << ref;
    }
    // Characters that exist are taken; the same text inside CDATA or a comment is no reference at all.
    EXPECT_EQ(cell(*run(xtr, "<A>&#x10FFFF;&#9;&#xE9;&#233;</A>"), 0, "T"), "\xF4\x8F\xBF\xBF\té"
                                                                            "é");
    EXPECT_EQ(cell(*run(xtr, "<A><![CDATA[&#0;]]><!-- &#xD800; --></A>"), 0, "T"), "&#0;");
    // A lone surrogate in a UTF-16 document.
    const std::string utf16("\xFF\xFE<\0A\0>\0\x00\xD8<\0/\0A\0>\0", 18);
    EXPECT_NE(failure([&] { run(xtr, utf16); }).find("UTF-16"), std::string::npos);
}
