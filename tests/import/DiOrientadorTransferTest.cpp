// The DI transfer into the Orientador through the Orientador entry, with a scripted operator, real
// SQLite Orientador files and the repository's transformation files and samples.
#include "base/BusyGuard.h"
#include "import/DiTransferWorld.h"

#include <filesystem>

namespace {

const char* const Head = "DECLARAÇÃO_IMPORTAÇÃO";
const char* const Additions = "OP_ADIÇÃO_DE_IMPORTAÇÃO";

// The twenty tables of a declaration, in the order the preparation clears them.
const std::vector<std::string> PreparedTables = {
    "DECLARAÇÃO_IMPORTAÇÃO",
    "PROCESSO_DI",
    "DOCUMENTO_INSTRUÇÃO",
    "EMBALAGEM_CARGA",
    "CARGA_ARMAZÉM",
    "COMPENSAÇÃO_CRÉDITO",
    "PAGAMENTO_TRIBUTOS",
    "OP_ADIÇÃO_DE_IMPORTAÇÃO",
    "DEDUÇÃO_VALORAÇÃO",
    "PAGAMENTO_PREVISTO",
    "DESTAQUE_NCM",
    "DETALHE_MERCADORIA",
    "ACRÉSCIMO_VALORAÇÃO",
    "DOCUMENTO_VINCULADO",
    "ATO_VINCULADO",
    "PAGAMENTO_VINCULADO",
    "TRIBUTO",
    "VALORAÇÃO_NCM",
    "DE_MERCOSUL_DI",
    "DE_MERCOSUL_ADIÇÃO",
};

// The nineteen tables in the order they are written.
const std::vector<std::string> WrittenTables = {
    "DECLARAÇÃO_IMPORTAÇÃO", "PROCESSO_DI",        "DOCUMENTO_INSTRUÇÃO", "EMBALAGEM_CARGA",
    "CARGA_ARMAZÉM",         "PAGAMENTO_TRIBUTOS", "DE_MERCOSUL_DI",      "OP_ADIÇÃO_DE_IMPORTAÇÃO",
    "DEDUÇÃO_VALORAÇÃO",     "PAGAMENTO_PREVISTO", "DESTAQUE_NCM",        "ACRÉSCIMO_VALORAÇÃO",
    "VALORAÇÃO_NCM",         "DE_MERCOSUL_ADIÇÃO", "PAGAMENTO_VINCULADO", "TRIBUTO",
    "DOCUMENTO_VINCULADO",   "DETALHE_MERCADORIA", "ATO_VINCULADO",
};

const std::string Sample = "DI_VARIAS_ADICOES.xml";

// The sample reduced to its head row: no lists, additions or items (a quick document for the tests of
// the head's own rules).
SampleDocument headOnly() {
    SampleDocument d(Sample);
    for (const char* list :
         {"PROC_VINCULADO", "DOCUMENTO", "VOLUMES", "NR_ARMAZEM", "PAGAMENTO", "DEE", "ADICAO", "ITEM"})
        while (d.doc.select_node(("/PROCESSOS/PROCESSO/" + std::string(list)).c_str()))
            d.remove("/PROCESSOS/PROCESSO/" + std::string(list));
    return d;
}

// The sample with its first addition and first item only.
SampleDocument oneAddition() {
    SampleDocument d(Sample);
    d.remove("/PROCESSOS/PROCESSO/ADICAO[ID_ADICAO='003']");
    d.remove("/PROCESSOS/PROCESSO/ADICAO[ID_ADICAO='002']");
    for (const char* item : {"5", "4", "3", "2"})
        d.remove("/PROCESSOS/PROCESSO/ITEM[ID_ITEM='" + std::string(item) + "']");
    return d;
}

} // namespace

