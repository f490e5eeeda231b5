#include "OrientadorWorld.h"
#include "base/AppError.h"

#include <gtest/gtest.h>

namespace {

struct OpenTable {
    std::unique_ptr<OrientadorDatabase> db;
    std::unique_ptr<OrientadorTable> t;
    OpenTable(const OrientadorWorld& w, const std::string& file, const std::string& table) : db(w.connect(file)) {
        t = std::make_unique<OrientadorTable>(*db);
        t->setTableName(table);
        t->open();
    }
    OrientadorTable* operator->() { return t.get(); }
};

} // namespace

TEST(OrientadorTable, AccentedNamesOpenExactlyAndMissingTablesAndFieldsAreNamed) {
    OrientadorWorld w;
    OpenTable t(w, "IMPORT.MDB", "DECLARAÇÃO_IMPORTAÇÃO");
    EXPECT_EQ(t->tableName(), "DECLARAÇÃO_IMPORTAÇÃO");
    EXPECT_TRUE(t->isEmpty());
    EXPECT_TRUE(t->eof());
    EXPECT_EQ(t->fieldNames().front(), "NR_DECL_IMP_MICRO");
    EXPECT_EQ(t->fieldNames().back(), "DT_TRANSMISSAO");
    t->close();
    // The Orientador's own names ignore case, accented capitals included.
    t->setTableName("acréscimo_valoração");
    t->open();
    EXPECT_TRUE(t->hasField("vl_acrescimo_mn"));
    t->close();

    t->setTableName("DECLARACAO_IMPORTACAO");
    const std::string table = errorOf([&] { t->open(); });
    EXPECT_EQ(table, "A tabela DECLARACAO_IMPORTACAO não existe no arquivo IMPORT.MDB do Orientador - SISCOMEX");
    EXPECT_FALSE(t->active());

    t->setTableName("TRIBUTO");
    t->open();
    const std::string field = errorOf([&] { t->text("CD_RECEITA"); });
    EXPECT_EQ(field, "O campo CD_RECEITA não existe na tabela TRIBUTO do arquivo IMPORT.MDB");
    EXPECT_NE(errorOf([&] { t->locate("NR_DECL_IMP_MICRX", "1"); }).find("NR_DECL_IMP_MICRX"), std::string::npos);
    EXPECT_NE(errorOf([&] { t->setTableName("X"); }), "");
}

TEST(OrientadorTable, RowsComeInAppendOrderAndAnInsertPostsThePendingRow) {
    OrientadorWorld w;
    OpenTable t(w, "IMPORT.MDB", "PROCESSO_DI");
    for (const char* n : {"3", "1", "2"}) {
        t->insert(); // the second and third insert post the row before them
        t->setText("NR_DECL_IMP_MICRO", "00007/26");
        t->setText("NR_SEQ_PROCESSO", n);
    }
    EXPECT_EQ(t->state(), OrientadorTable::State::Insert);
    EXPECT_EQ(t->recordCount(), 2);
    t->post();
    EXPECT_EQ(t->state(), OrientadorTable::State::Browse);
    EXPECT_EQ(t->recordCount(), 3);

    std::string order;
    for (t->first(); !t->eof(); t->next())
        order += t->text("NR_SEQ_PROCESSO");
    EXPECT_EQ(order, "312");
    t->last();
    EXPECT_TRUE(t->eof());
    EXPECT_FALSE(t->bof());
    EXPECT_EQ(t->text("NR_SEQ_PROCESSO"), "2");
    t->prior();
    EXPECT_FALSE(t->eof());
    EXPECT_EQ(t->text("NR_SEQ_PROCESSO"), "1");

    // Cancelling a new row returns to the row the cursor stood on; an edit changes the row in place.
    t->insert();
    t->setText("NR_SEQ_PROCESSO", "9");
    t->cancel();
    EXPECT_EQ(t->text("NR_SEQ_PROCESSO"), "1");
    t->edit();
    t->setText("CD_TIPO_PROCESSO", "2");
    t->post();
    EXPECT_EQ(w.column("IMPORT.MDB", "PROCESSO_DI", "CD_TIPO_PROCESSO"), (std::vector<std::string>{"", "2", ""}));
    EXPECT_NE(errorOf([&] { t->setText("CD_TIPO_PROCESSO", "1"); }).find("não está em inclusão ou alteração"),
              std::string::npos);
}

