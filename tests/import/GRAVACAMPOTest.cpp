#include "import/GRAVACAMPO.h"
#include "data/OrientadorWorld.h"
#include "data/TablePreparation.h"
#include "data/TransferProgress.h"
#include "import/FieldSources.h"

#include <gtest/gtest.h>

namespace {

const char* const Addition = "OP_ADIÇÃO_DE_IMPORTAÇÃO";

// A transfer's situation: the addition table prepared and a new row begun on the data module's
// cursor, and two source record sets with one row each.
struct Writing : OrientadorWorld {
    TransferProgress progress;
    RecordSet principal{"cdsXMLPrincipal"};
    RecordSet aux2{"cdsXMLAux2"};
    FieldSources sources;

    Writing() {
        fill(principal, {{"VMLE", "1234.56"},
                         {"FORNECEDOR", "A.B. Comércio Ltda."},
                         {"PARCELAS", "12"},
                         {"LETRAS", "doze"},
                         {"VAZIO", ""},
                         {"TAXA", "12.5"},
                         {"NCM", "84713012"}});
        fill(aux2, {{"ID_LI", "LI.2026.1"}});
        sources.sets[0] = &principal;
        sources.sets[5] = &aux2;
        op.progressOpen(0, 19, "Iniciando transferência, Aguarde...");
        VERIFICATABELANUMERO(ctx, progress, "IMPORT", Addition, "NR_DECL_IMP_MICRO", "", "00001/26");
        progress.reset(19);
        dm.ADOTbl_IMPORT.insert();
    }

    static void fill(RecordSet& set, std::initializer_list<std::pair<const char*, const char*>> values) {
        for (const auto& [name, value] : values)
            set.addFieldDef(name);
        set.createDataSet();
        set.append();
        for (const auto& [name, value] : values)
            set.setField(name, value);
        set.post();
    }

    void write(const std::string& source, const std::string& target, bool fromSet = true, int index = 0) {
        GRAVACAMPO(ctx, progress, sources, source, target, fromSet, index);
    }

    // The row as posted, read back from the file.
    std::string stored(const std::string& field) {
        OrientadorTable& t = dm.ADOTbl_IMPORT;
        if (t.state() != OrientadorTable::State::Browse)
            t.post();
        return t.text(field);
    }

    std::string errorLog() const { return TestEnv::readFile(env.home() + "ERRO.CSV"); }
};

} // namespace

TEST(GRAVACAMPO, RecordSetValuesTakeACommaAndNumericFieldsTheNumber) {
    Writing w;
    w.write("VMLE", "VL_MERC_COND_VENDA");     // currency
    w.write("TAXA", "PC_COMISSAO_AG_IMP");     // floating
    w.write("PARCELAS", "QT_PARC_FINANC_360"); // integer
    w.write("FORNECEDOR", "NM_FORN_ESTR");     // text: the period becomes a comma there too
    w.write("VAZIO", "CD_MERCADORIA_NCM");     // an empty value writes nothing
    w.write("ID_LI", "NR_OPER_TRAT_PREV", true, 5);
    EXPECT_EQ(w.progress.counter, 6);
    EXPECT_TRUE(w.op.messages().empty());

    OrientadorTable& t = w.dm.ADOTbl_IMPORT;
    w.stored("NR_OP_IMP_MICRO");
    EXPECT_DOUBLE_EQ(t.number("VL_MERC_COND_VENDA"), 1234.56);
    EXPECT_EQ(t.text("VL_MERC_COND_VENDA"), "1234,56");
    EXPECT_DOUBLE_EQ(t.number("PC_COMISSAO_AG_IMP"), 12.5);
    EXPECT_DOUBLE_EQ(t.number("QT_PARC_FINANC_360"), 12);
    EXPECT_EQ(t.text("NM_FORN_ESTR"), "A,B, Comércio Ltda,");
    EXPECT_TRUE(t.isNull("CD_MERCADORIA_NCM"));
    EXPECT_EQ(t.text("NR_OPER_TRAT_PREV"), "LI,2026,1");
}