TEST(DiOrientadorTransfer, WritesEveryTableAndShowsEachStep) {
    DiTransferWorld w;
    const TransferOutcome outcome = w.transfer(w.sample(Sample));
    EXPECT_TRUE(w.op.unexpected().empty());
    EXPECT_TRUE(w.op.messages().empty()) << w.op.messages().front();
    expectSampleDeclaration(w, microNumber(1));
    EXPECT_EQ(outcome.status, TransferStatus::Transferred);
    EXPECT_EQ(outcome.transferred, (std::vector<std::string>{"2026001534"}));

    const auto asked = w.op.callsOf("ask");
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0].text, "Confirma a transferência para o Orientador - SISCOMEX?");
    EXPECT_EQ(asked[0].caption, "Pelomira - DI");
    EXPECT_EQ(asked[0].icon, MessageIcon::Question);

    // Preparation window: the process's head rows, then the twenty tables by the new number (21 steps,
    // so the bar ends full); then the transfer window with the nineteen tables.
    const auto opened = w.op.callsOf("progressOpen");
    ASSERT_EQ(opened.size(), 2u);
    EXPECT_EQ(opened[0].text, "Preparando a transferência, Aguarde...");
    EXPECT_EQ(opened[1].text, "Iniciando transferência, Aguarde...");
    EXPECT_EQ(opened[0].extra, (std::vector<std::string>{"0", "21"}));
    EXPECT_EQ(opened[1].extra, (std::vector<std::string>{"0", "19"}));
    std::vector<std::string> expectedSteps = {"Verificando dados da tabela DECLARAÇÃO_IMPORTAÇÃO"};
    for (const auto& t : PreparedTables)
        expectedSteps.push_back("Verificando dados da tabela " + t);
    for (const auto& t : WrittenTables)
        expectedSteps.push_back("Transferindo a tabela " + t);
    std::vector<std::string> steps;
    for (const auto& c : w.op.callsOf("progressStep"))
        steps.push_back(c.text);
    EXPECT_EQ(steps, expectedSteps);
    EXPECT_EQ(w.op.callsOf("progressClose").size(), 2u);
    EXPECT_FALSE(w.op.progressIsOpen());
    EXPECT_FALSE(w.dm.ADOCon_IMPORT.connected()) << "the connection is let go after each declaration";

    const auto closing = w.op.callsOf("showMessage");
    ASSERT_EQ(closing.size(), 1u);
    EXPECT_EQ(closing[0].caption, "Pelomira");
    EXPECT_EQ(closing[0].text, "DI(s) 2026001534 recebida(s) com êxito ao Orientador - SISCOMEX!");
    EXPECT_EQ(closing[0].extra, (std::vector<std::string>{"", "", "&Abrir o Orientador\rSISCOMEX", "&OK"}));
    EXPECT_TRUE(w.op.callsOf("openWithSystem").empty()) << "OK does not start the Orientador";
    const std::string log = w.activityLog();
    const auto start = log.find("Iniciando Importação de Processos para o SISCOMEX");
    const auto end = log.find("Finalizando Importação de Processos para o SISCOMEX (DI: 2026001534)");
    EXPECT_NE(start, std::string::npos);
    EXPECT_NE(end, std::string::npos);
    EXPECT_LT(start, end);
    EXPECT_FALSE(TestEnv::exists(w.env.home() + "ERRO.CSV"));
}

TEST(DiOrientadorTransfer, TwoDeclarationsGetConsecutiveNumbersAndATransferAgainReplacesThem) {
    DiTransferWorld w;
    const std::string two = w.sample("DI_DUAS_DECLARACOES.xml");
    w.transfer(two);
    EXPECT_TRUE(w.op.messages().empty());
    const auto heads = w.rows(Head);
    ASSERT_EQ(heads.size(), 2u);
    EXPECT_EQ(columnOf(heads, "NR_IDENT_USUARIO"), (std::vector<std::string>{"111", "222"}));
    EXPECT_EQ(columnOf(heads, "NR_DECL_IMP_MICRO"), (std::vector<std::string>{microNumber(1), microNumber(2)}));
    EXPECT_EQ(heads[1].at("NR_DECLARACAO_IMP"), "2605123456");
    EXPECT_EQ(heads[1].at("DT_REGISTRO_DI"), "13032026");
    EXPECT_EQ(heads[1].at("VL_TOT_MLE_MNEG"), "48230");
    // 222 has only the first addition and its two items.
    EXPECT_EQ(columnOf(w.rows(Additions), "NR_DECL_IMP_MICRO"),
              (std::vector<std::string>{microNumber(1), microNumber(1), microNumber(1), microNumber(2)}));
    EXPECT_EQ(columnOf(w.rows("DETALHE_MERCADORIA"), "NR_DECL_IMP_MICRO"),
              (std::vector<std::string>{microNumber(1), microNumber(1), microNumber(1), microNumber(1), microNumber(1),
                                        microNumber(2), microNumber(2)}));
    ASSERT_EQ(w.op.callsOf("showMessage").size(), 1u);
    EXPECT_EQ(w.op.callsOf("showMessage")[0].text, "DI(s) 111, 222 recebida(s) com êxito ao Orientador - SISCOMEX!");
    EXPECT_NE(w.activityLog().find("Finalizando Importação de Processos para o SISCOMEX (DI: 111, 222)"),
              std::string::npos);
    EXPECT_EQ(w.op.callsOf("progressOpen").size(), 4u);

    std::map<std::string, std::size_t> counts;
    for (const auto& t : PreparedTables)
        counts[t] = w.rows(t).size();

    // Again: each process gets a new number and nothing of the first transfer is left behind.
    w.op.clear();
    w.transfer(two);
    EXPECT_TRUE(w.op.messages().empty());
    const auto again = w.rows(Head);
    ASSERT_EQ(again.size(), 2u);
    EXPECT_EQ(columnOf(again, "NR_IDENT_USUARIO"), (std::vector<std::string>{"111", "222"}));
    EXPECT_EQ(columnOf(again, "NR_DECL_IMP_MICRO"), (std::vector<std::string>{microNumber(3), microNumber(4)}));
    for (const auto& t : PreparedTables) {
        const auto rows = w.rows(t);
        EXPECT_EQ(rows.size(), counts[t]) << t;
        for (const auto& r : rows)
            EXPECT_TRUE(r.at("NR_DECL_IMP_MICRO") == microNumber(3) || r.at("NR_DECL_IMP_MICRO") == microNumber(4))
                << t << " keeps a row of " << r.at("NR_DECL_IMP_MICRO");
    }
}