TEST(OrientadorTable, LocateIgnoresCaseAndDeletingEveryMatchLeavesTheRest) {
    OrientadorWorld w;
    for (const char* id : {"ação-1", "OUTRO", "AÇÃO-1", "Ação-1 ", "ação-1"})
        w.addRow("DSI.MDB", "DSI_VOLUMES", {{"CD_DSI_MICRO", id}, {"QT_VOLUME_CARGA", "1"}});
    OpenTable t(w, "DSI.MDB", "DSI_VOLUMES");
    ASSERT_TRUE(t->locate("CD_DSI_MICRO", "AÇÃO-1"));
    EXPECT_EQ(t->text("CD_DSI_MICRO"), "ação-1");
    ASSERT_TRUE(t->locate("CD_DSI_MICRO", "AÇÃO-1", false));
    EXPECT_EQ(t->text("CD_DSI_MICRO"), "AÇÃO-1");
    int removed = 0;
    while (t->locate("CD_DSI_MICRO", "ação-1")) {
        t->deleteRecord();
        ++removed;
    }
    EXPECT_EQ(removed, 3); // "Ação-1 " carries a blank and is another value
    EXPECT_EQ(w.column("DSI.MDB", "DSI_VOLUMES", "CD_DSI_MICRO"), (std::vector<std::string>{"OUTRO", "Ação-1 "}));
    // A failed locate leaves the cursor where it was; a number field is found by its value.
    t->first();
    EXPECT_FALSE(t->locate("CD_DSI_MICRO", "nada"));
    EXPECT_EQ(t->text("CD_DSI_MICRO"), "OUTRO");
    EXPECT_TRUE(t->locate("QT_VOLUME_CARGA", "1,0"));
    EXPECT_FALSE(t->locate("QT_VOLUME_CARGA", "um"));

    // Deleting the last row leaves the cursor on the one before it, at the end.
    t->last();
    t->deleteRecord();
    EXPECT_TRUE(t->eof());
    EXPECT_EQ(t->text("CD_DSI_MICRO"), "OUTRO");
    t->deleteRecord();
    EXPECT_TRUE(t->isEmpty());
    EXPECT_NE(errorOf([&] { t->deleteRecord(); }), "");
}

TEST(OrientadorTable, DeclaredTypesGiveTheFieldKinds) {
    OrientadorWorld w;
    OpenTable t(w, "IMPORT.MDB", "OP_ADIÇÃO_DE_IMPORTAÇÃO");
    auto is = [&](const char* name, OrientadorFieldType type, int width, const char* typeName) {
        const OrientadorField& f = t->field(name);
        EXPECT_EQ(f.type, type) << name;
        EXPECT_EQ(f.width, width) << name;
        EXPECT_EQ(f.typeName, typeName) << name;
    };
    is("NR_OP_IMP_MICRO", OrientadorFieldType::Text, 3, "ftString");
    is("PL_MERCADORIA", OrientadorFieldType::Text, 15, "ftString");
    is("VL_MERC_COND_VENDA", OrientadorFieldType::Currency, 0, "ftCurrency");
    is("PC_COMISSAO_AG_IMP", OrientadorFieldType::Floating, 0, "ftFloat");
    is("QT_PARC_FINANC_360", OrientadorFieldType::Integer, 0, "ftInteger");
    is("IN_MULTIMODAL", OrientadorFieldType::YesNo, 0, "ftBoolean");
    is("TX_COMPL_VL_ADUAN", OrientadorFieldType::Memo, 0, "ftMemo");
    t->close();
    t->setTableName("DETALHE_MERCADORIA");
    t->open();
    is("TX_DESC_DET_MERC", OrientadorFieldType::Memo, 0, "ftMemo");
    t.db->disconnect();
    OpenTable r(w, "REGIMP.MDB", "OPERAÇÃO_COM_TRATAMENTO");
    EXPECT_EQ(r->field("DT_REG_OPER_TRAT").type, OrientadorFieldType::Date);
    EXPECT_EQ(r->field("DT_REG_OPER_TRAT").typeName, "ftDateTime");

    EXPECT_THROW(OrientadorField::fromDeclaredType("X", "BLOB"), AppError);
    EXPECT_THROW(OrientadorField::fromDeclaredType("X", "TEXT(0)"), AppError);
    EXPECT_EQ(OrientadorField::fromDeclaredType("X", "varchar( 12 )").width, 12);
    EXPECT_EQ(OrientadorField::fromDeclaredType("X", "SMALLINT").maxValue, 32767);
}