TEST(GRAVACAMPO, LiteralsAreTrimmedAndAZeroLeavesNumericFieldsUnset) {
    Writing w;
    w.write("0", "PC_COMISSAO_AG_IMP", false);
    w.write("0", "VL_MERC_COND_VENDA", false);
    w.write("0", "CD_AUSENCIA_FABRIC", false);
    w.write("   ", "NM_FORN_ESTR", false);
    w.write(" 7 ", "QT_PERIOD_PGTO_360", false);
    w.write("2.5", "VL_ALIQ_ICMS", false);
    w.write(" 001 ", "NR_OP_IMP_MICRO", false);
    w.write("-1", "IN_BEM_ENCOMENDA", false);
    EXPECT_EQ(w.progress.counter, 8);
    EXPECT_TRUE(w.op.messages().empty());

    OrientadorTable& t = w.dm.ADOTbl_IMPORT;
    w.stored("NR_OP_IMP_MICRO");
    EXPECT_TRUE(t.isNull("PC_COMISSAO_AG_IMP"));
    EXPECT_TRUE(t.isNull("VL_MERC_COND_VENDA"));
    EXPECT_EQ(t.text("CD_AUSENCIA_FABRIC"), "0");
    EXPECT_TRUE(t.isNull("NM_FORN_ESTR"));
    EXPECT_EQ(t.text("QT_PERIOD_PGTO_360"), "7");
    EXPECT_EQ(t.text("VL_ALIQ_ICMS"), "2,5");
    EXPECT_EQ(t.text("NR_OP_IMP_MICRO"), "001");
    EXPECT_EQ(t.text("IN_BEM_ENCOMENDA"), "True");
}

TEST(GRAVACAMPO, AFailingFieldIsReportedLoggedAndTheNextOneStillWritten) {
    Writing w;
    w.write("NAO_EXISTE", "NM_FORN_ESTR");
    w.write("LETRAS", "qt_parc_financ_360");
    w.write("NCM", "CD_MERCADORIA_NCM");
    w.write("NCM", "CD_MERC_NCM");               // no such target field
    w.write("FORNECEDOR", "CD_PAIS_AQUIS_MERC"); // wider than the field
    w.write("X", "NM_FABRICANTE_MERC", true, 3); // no record set with that index
    EXPECT_EQ(w.progress.counter, 1);

    const auto messages = w.op.callsOf("message");
    ASSERT_EQ(messages.size(), 5u);
    const std::string head = "OCORREU UM ERRO NA TRANSFERÊNCIA\rPor favor entre em contato com o suporte técnico\r"
                             "Tabela: OP_ADIÇÃO_DE_IMPORTAÇÃO / Campo: ";
    EXPECT_EQ(messages[0].text,
              head + "NM_FORN_ESTR\rERRO: Campo 'NAO_EXISTE' não encontrado no conjunto de registros cdsXMLPrincipal.");
    EXPECT_EQ(messages[0].caption, "Pelomira");
    EXPECT_EQ(messages[0].icon, MessageIcon::Error);
    EXPECT_EQ(messages[1].text, head + "QT_PARC_FINANC_360\rERRO: O valor 'doze' não pode ser gravado no campo "
                                       "QT_PARC_FINANC_360 (inteiro): não é um número inteiro");
    EXPECT_EQ(messages[2].text, head + "CD_MERC_NCM\rERRO: O campo CD_MERC_NCM não existe na tabela "
                                       "OP_ADIÇÃO_DE_IMPORTAÇÃO do arquivo IMPORT.MDB");
    EXPECT_NE(messages[3].text.find("Campo: CD_PAIS_AQUIS_MERC\rERRO: "), std::string::npos);
    EXPECT_NE(messages[4].text.find("índice 3"), std::string::npos);

    const std::string log = w.errorLog();
    EXPECT_NE(log.find("Procedimento: Importando Dados para o SISCOMEX - Erro: Campo 'NAO_EXISTE' não encontrado no "
                       "conjunto de registros cdsXMLPrincipal."),
              std::string::npos)
        << log;
    EXPECT_NE(log.find("Procedimento: Importando Dados para o SISCOMEX - Erro: O valor 'doze'"), std::string::npos);

    // The row is still there to be posted, with the field that could be written.
    OrientadorTable& t = w.dm.ADOTbl_IMPORT;
    EXPECT_EQ(t.state(), OrientadorTable::State::Insert);
    w.stored("NR_OP_IMP_MICRO");
    EXPECT_EQ(t.text("CD_MERCADORIA_NCM"), "84713012");
    EXPECT_TRUE(t.isNull("QT_PARC_FINANC_360"));
    EXPECT_TRUE(t.isNull("NM_FORN_ESTR"));
}