TEST(DiOrientadorTransfer, DeclarationTypes16And17CarryEntryWayAndFreightPerAddition) {
    DiTransferWorld w;
    SampleDocument d(Sample);
    d.set("/PROCESSOS/PROCESSO/TIPO_DECLARACAO", "16");
    d.set("/PROCESSOS/PROCESSO/MULTIMODAL", "SIM");
    w.transfer(d.text());
    EXPECT_TRUE(w.op.messages().empty());

    const auto head = w.rows(Head).at(0);
    EXPECT_EQ(head.at("CD_TIPO_DECLARACAO"), "16");
    EXPECT_EQ(head.at("CD_URF_ENTR_CARGA"), "");
    EXPECT_EQ(head.at("CD_URF_DESPACHO"), "0817600");
    EXPECT_EQ(head.at("IN_MULTIMODAL"), "True") << "the way is 1: the transport block is written";
    EXPECT_EQ(head.at("NR_DCTO_CARGA"), "152605000412345000");
    EXPECT_EQ(head.at("NM_LOCAL_EMBARQUE"), "") << "shipment place and dates only below type 13";
    EXPECT_EQ(head.at("DT_EMBARQUE"), "");
    EXPECT_EQ(head.at("DT_CHEGADA_CARGA"), "");
    EXPECT_EQ(head.at("CD_UTIL_DCTO_CARGA"), "1");

    const auto additions = w.rows(Additions);
    ASSERT_EQ(additions.size(), 3u);
    EXPECT_EQ(columnOf(additions, "CD_URF_ENTR_MERC"), (std::vector<std::string>{"0817600", "0817600", "0817600"}));
    EXPECT_EQ(columnOf(additions, "CD_VIA_TRANSPORTE"), (std::vector<std::string>{"1", "1", "1"}));
    EXPECT_EQ(columnOf(additions, "IN_MULTIMODAL"), (std::vector<std::string>{"True", "True", "True"}));
    EXPECT_EQ(columnOf(additions, "CD_PAIS_PROC_MERC"), (std::vector<std::string>{"023", "023", "023"}));
    EXPECT_EQ(columnOf(additions, "VL_FRETE_MERC_MNEG"), (std::vector<std::string>{"2150", "1380", "3100"}));
    EXPECT_EQ(columnOf(additions, "CD_MD_FRETE_MERC"), (std::vector<std::string>{"220", "220", "220"}));
    EXPECT_EQ(columnOf(additions, "VL_SEG_MERC_MNEG"), (std::vector<std::string>{"482,3", "128,7", "312,5"}));
    EXPECT_EQ(columnOf(additions, "CD_MOEDA_SEG_MERC"), (std::vector<std::string>{"790", "790", "790"}));
    EXPECT_EQ(additions[1].at("CD_MODALIDADE_PGTO"), "") << "no payment mode for type 16";

    // Type 17 keeps the payment mode; a multimodal flag that is neither SIM nor NAO leaves the field.
    d.set("/PROCESSOS/PROCESSO/TIPO_DECLARACAO", "17");
    d.set("/PROCESSOS/PROCESSO/MULTIMODAL", "TALVEZ");
    w.transfer(d.text());
    const auto additions17 = w.rows(Additions);
    ASSERT_EQ(additions17.size(), 3u);
    EXPECT_EQ(additions17[1].at("CD_MODALIDADE_PGTO"), "01");
    EXPECT_EQ(additions17[0].at("CD_URF_ENTR_MERC"), "0817600");
    EXPECT_EQ(additions17[0].at("IN_MULTIMODAL"), "");
    EXPECT_EQ(w.rows(Head).at(0).at("IN_MULTIMODAL"), "");
}