TEST(OrientadorTable, ValuesAreConvertedByFieldKindAndBadOnesRefused) {
    OrientadorWorld w;
    {
        OpenTable t(w, "IMPORT.MDB", "OP_ADIÇÃO_DE_IMPORTAÇÃO");
        t->insert();
        t->setText("VL_MERC_COND_VENDA", "1234,56");
        t->setText("VL_MERC_VENDA_MN", "0,123456"); // currency keeps four decimals
        t->setText("PC_COMISSAO_AG_IMP", "12.5");
        t->setNumber("VL_ALIQ_ICMS", 0.1 + 0.2);
        t->setText("QT_PARC_FINANC_360", " 12,0 ");
        t->setText("IN_MULTIMODAL", "SIM");
        t->setFlag("IN_BEM_ENCOMENDA", false);
        t->setText("NR_OP_IMP_MICRO", "001   "); // blanks past the width are dropped
        t->setText("CD_MERC_NALADI_SH", "");     // a blank stores nothing
        t->setText("TX_COMPL_VL_ADUAN", "linha 1\r\nlinha 2");

        auto refused = [&](const char* field, const std::string& value) {
            return errorOf([&] { t->setText(field, value); });
        };
        EXPECT_EQ(refused("QT_PARC_FINANC_360", "doze"),
                  "O valor 'doze' não pode ser gravado no campo QT_PARC_FINANC_360 (inteiro): não é um número inteiro");
        EXPECT_NE(refused("QT_PARC_FINANC_360", "12,5").find("não é um número inteiro"), std::string::npos);
        EXPECT_NE(refused("QT_PARC_FINANC_360", "3000000000").find("fora dos limites"), std::string::npos);
        EXPECT_NE(refused("VL_MERC_LOC_EMB_MN", "1.234,56").find("não é um número"), std::string::npos);
        EXPECT_NE(refused("IN_REDUC_BASE_CALC", "talvez").find("(sim/não)"), std::string::npos);
        EXPECT_EQ(refused("CD_MERCADORIA_NCM", "847130120"),
                  "O valor '847130120' não pode ser gravado no campo CD_MERCADORIA_NCM (texto(8)): o texto tem 9 "
                  "caracteres e o campo aceita 8");
        EXPECT_NE(refused("CD_PAIS_ORIG_MERC", "ÇÃO1").find("aceita 3"), std::string::npos);
        EXPECT_NE(errorOf([&] { t->setNumber("QT_PERIOD_PGTO_360", 1.5); }), "");
        t->post();
    }
    OpenTable t(w, "IMPORT.MDB", "OP_ADIÇÃO_DE_IMPORTAÇÃO");
    ASSERT_EQ(t->recordCount(), 1);
    EXPECT_EQ(t->text("VL_MERC_COND_VENDA"), "1234,56");
    EXPECT_DOUBLE_EQ(t->number("VL_MERC_COND_VENDA"), 1234.56);
    EXPECT_EQ(t->text("VL_MERC_VENDA_MN"), "0,1235");
    EXPECT_EQ(t->text("PC_COMISSAO_AG_IMP"), "12,5");
    EXPECT_EQ(t->text("VL_ALIQ_ICMS"), "0,3");
    EXPECT_EQ(t->text("QT_PARC_FINANC_360"), "12");
    EXPECT_EQ(t->text("IN_MULTIMODAL"), "True");
    EXPECT_DOUBLE_EQ(t->number("IN_MULTIMODAL"), -1);
    EXPECT_EQ(t->text("IN_BEM_ENCOMENDA"), "False");
    EXPECT_EQ(t->text("NR_OP_IMP_MICRO"), "001");
    EXPECT_TRUE(t->isNull("CD_MERC_NALADI_SH"));
    EXPECT_TRUE(t->isNull("QT_PERIOD_PGTO_360")); // refused values left the field as it was
    EXPECT_EQ(t->text("TX_COMPL_VL_ADUAN"), "linha 1\r\nlinha 2");
    EXPECT_NE(errorOf([&] { t->number("QT_PERIOD_PGTO_360"); }).find("vazio"), std::string::npos);
}

