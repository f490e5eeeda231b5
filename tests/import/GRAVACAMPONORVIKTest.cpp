// The NORVIK field writer on a record of a real table: what is written, what is skipped, and how a
// failing field is reported while the next one is still written.
#include "import/GRAVACAMPONORVIK.h"
#include "TestWorld.h"
#include "data/DbfTestFiles.h"
#include "data/TransferProgress.h"
#include "import/FieldSources.h"

#include <gtest/gtest.h>

using namespace DbfTestFiles;

namespace {

struct Writing : TestWorld {
    TransferProgress progress;
    RecordSet principal{"cdsXMLPrincipal"};
    RecordSet licence{"cdsXMLAux2"};
    FieldSources sources;
    DbfTable table;

    Writing() {
        for (const char* name : {"VALOR", "NOME", "VAZIO", "LETRAS", "DATA"})
            principal.addFieldDef(name);
        principal.createDataSet();
        principal.append();
        principal.setField("VALOR", "1234.565");
        principal.setField("NOME", "A.B. Comércio Ltda.");
        principal.setField("VAZIO", "");
        principal.setField("LETRAS", "doze");
        principal.setField("DATA", "2026-03-12");
        principal.post();
        licence.addFieldDef("ID_LI");
        licence.createDataSet();
        sources.sets[0] = &principal;
        sources.sets[5] = &licence;
        const std::string dbf = env.path("RIREGI.DBF");
        makeTable(dbf, {});
        table.open(dbf);
        table.append();
    }
    void write(const std::string& source, const std::string& target, bool fromSet = true, int index = 0) {
        GRAVACAMPONORVIK(ctx, progress, sources, table, source, target, index, fromSet);
    }
};

} // namespace

TEST(NorvikGRAVACAMPO, ValuesAreWrittenAsTheFieldsHoldThem) {
    Writing w;
    w.write("VALOR", "VALOR");       // a point is the decimal separator of a number field
    w.write("NOME", "NOME");         // and stays a point in a text field
    w.write("VAZIO", "OBS");         // empty: nothing written, still counted
    w.write("0", "REGISTRO", false); // a literal "0" is written, also into a text field
    w.write("   ", "DATA", false);   // blanks write nothing
    w.write("DATA", "DATA");
    EXPECT_EQ(w.progress.counter, 6);
    w.table.post();
    EXPECT_EQ(w.table.text("VALOR"), "1234.57");
    EXPECT_EQ(w.table.text("NOME"), "A.B. Comércio Ltda.");
    EXPECT_EQ(w.table.text("REGISTRO"), "0");
    EXPECT_EQ(w.table.text("DATA"), "12/03/2026");
    EXPECT_EQ(w.table.text("OBS"), "");
    EXPECT_TRUE(w.op.callsOf("message").empty());
}

TEST(NorvikGRAVACAMPO, AFailingFieldIsReportedAndTheNextOneStillWritten) {
    Writing w;
    w.write("LETRAS", "VALOR");        // not a number
    w.write("NADA", "NOME");           // no such source field
    w.write("NOME", "NADA");           // no such target field
    w.write("ID_LI", "NOME", true, 5); // the licence set belongs to the Orientador transfers
    w.write("NOME", "NOME");
    EXPECT_EQ(w.progress.counter, 1);
    const auto boxes = w.op.callsOf("message");
    ASSERT_EQ(boxes.size(), 4u);
    EXPECT_EQ(boxes[0].text.rfind("OCORREU UM ERRO NA TRANSFERÊNCIA\rPor favor entre em contato com o suporte "
                                  "técnico\rTabela: RIREGI.DBF / Campo: VALOR\rERRO: ",
                                  0),
              0u)
        << boxes[0].text;
    EXPECT_NE(boxes[2].text.find("Campo: NADA"), std::string::npos);
    EXPECT_NE(boxes[3].text.find("índice 5"), std::string::npos) << boxes[3].text;
    EXPECT_EQ(boxes[0].icon, MessageIcon::Error);
    const std::string log = TestEnv::readFile(w.env.home() + "ERRO.CSV");
    EXPECT_NE(log.find("Procedimento: Importando Dados para o NORVIK - Erro: "), std::string::npos) << log;
    w.table.post();
    EXPECT_EQ(w.table.text("NOME"), "A.B. Comércio Ltda.");
    EXPECT_EQ(w.table.text("VALOR"), "");
}