TEST(DiOrientadorTransfer, TransportWayDecidesTheCargoDocumentNumbers) {
    struct Case {
        std::string way, nic, house;
        std::string number, master, wayCode;
    };
    const std::string nic36 = "ABCDEFGHIJKLMNOPQR123456789012345678";
    const std::vector<Case> cases = {
        {"4", "", "", "MAEU221356789", "", "04"}, // air, no house bill: the master alone
        {"4", nic36, "HAWB7781203", "HAWB7781203", "MAEU221356789", "04"},
        {"1", nic36, "HAWB7781203", "ABCDEFGHIJKLMNOPQR", "123456789012345678", "01"},
        {"7", nic36, "", "ABCDEFGHIJKLMNOPQR", "123456789012345678", "07"},
        {"7", "", "", "MAEU221356789", "", "07"},
    };
    DiTransferWorld w;
    for (const auto& c : cases) {
        SampleDocument d = headOnly();
        d.set("/PROCESSOS/PROCESSO/VIA_TRANSPORTE", c.way);
        d.set("/PROCESSOS/PROCESSO/NIC", c.nic);
        d.set("/PROCESSOS/PROCESSO/HOUSE", c.house);
        w.transfer(d.text());
        const auto head = w.rows(Head).at(0);
        EXPECT_EQ(head.at("NR_DCTO_CARGA"), c.number) << c.way << " " << c.nic << " " << c.house;
        EXPECT_EQ(head.at("NR_DCTO_CARGA_MAST"), c.master) << c.way << " " << c.nic << " " << c.house;
        EXPECT_EQ(head.at("CD_VIA_TRANSP_CARG"), c.wayCode);
    }
    EXPECT_TRUE(w.op.messages().empty());

    // Ways 16 and 17 have no transport block at all.
    SampleDocument d = headOnly();
    d.set("/PROCESSOS/PROCESSO/VIA_TRANSPORTE", "16");
    w.transfer(d.text());
    const auto head = w.rows(Head).at(0);
    for (const char* field : {"CD_PAIS_PROC_CARGA", "CD_VIA_TRANSP_CARG", "IN_MULTIMODAL", "NM_TRANSPORTADOR",
                              "NR_DCTO_CARGA", "NM_LOCAL_EMBARQUE", "CD_UTIL_DCTO_CARGA", "NR_MANIFESTO"})
        EXPECT_EQ(head.at(field), "") << field;
    EXPECT_EQ(head.at("CD_URF_ENTR_CARGA"), "0817600");
    EXPECT_EQ(head.at("VL_TOT_FRT_PREPAID"), "4230");
}

TEST(DiOrientadorTransfer, HeadConditionsAndTheGoodsValueWithoutCurrency) {
    DiTransferWorld w;
    SampleDocument d = headOnly();
    d.set("/PROCESSOS/PROCESSO/TIPO_OPERACAO", "02");
    d.set("/PROCESSOS/PROCESSO/CONSIGNATARIO_CNPJ_CPF", "55741236000199");
    d.set("/PROCESSOS/PROCESSO/FUNDAP", "SIM");
    d.set("/PROCESSOS/PROCESSO/VMLE_MOEDA", "");
    d.set("/PROCESSOS/PROCESSO/VMLE_TOTAL_MNEG", "");
    d.set("/PROCESSOS/PROCESSO/TIPO_PAGAMENTO", "2");
    w.transfer(d.text());
    EXPECT_TRUE(w.op.messages().empty());
    auto head = w.rows(Head).at(0);
    EXPECT_EQ(head.at("NR_CONSIGNATARIO"), "55741236000199");
    EXPECT_EQ(head.at("IN_OPERACAO_FUNDAP"), "True");
    EXPECT_EQ(head.at("CD_MOEDA_MLE"), "");
    EXPECT_EQ(head.at("VL_TOT_MLE_MNEG"), "0") << "set to 0, not left empty";
    EXPECT_EQ(head.at("VL_TOTAL_MLE_MN"), "575523,96");
    EXPECT_EQ(head.at("IN_MOEDA_UNICA"), "False");
    EXPECT_EQ(head.at("CD_TIPO_PGTO_TRIB"), "2");
    EXPECT_EQ(head.at("NR_CONTA_PGTO_TRIB"), "") << "the account goes with payment types 1, 3 and 4 only";

    d.set("/PROCESSOS/PROCESSO/TIPO_OPERACAO", "1");
    d.set("/PROCESSOS/PROCESSO/FUNDAP", "");
    d.set("/PROCESSOS/PROCESSO/TIPO_PAGAMENTO", "4");
    w.transfer(d.text());
    head = w.rows(Head).at(0);
    EXPECT_EQ(head.at("NR_CONSIGNATARIO"), "");
    EXPECT_EQ(head.at("IN_OPERACAO_FUNDAP"), "") << "neither SIM nor NAO leaves the flag";
    EXPECT_EQ(head.at("NR_CONTA_PGTO_TRIB"), "0045821");
}