TEST(OrientadorTable, DatesMemosAndSmallIntegers) {
    OrientadorWorld w;
    {
        OpenTable t(w, "REGIMP.MDB", "OPERAÇÃO_COM_TRATAMENTO");
        t->insert();
        t->setText("DT_ATU_OPER_MICRO", "5/3/2026");
        t->setText("DT_REG_OPER_TRAT", "2026-02-28 14:05");
        EXPECT_NE(errorOf([&] { t->setText("DT_REG_OPER_TRAT", "29/02/2026"); }).find("não é uma data válida"),
                  std::string::npos);
        EXPECT_NE(errorOf([&] { t->setNumber("DT_REG_OPER_TRAT", 46000); }), "");
        // A memo without width keeps every character, however long.
        t->setText("TX_INFO_COMPL", std::string(7790, 'a') + "çççççççççççççç");
        t->post();
        EXPECT_EQ(t->text("DT_ATU_OPER_MICRO"), "05/03/2026");
        EXPECT_EQ(t->text("DT_REG_OPER_TRAT"), "28/02/2026 14:05:00");
        EXPECT_EQ(t->text("TX_INFO_COMPL"), std::string(7790, 'a') + "çççççççççççççç");
    }
    OpenTable p(w, "IMPORT.MDB", "PAGAMENTO_VINCULADO");
    p->insert();
    p->setNumber("CD_TP_COMPR_CAMBIO", 2);
    EXPECT_NE(errorOf([&] { p->setText("CD_TP_COMPR_CAMBIO", "256"); }).find("0 a 255"), std::string::npos);
    p->post();
    EXPECT_EQ(p->text("CD_TP_COMPR_CAMBIO"), "2");
}

TEST(OrientadorTable, FiltersSelectRowsForWalkingAndCounting) {
    OrientadorWorld w;
    w.addRow("IMPORT.MDB", "DECLARAÇÃO_IMPORTAÇÃO", {{"NR_IDENT_USUARIO", "A"}, {"DT_REGISTRO_DI", "05032026"}});
    w.addRow("IMPORT.MDB", "DECLARAÇÃO_IMPORTAÇÃO", {{"NR_IDENT_USUARIO", "B"}});
    w.addRow("IMPORT.MDB", "DECLARAÇÃO_IMPORTAÇÃO", {{"NR_IDENT_USUARIO", "C"}, {"DT_REGISTRO_DI", "06032026"}});
    OpenTable t(w, "IMPORT.MDB", "DECLARAÇÃO_IMPORTAÇÃO");
    t->setFilter("DT_REGISTRO_DI <> ''");
    EXPECT_EQ(t->recordCount(), 3); // not filtered yet
    t->setFiltered(true);
    EXPECT_EQ(t->recordCount(), 2);
    std::string seen;
    for (t->first(); !t->eof(); t->next())
        seen += t->text("NR_IDENT_USUARIO");
    EXPECT_EQ(seen, "AC");
    t->setFilter("(NR_IDENT_USUARIO = 'B' OR NR_IDENT_USUARIO = 'C') AND DT_REGISTRO_DI <> null");
    EXPECT_EQ(t->recordCount(), 1);
    EXPECT_EQ(t->text("NR_IDENT_USUARIO"), "C");
    EXPECT_NE(errorOf([&] { t->setFilter("DT_REGISTRO_XX <> null"); }).find("DT_REGISTRO_XX"), std::string::npos);
    EXPECT_NE(errorOf([&] { t->setFilter("DT_REGISTRO_DI <> 'x"); }).find("aspas"), std::string::npos);
    EXPECT_EQ(t->recordCount(), 1); // a refused filter leaves the one before
    t->setFiltered(false);
    EXPECT_EQ(t->recordCount(), 3);

    w.addRow("REGIMP.MDB", "OPERAÇÃO_COM_TRATAMENTO", {{"NR_IDENT_USUARIO", "L1"}, {"DT_REG_OPER_TRAT", "05/03/2026"}});
    w.addRow("REGIMP.MDB", "OPERAÇÃO_COM_TRATAMENTO", {{"NR_IDENT_USUARIO", "L2"}});
    t.db->disconnect();
    OpenTable r(w, "REGIMP.MDB", "OPERAÇÃO_COM_TRATAMENTO");
    r->setFilter("DT_REG_OPER_TRAT <> null");
    r->setFiltered(true);
    EXPECT_EQ(r->recordCount(), 1);
    EXPECT_EQ(r->text("NR_IDENT_USUARIO"), "L1");
    r->setFilter("DT_REG_OPER_TRAT >= #01/03/2026# AND NR_IDENT_USUARIO LIKE 'l*'");
    EXPECT_EQ(r->recordCount(), 1);
}

