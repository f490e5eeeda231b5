// The rule tables of the Orientador transfers against the files they write: every field a transfer
// writes must be a field of its table in the schema the program creates the Orientador's files from.
#include "data/OrientadorWorld.h"
#include "import/DiOrientadorRules.h"
#include "import/DsiOrientadorRules.h"
#include "import/LiOrientadorRules.h"
#include "import/LsiOrientadorRules.h"

#include <gtest/gtest.h>

#include <set>

namespace {

void expectTargetsInSchema(const std::vector<TableTargets>& catalogue, const std::set<std::string>& writtenTables) {
    OrientadorWorld w;
    std::set<std::string> seen;
    for (const TableTargets& t : catalogue) {
        seen.insert(t.table);
        auto db = w.connect(t.file);
        OrientadorTable table(*db);
        table.setTableName(t.table);
        ASSERT_NO_THROW(table.open()) << t.file << " has no table " << t.table;
        EXPECT_FALSE(t.fields.empty()) << t.table;
        for (const std::string& field : t.fields)
            EXPECT_TRUE(table.hasField(field)) << t.file << " / " << t.table << " has no field " << field;
    }
    EXPECT_EQ(seen, writtenTables) << "every table the transfer writes is in its catalogue";
}

} // namespace

TEST(TransferRules, EveryDiTargetIsAFieldOfImportMdb) {
    expectTargetsInSchema(DiRules::tableTargets(),
                          {"DECLARAÇÃO_IMPORTAÇÃO", "PROCESSO_DI", "DOCUMENTO_INSTRUÇÃO", "EMBALAGEM_CARGA",
                           "CARGA_ARMAZÉM", "PAGAMENTO_TRIBUTOS", "DE_MERCOSUL_DI", "OP_ADIÇÃO_DE_IMPORTAÇÃO",
                           "DEDUÇÃO_VALORAÇÃO", "PAGAMENTO_PREVISTO", "DESTAQUE_NCM", "ACRÉSCIMO_VALORAÇÃO",
                           "VALORAÇÃO_NCM", "DE_MERCOSUL_ADIÇÃO", "PAGAMENTO_VINCULADO", "TRIBUTO",
                           "DOCUMENTO_VINCULADO", "DETALHE_MERCADORIA", "ATO_VINCULADO"});
}

TEST(TransferRules, EveryLicenceAndDsiTargetIsAFieldOfItsFile) {
    expectTargetsInSchema(LiRules::tableTargets(), {"OPERAÇÃO_COM_TRATAMENTO", "DESTAQUE_NCM", "PROCESSO_ANUENTE",
                                                    "DETALHE_MERC_COM_TRATAMENTO"});
    expectTargetsInSchema(LsiRules::tableTargets(), {"OPERAÇÃO_COM_TRATAMENTO", "PROCESSO_ANUENTE"});
    expectTargetsInSchema(DsiRules::tableTargets(),
                          {"DSI_DADOS_GERAIS", "DSI_BENS", "DSI_PGTO_TRIBUTOS", "DSI_TRIBUTOS_BEM", "DSI_VOLUMES"});
}