TEST(DiOrientadorTransfer, AdditionWithoutItemsAndItemsOutOfOrder) {
    DiTransferWorld w;
    SampleDocument d(Sample);
    // Addition 004 has no item of its own; item 1 moves to the end of the document.
    pugi::xml_node process = d.node("/PROCESSOS/PROCESSO");
    pugi::xml_node copy = process.insert_copy_after(d.node("/PROCESSOS/PROCESSO/ADICAO[ID_ADICAO='003']"),
                                                    d.node("/PROCESSOS/PROCESSO/ADICAO[ID_ADICAO='003']"));
    copy.child("ID_ADICAO").text().set("004");
    process.append_copy(d.node("/PROCESSOS/PROCESSO/ITEM[ID_ITEM='1']"));
    d.remove("/PROCESSOS/PROCESSO/ITEM[ID_ITEM='1']");
    w.transfer(d.text());
    EXPECT_TRUE(w.op.messages().empty());

    const auto additions = w.rows(Additions);
    ASSERT_EQ(additions.size(), 4u);
    // The first item of the document (now item 2) lends its values; nothing weighs.
    const auto& empty = additions[3];
    EXPECT_EQ(empty.at("NR_OP_IMP_MICRO"), "004");
    EXPECT_EQ(empty.at("CD_MERCADORIA_NCM"), "84818099");
    EXPECT_EQ(empty.at("CD_MERC_NBM_SH"), "84818099");
    EXPECT_EQ(empty.at("CD_PAIS_ORIG_MERC"), "023");
    EXPECT_EQ(empty.at("CD_MOEDA_NEGOCIADA"), "978");
    EXPECT_EQ(empty.at("CD_AUSENCIA_FABRIC"), "1");
    EXPECT_EQ(empty.at("NM_FORN_ESTR"), "Armaturenwerk Hötensleben GmbH ");
    EXPECT_EQ(empty.at("NM_FABRICANTE_MERC"), "");
    EXPECT_EQ(empty.at("PL_MERCADORIA"), "000000000000000");
    EXPECT_EQ(additions[0].at("PL_MERCADORIA"), "000000071045000") << "item 1 still counts for addition 001";

    // Details ordered by addition: 001 (items 2 and 1), 002, 003, 003; the sequence restarts per addition.
    const auto details = w.rows("DETALHE_MERCADORIA");
    EXPECT_EQ(columnOf(details, "NR_OP_IMP_MICRO"), (std::vector<std::string>{"001", "001", "002", "003", "003"}));
    EXPECT_EQ(columnOf(details, "NU_SEQ_DETALHE"), (std::vector<std::string>{"1", "2", "1", "1", "2"}));
    EXPECT_EQ(columnOf(details, "CD_PRODUTO"), (std::vector<std::string>{"MVP-8481-002", "MVP-8481-001", "MVP-7318-003",
                                                                         "MVP-8537-004", "MVP-8537-005"}));
    // The copied addition's lists are written for 004 as well.
    EXPECT_EQ(columnOf(w.rows("DEDUÇÃO_VALORAÇÃO"), "NR_OP_IMP_MICRO"),
              (std::vector<std::string>{"001", "003", "003", "004", "004"}));
    EXPECT_EQ(w.dm.cdsXMLAux.indexFieldNames(), "") << "the order ends with the section";
}