TEST(OrientadorTable, AfterOpenEveryCursorOperationStartsFromTheFirstRow) {
    OrientadorWorld w;
    for (const char* id : {"A", "B", "C"})
        w.addRow("DSI.MDB", "DSI_VOLUMES", {{"CD_DSI_MICRO", id}, {"QT_VOLUME_CARGA", "1"}});
    const auto reopened = [](OpenTable& t) {
        t->close();
        t->open();
    };
    OpenTable t(w, "DSI.MDB", "DSI_VOLUMES");
    EXPECT_TRUE(t->bof());
    EXPECT_FALSE(t->eof());
    EXPECT_EQ(t->text("CD_DSI_MICRO"), "A");

    reopened(t);
    t->next();
    EXPECT_EQ(t->text("CD_DSI_MICRO"), "B");

    // A failed locate or a cancelled new row leaves the cursor on the first row, whether or not it was
    // looked at while the new row was pending.
    reopened(t);
    EXPECT_FALSE(t->locate("CD_DSI_MICRO", "Z"));
    EXPECT_EQ(t->text("CD_DSI_MICRO"), "A");
    reopened(t);
    t->insert();
    t->setText("CD_DSI_MICRO", "N");
    EXPECT_EQ(t->text("CD_DSI_MICRO"), "N");
    t->cancel();
    EXPECT_EQ(t->text("CD_DSI_MICRO"), "A");
    reopened(t);
    t->insert();
    EXPECT_FALSE(t->eof());
    t->cancel();
    EXPECT_EQ(t->text("CD_DSI_MICRO"), "A");

    // A row posted right after open is the current one; edit and delete act on the first row.
    reopened(t);
    t->insert();
    t->setText("CD_DSI_MICRO", "D");
    t->post();
    EXPECT_EQ(t->text("CD_DSI_MICRO"), "D");
    EXPECT_FALSE(t->eof());
    reopened(t);
    t->edit();
    t->setText("QT_VOLUME_CARGA", "2");
    t->post();
    EXPECT_EQ(w.column("DSI.MDB", "DSI_VOLUMES", "QT_VOLUME_CARGA").front(), "2");
    reopened(t);
    t->deleteRecord();
    EXPECT_EQ(t->text("CD_DSI_MICRO"), "B");
    EXPECT_EQ(w.column("DSI.MDB", "DSI_VOLUMES", "CD_DSI_MICRO"), (std::vector<std::string>{"B", "C", "D"}));

    // An empty table is at both ends at once, and has no row to delete.
    while (t->locate("CD_DSI_MICRO", "B") || t->locate("CD_DSI_MICRO", "C") || t->locate("CD_DSI_MICRO", "D"))
        t->deleteRecord();
    reopened(t);
    EXPECT_TRUE(t->eof());
    EXPECT_TRUE(t->bof());
    EXPECT_NE(errorOf([&] { t->deleteRecord(); }), "");
}