TEST(DiOrientadorTransfer, LongTextsAreWrittenAfterAWarning) {
    DiTransferWorld w;
    SampleDocument d = oneAddition();
    const std::string complement(7801, 'A');
    d.set("/PROCESSOS/PROCESSO/COMPLEMENTARES", complement);
    d.set("/PROCESSOS/PROCESSO/ITEM[ID_ITEM='1']/DESCRICAO", std::string(3901, 'D'));
    w.transfer(d.text());
    const auto warnings = w.op.callsOf("message");
    ASSERT_EQ(warnings.size(), 2u);
    EXPECT_EQ(warnings[0].text, "ATENÇÃO!!!\rO texto contido no campo de informações complementares\rultrapassa 7800 "
                                "caracteres (tamanho atual: 7801 caracteres).\rO TEXTO SERÁ TRANSFERIDO INCOMPLETO!!!");
    EXPECT_EQ(warnings[0].caption, "Pelomira");
    EXPECT_EQ(warnings[0].icon, MessageIcon::Warning);
    EXPECT_EQ(warnings[1].text, "ATENÇÃO!!!\rO texto contido no campo de descrição do item 1\rda DI "
                                "2026001534ultrapassa 3900 caracteres (tamanho atual: 3901 caracteres).\rO TEXTO SERÁ "
                                "TRANSFERIDO INCOMPLETO!!!");
    EXPECT_EQ(warnings[1].icon, MessageIcon::Warning);
    EXPECT_EQ(w.op.callsOf("showMessage").size(), 1u) << "the warnings do not stop the transfer";
    // Both texts are stored whole.
    EXPECT_EQ(w.rows(Head).at(0).at("TX_INFO_COMPL"), complement);
    EXPECT_EQ(w.rows("DETALHE_MERCADORIA").at(0).at("TX_DESC_DET_MERC"), std::string(3901, 'D'));

    // The warning counts the text as sent (7790 letters and 10 "|" are 7800 characters: no warning);
    // each "|" is stored as CR LF.
    w.op.clear();
    std::string broken(7790, 'B');
    for (int i = 0; i < 10; ++i)
        broken.insert(static_cast<std::size_t>(i) * 700, "|");
    d.set("/PROCESSOS/PROCESSO/COMPLEMENTARES", broken);
    d.set("/PROCESSOS/PROCESSO/ITEM[ID_ITEM='1']/DESCRICAO", std::string(3900, 'D'));
    w.transfer(d.text());
    EXPECT_TRUE(w.op.messages().empty());
    const std::string stored = w.rows(Head).at(0).at("TX_INFO_COMPL");
    EXPECT_EQ(stored.substr(0, 2), "\r\n");
    EXPECT_EQ(stored.size(), 7810u);
}

TEST(DiOrientadorTransfer, AFieldThatCannotBeWrittenCostsThatFieldOnly) {
    DiTransferWorld w;
    // Transformation files without IMPORTADOR_TELEFONE; letters for an integer field; a supplier name
    // longer than the Orientador's 60 characters.
    const std::string xtr = w.env.path("xtr");
    std::filesystem::copy(TestEnv::shareFolder() + "/xtr", xtr);
    std::string di = TestEnv::readFile(xtr + "/DI.xtr");
    di.replace(di.find(" IMPORTADOR_TELEFONE"), 20, "");
    TestEnv::writeFile(xtr + "/DI.xtr", di);
    w.settings.write(Settings::Dados, Settings::KeyArqTransform, xtr);
    SampleDocument d(Sample);
    d.set("/PROCESSOS/PROCESSO/ADICAO[ID_ADICAO='002']/NR_PARCELAS", "tres");
    const std::string longName = "Armaturenwerk Hötensleben Gesellschaft mit beschränkter Haftung";
    d.set("/PROCESSOS/PROCESSO/FABR_EXP[ID_FABREXP='2045']/RAZAO_SOCIAL", longName);
    const TransferOutcome outcome = w.transfer(d.text());
    EXPECT_EQ(outcome.status, TransferStatus::TransferredWithFieldErrors);
    EXPECT_EQ(outcome.fieldErrors, 3);

    const auto errors = w.messages(MessageIcon::Error);
    ASSERT_EQ(errors.size(), 3u);
    const std::string headline = "OCORREU UM ERRO NA TRANSFERÊNCIA\rPor favor entre em contato com o suporte técnico\r";
    EXPECT_EQ(errors[0], headline + "Tabela: DECLARAÇÃO_IMPORTAÇÃO / Campo: NR_TEL_IMPORTADOR\rERRO: Campo "
                                    "'IMPORTADOR_TELEFONE' não encontrado no conjunto de registros cdsXMLPrincipal.");
    EXPECT_EQ(errors[1].rfind(headline + "Tabela: OP_ADIÇÃO_DE_IMPORTAÇÃO / Campo: NM_FORN_ESTR\rERRO: ", 0), 0u)
        << errors[1];
    EXPECT_EQ(errors[2].rfind(headline + "Tabela: OP_ADIÇÃO_DE_IMPORTAÇÃO / Campo: QT_PARC_FINANC_360\rERRO: ", 0), 0u)
        << errors[2];
    EXPECT_NE(errors[2].find("tres"), std::string::npos) << errors[2];
    EXPECT_NE(w.errorLog().find("Procedimento: Importando Dados para o SISCOMEX - Erro: Campo 'IMPORTADOR_TELEFONE' "
                                "não encontrado no conjunto de registros cdsXMLPrincipal."),
              std::string::npos);

    // The fields after each failure are written, and the transfer ends as usual.
    const auto head = w.rows(Head).at(0);
    EXPECT_EQ(head.at("NR_TEL_IMPORTADOR"), "");
    EXPECT_EQ(head.at("ED_LOGR_IMPORTADOR"), "Avenida Doutor Sebastião Henrique da Cunha Pontes");
    const auto additions = w.rows(Additions);
    ASSERT_EQ(additions.size(), 3u);
    EXPECT_EQ(additions[0].at("NM_FORN_ESTR"), "");
    EXPECT_EQ(additions[0].at("ED_LOGR_FORN_ESTR"), "Schulstraße ");
    EXPECT_EQ(additions[1].at("QT_PARC_FINANC_360"), "");
    EXPECT_EQ(additions[1].at("CD_PERIOD_PGTO_360"), "1");
    EXPECT_EQ(w.rows("ATO_VINCULADO").size(), 6u);
    EXPECT_EQ(w.op.callsOf("showMessage").size(), 1u);
    EXPECT_NE(w.activityLog().find("Finalizando Importação de Processos para o SISCOMEX (DI: 2026001534)"),
              std::string::npos);
}

TEST(DiOrientadorTransfer, AFailureDropsTheDeclarationWholeAndKeepsItsEarlierVersion) {
    DiTransferWorld w;
    w.transfer(w.sample(Sample));
    std::map<std::string, std::size_t> before;
    for (const auto& t : PreparedTables)
        before[t] = w.rows(t).size();

    // The file refuses tax rows: the transfer again stops in TRIBUTO, after the additions and payments.
    execSql(w.file("IMPORT.MDB"),
            "CREATE TRIGGER recusa BEFORE INSERT ON \"TRIBUTO\" BEGIN SELECT RAISE(ABORT, 'linha recusada'); END");
    w.op.clear();
    TransferOutcome outcome = w.transfer(w.sample(Sample));
    const auto shown = w.op.callsOf("message");
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].caption, "Pelomira");
    EXPECT_EQ(shown[0].icon, MessageIcon::Error);
    const std::string start = "OCORREU UM ERRO NA TRANSFERÊNCIA\rPor favor entre em contato com o suporte "
                              "técnico\r\rProcedimento: Transferindo a tabela TRIBUTO\rERRO: ";
    EXPECT_EQ(shown[0].text.rfind(start, 0), 0u) << shown[0].text;
    EXPECT_NE(shown[0].text.find("linha recusada"), std::string::npos) << shown[0].text;
    EXPECT_NE(w.errorLog().find("Procedimento: Transferindo a tabela TRIBUTO - Erro: "), std::string::npos);
    EXPECT_FALSE(w.op.progressIsOpen());
    EXPECT_TRUE(w.op.callsOf("showMessage").empty());
    EXPECT_EQ(w.activityLog().find("Finalizando Importação de Processos para o SISCOMEX (DI: 2026001534)",
                                   w.activityLog().rfind("Iniciando")),
              std::string::npos);
    EXPECT_EQ(outcome.status, TransferStatus::Failed);
    EXPECT_TRUE(outcome.transferred.empty());
    EXPECT_NE(outcome.failure.find("linha recusada"), std::string::npos);
    // Neither the new version nor a gap: the earlier declaration is there as it was, every table of it.
    for (const auto& t : PreparedTables) {
        const auto rows = w.rows(t);
        EXPECT_EQ(rows.size(), before[t]) << t;
        for (const auto& r : rows)
            EXPECT_EQ(r.at("NR_DECL_IMP_MICRO"), microNumber(1)) << t;
    }
    expectSampleDeclaration(w, microNumber(1));

    // A number that does not convert stops the second declaration: the first one is whole, nothing of the
    // second was written, and the run says so.
    execSql(w.file("IMPORT.MDB"), "DROP TRIGGER recusa");
    w.op.clear();
    SampleDocument two("DI_DUAS_DECLARACOES.xml");
    two.set("/PROCESSOS/PROCESSO[ID_PROCESSO='222']/VIA_TRANSPORTE", "aéreo");
    outcome = w.transfer(two.text());
    // The way's own field is refused first (one field); reading it as a number then ends the run.
    ASSERT_EQ(w.op.messages().size(), 2u);
    EXPECT_NE(w.op.messages()[0].find("Campo: CD_VIA_TRANSP_CARG"), std::string::npos);
    EXPECT_EQ(w.op.messages()[1],
              "OCORREU UM ERRO NA TRANSFERÊNCIA\rPor favor entre em contato com o suporte técnico\r\rProcedimento: "
              "Transferindo a tabela DECLARAÇÃO_IMPORTAÇÃO\rERRO: VIA_TRANSPORTE do processo 222 inválido: 'aéreo' "
              "não é um número inteiro");
    EXPECT_EQ(columnOf(w.rows(Head), "NR_IDENT_USUARIO"), (std::vector<std::string>{"2026001534", "111"}));
    EXPECT_EQ(w.rows("DETALHE_MERCADORIA").size(), 10u) << "the sample's items and 111's, none of 222";
    EXPECT_EQ(outcome.status, TransferStatus::Failed);
    EXPECT_EQ(outcome.transferred, (std::vector<std::string>{"111"}));
    EXPECT_EQ(outcome.fieldErrors, 1);

    // A table missing from the file stops the preparation: 111 is not removed half way.
    execSql(w.file("IMPORT.MDB"), "DROP TABLE \"ATO_VINCULADO\"");
    w.op.clear();
    w.transfer(w.sample("DI_DUAS_DECLARACOES.xml"));
    ASSERT_EQ(w.op.messages().size(), 1u);
    EXPECT_EQ(w.op.messages()[0],
              "OCORREU UM ERRO NA TRANSFERÊNCIA\rPor favor entre em contato com o suporte técnico\r\rProcedimento: "
              "Verificando dados da tabela ATO_VINCULADO\rERRO: A tabela ATO_VINCULADO não existe no arquivo "
              "IMPORT.MDB do Orientador - SISCOMEX");
    EXPECT_NE(w.errorLog().find("Procedimento: Verificando dados da tabela ATO_VINCULADO - Erro: A tabela "
                                "ATO_VINCULADO não existe"),
              std::string::npos);
    EXPECT_EQ(columnOf(w.rows(Head), "NR_IDENT_USUARIO"), (std::vector<std::string>{"2026001534", "111"}));
    EXPECT_EQ(w.rows("DETALHE_MERCADORIA").size(), 10u);
    EXPECT_FALSE(w.op.progressIsOpen());
}

TEST(DiOrientadorTransfer, TheClosingWindowStartsTheOrientadorProgram) {
    DiTransferWorld w;
    const SampleDocument d = headOnly();
    w.transfer(d.text(), 1);
    auto started = w.op.callsOf("openWithSystem");
    ASSERT_EQ(started.size(), 1u);
    EXPECT_EQ(started[0].text, w.folder + "/DI.EXE");
    EXPECT_EQ(started[0].extra, (std::vector<std::string>{"", w.folder}));
    EXPECT_TRUE(w.op.messages().empty());

    // The program file is found whatever its case; one that cannot start is reported.
    TestEnv::writeFile(w.folder + "/di.exe", "MZ");
    w.op.clear();
    w.op.failOpenWith("não é um programa que possa ser executado neste sistema");
    const TransferOutcome outcome = w.transfer(d.text(), 1);
    EXPECT_EQ(outcome.status, TransferStatus::Transferred) << "the declaration went through all the same";
    EXPECT_TRUE(outcome.programStartFailed);
    started = w.op.callsOf("openWithSystem");
    ASSERT_EQ(started.size(), 1u);
    EXPECT_EQ(started[0].text, w.folder + "/di.exe");
    ASSERT_EQ(w.op.messages().size(), 1u);
    EXPECT_EQ(w.op.messages()[0], "Não foi possível abrir o Orientador - SISCOMEX\rVerifique se o mesmo está "
                                  "instalado e se a pasta de instalação\restá informada corretamente nas "
                                  "configurações do PELOMIRA");
    EXPECT_NE(w.errorLog().find("não é um programa que possa ser executado"), std::string::npos);
    const std::string log = w.activityLog();
    std::size_t closingLines = 0;
    for (auto at = log.find("Finalizando"); at != std::string::npos; at = log.find("Finalizando", at + 1))
        ++closingLines;
    EXPECT_EQ(closingLines, 2u) << "one closing line per run, whether the program started or not";
}

TEST(DiOrientadorTransfer, RunsBusyAndNoConfirmationWritesNothing) {
    // Notes what the alert timer would see while the question is open.
    struct BusyProbe : ScriptedOperator {
        std::string running;
        bool askYesNo(const std::string& text, const std::string& caption, MessageIcon icon) override {
            running = BusyGuard::operation();
            return ScriptedOperator::askYesNo(text, caption, icon);
        }
    };
    DiTransferWorld w;
    BusyProbe probe;
    probe.queueYesNo(false);
    AppContext ctx{*w.platform, probe, w.settings, w.logs, w.dm};
    EXPECT_EQ(importProcessToOrientador(ctx, w.sample(Sample), w.transfers).status, TransferStatus::NotConfirmed);
    EXPECT_EQ(probe.running, "Transferência de DI para o Orientador - SISCOMEX");
    EXPECT_FALSE(BusyGuard::busy());
    EXPECT_EQ(probe.calls().size(), 1u) << "nothing after the No";
    EXPECT_TRUE(w.op.callsOf("progressOpen").empty());
    EXPECT_TRUE(w.op.callsOf("showMessage").empty());
    EXPECT_TRUE(w.op.messages().empty());
    EXPECT_TRUE(w.rows(Head).empty());
    EXPECT_EQ(w.activityLog().find("Finalizando"), std::string::npos);
}
