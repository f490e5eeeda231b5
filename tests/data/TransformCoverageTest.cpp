// The transformation files must give every field and nested set the transfers and the registry
// import read. The lists below are taken from their mapping tables; each is checked against what the
// transformations make of the sample documents: the field exists and at least one sample fills it.
#include "TestEnv.h"
#include "data/RecordTable.h"
#include "data/XmlDocument.h"
#include "data/XmlTransform.h"

#include <gtest/gtest.h>

#include <set>
#include <sstream>

namespace {

struct Requirement {
    const char* transform;
    const char* set; // path of nested set names below the rows, "" for the rows themselves
    const char* fields;
};

const char* const AdditionFields =
    "ID_ADICAO NR_LI QTDE_MEDIDA_ESTAT APLICACAO_MERC INCOTERM LOCAL_VENDA VALORACAO VINCULO_IMPEXP "
    "VMLE_MNEG VMLE_REAL FRETE_MNEG FRETE_REAL SEGURO_MNEG SEGURO_REAL BASE_CALCULO TIPO CODIGO "
    "REGIME_TRIB1 FUNDAMENTO_LEGAL1 MOT_ADMISSAO_TEMP REGIME_TRIB2 FUNDAMENTO_LEGAL2 FUND_LEGAL_RED_BASE "
    "REDUCAO_BASE PERC_REDUCAO COBERTURA_CAMBIAL MODALIDADE_PGTO INST_FINANC MOTIVO_SEMCOB NR_PARCELAS "
    "IND_PERIODICIDADE PERIODICIDADE VR_TOTAL VR_TAXAJUROS ID_TAXAJUROS VR_ROF NR_ROF PERC_COMISSAO "
    "ID_AGENTE BANCO AGENCIA CONDICAO_MERC COMPLEMENTO BENEFICIO_IPI ALIQ_ICMS TIPO_CALC_ICMS "
    "ALIQ_ICMS_ADIC PERC_RED_ICMS COMUNIC_CAT68 TIPO_CERTIFICADO "
    "ATOLEGAL_ANTIDUMP_TIPO ATOLEGAL_ANTIDUMP_ORGAO ATOLEGAL_ANTIDUMP_ANO ATOLEGAL_ANTIDUMP_NUMERO "
    "ATOLEGAL_ANTIDUMP_EX ATOLEGAL_REGTRIB_TIPO ATOLEGAL_REGTRIB_ORGAO ATOLEGAL_REGTRIB_ANO "
    "ATOLEGAL_REGTRIB_NUMERO ATOLEGAL_REGTRIB_EX ATOLEGAL_ACORDO_TIPO ATOLEGAL_ACORDO_ORGAO "
    "ATOLEGAL_ACORDO_ANO ATOLEGAL_ACORDO_NUMERO ATOLEGAL_ACORDO_EX ATOLEGAL_NBM_TIPO ATOLEGAL_NBM_ORGAO "
    "ATOLEGAL_NBM_ANO ATOLEGAL_NBM_NUMERO ATOLEGAL_NBM_EX ATOLEGAL_NCM_TIPO ATOLEGAL_NCM_ORGAO "
    "ATOLEGAL_NCM_ANO ATOLEGAL_NCM_NUMERO ATOLEGAL_NCM_EX";

const Requirement Requirements[] = {
    // The main record: checks of the load, the head rows of DI, LI, DSI and LSI, the NORVIK header.
    {"DI.xtr", "",
     "ID_PROCESSO TIPO_PROCESSO MENSAGEM REF_IMPORTADOR DATA_BASE_CALCULO TIPO_DECLARACAO "
     "IMPORTADOR_TIPO IMPORTADOR_CNPJ_CPF IMPORTADOR_PAIS IMPORTADOR_RAZAO_SOCIAL IMPORTADOR_TELEFONE "
     "IMPORTADOR_LOGRADOURO IMPORTADOR_NUMERO IMPORTADOR_COMPLEMENTO IMPORTADOR_BAIRRO IMPORTADOR_MUNICIPIO "
     "IMPORTADOR_UF IMPORTADOR_CEP IMPORTADOR_ATIV_FEDERAL MODALIDADE FUNDAP URF_ENTRADA URF_DESPACHO "
     "TIPO_OPERACAO CONSIGNATARIO_CNPJ_CPF PROCEDENCIA VIA_TRANSPORTE MULTIMODAL VEICULO_PLACA VEICULO_NOME "
     "BANDEIRA TRANSPORTADOR_TIPO TRANSPORTADOR_CNPJ_CPF TRANSPORTADOR_RAZAO_SOCIAL TRANSPORTADOR_LOGRADOURO "
     "TRANSPORTADOR_NUMERO TRANSPORTADOR_COMPLEMENTO TRANSPORTADOR_BAIRRO TRANSPORTADOR_MUNICIPIO "
     "TRANSPORTADOR_UF TRANSPORTADOR_CEP TRANSPORTADOR_PAIS TRANSPORTADOR_INSCR_ESTADUAL TRANSPORTADOR_TELEFONE "
     "AGENTE_TIPO AGENTE_CNPJ_CPF AGENTE_RAZAO_SOCIAL AGENTE_LOGRADOURO AGENTE_NUMERO AGENTE_COMPLEMENTO "
     "AGENTE_BAIRRO AGENTE_MUNICIPIO AGENTE_UF AGENTE_CEP AGENTE_INSCR_ESTADUAL AGENTE_TELEFONE "
     "CONHECIMENTO_TIPO NIC HOUSE MASTER LOCAL_EMBARQUE DATA_EMBARQUE DATA_CHEGADA UTILIZACAO "
     "DOC_CHEGADA_TIPO DOC_CHEGADA_NUMERO LOCAL_DESEMB UF_DESEMB RECINTO SETOR PREPAID COLLECT TERRIT_NACIONAL "
     "FRETE_MOEDA FRETE_TOTAL_MNEG FRETE_TOTAL_REAL SEGURO_MOEDA SEGURO_TOTAL_MNEG SEGURO_TOTAL_REAL "
     "VMLE_MOEDA VMLE_TOTAL_MNEG VMLE_TOTAL_REAL PESO_BRUTO PESO_LIQUIDO II_CALCULADO II_RECOLHIDO "
     "IPI_CALCULADO IPI_RECOLHIDO PIS_CALCULADO PIS_RECOLHIDO COFINS_CALCULADO COFINS_RECOLHIDO "
     "TIPO_PAGAMENTO NR_BANCO ID_AGENCIA NR_CONTA COMPLEMENTARES NR_DI DATA_DI"},
    // Lists of the process.
    {"DI.xtr", "PROC_VINCULADO", "TIPO_PROCESSO1 ID_PROCESSO1"},
    {"DI.xtr", "DOCUMENTO", "TIPO_DOCTO ID_DOCTO"},
    {"DI.xtr", "VOLUMES", "EMBALAGEM QUANTIDADE"},
    {"DI.xtr", "NR_ARMAZEM", "NUMERO"},
    {"DI.xtr", "PAGAMENTO", "ID_TRIBUTO VALOR DATA"},
    {"DI.xtr", "DEE", "NUMERO ITEM_INICIAL ITEM_FINAL"},
    {"DI.xtr", "LANCAMENTO",
     "LANCAMENTO_DESCRICAO LANCAMENTO_VALOR LANCAMENTO_EFETIVO LANCAMENTO_DATA_PGTO LANCAMENTO_ADIANTADO "
     "LANCAMENTO_PAGO_POR LANCAMENTO_VENCIMENTO"},
    // Additions read through the main record (addition rows, legal acts, the NORVIK additions).
    {"DI.xtr", "ADICAO", AdditionFields},
    // Items: addition summary, goods details of DI, LI, DSI and LSI, NORVIK items.
    {"DI.xtr", "ITEM",
     "ID_ITEM ID_ADICAO ID_LI NR_LI COD_PRODUTO DESCRICAO NCM NBM NALADI_NCCA NALADI_SH PAIS_ORIGEM ID_FABRIC "
     "ID_EXPORT MOEDA_NEGOCIADA QUANTIDADE UNIDADE UNITARIO_CVENDA TOTAL_CVENDA PESO_LIQUIDO NR_PO ITEM_PO "
     "NR_INVOICE ITEM_INVOICE CONTAINER PLANTA CFOP"},
    // Licences of LI and LSI.
    {"DI.xtr", "DADOS_LI",
     "ID_LI MENSAGEM ESTATISTICA_QTDE LIMITE_DIAS INCOTERM VMLE ACORDO_LI_TIPO ACORDO_LI_CODIGO REGIME_TRIB "
     "FUND_LEGAL COBERTURA MODALIDADE INST_FINANC MOTIVO_SEMCOB AGENCIA_SECEX CONDICAO_MERC AUTO_DRAWBACK "
     "REG_DRAWBACK ATO_DRAWBACK COMUNIC_COMPRA COMPLEMENTARES"},

    // Additions with their lists.
    {"ADICAO.xtr", "", "ID_PROCESSO"},
    {"ADICAO.xtr", "ADICAO", AdditionFields},
    {"ADICAO.xtr", "ADICAO/DEDUCAO", "ID_DESPESA VALOR_MNEG MOEDA VALOR_REAL"},
    {"ADICAO.xtr", "ADICAO/PARC_VARIAVEIS", "MES_ANO VR_PARCELA"},
    {"ADICAO.xtr", "ADICAO/DESTAQUE_NCM", "NUMERO"},
    {"ADICAO.xtr", "ADICAO/ACRESCIMO", "ID_DESPESA VALOR_MNEG MOEDA VALOR_REAL"},
    {"ADICAO.xtr", "ADICAO/ITEM_NVE", "NIVEL ATRIBUTO ESPECIFICACAO"},
    {"ADICAO.xtr", "ADICAO/ITEM_DEE",
     "DE_MERCOSUL RE_INICIAL RE_FINAL PAIS_CERTIFICADO DI_CERTIFICADO ITEM_CERTIFICADO QT_UNIDADE_MERCOSUL"},
    {"ADICAO.xtr", "ADICAO/A_VISTA", "MOEDA_NACIONAL BANCO PRACA NR_CONTRATO VR_VINCULADO ID_COMPRADOR"},
    {"ADICAO.xtr", "ADICAO/ANTECIPADO", "MOEDA_NACIONAL BANCO PRACA NR_CONTRATO VR_VINCULADO ID_COMPRADOR"},
    {"ADICAO.xtr", "ADICAO/TRIBUTO",
     "ID_TRIBUTO TIPO_ALIQUOTA BASE_CALCULO ALIQ_NORMAL ALIQ_REDUZIDA PERC_REDUCAO ALIQ_ACORDO VR_CALCULADO "
     "VR_ACORDO VR_DEVIDO VR_RECOLHER VR_ESPECIF QTDE_UNID_ESPECIF UNIDADE_ESPECIF TIPO_RECIPIENTE "
     "CAPACIDADE_RECIP NR_NOTA_COMPL_TIPI"},
    {"ADICAO.xtr", "ADICAO/DOC_VINCULADO", "TIPO NUMERO"},

    {"FABR_EXP.xtr", "", "ID_FABREXP RAZAO_SOCIAL LOGRADOURO NUMERO COMPLEMENTO CIDADE ESTADO PAIS"},
    {"DADOS_LI.xtr", "", "ID_PROCESSO"},
    {"DADOS_LI.xtr", "DADOS_LI", "ID_LI"},
    {"DADOS_LI.xtr", "DADOS_LI/DESTAQUE_NCM", "NUMERO"},
    {"DADOS_LI.xtr", "DADOS_LI/PROC_ANUENTE", "ID_PROCESSO TIPO"},
    {"INFO_DRAW.xtr", "", "ID_PROCESSO"},
    {"INFO_DRAW.xtr", "ITEM", "NR_ITEM QTDE_PRODUTO VMLE_PRODUTO"},
    {"TAXAS.xtr", "", "MOEDA TAXA"},

    // Registry import.
    {"INTEGR_UNIDADE.XTR", "", "K_COD_UNIDAD DESC_UNIDAD"},
    {"INTEGR_PAIS.XTR", "", "K_COD_PAIS NOM_PAIS"},
    {"INTEGR_EXPORT.XTR", "", "K_COD_IMPEXP NOM_IMPEXP"},
    {"INTEGR_FABRIC.XTR", "", "K_COD_IMPEXP NOM_IMPEXP"},
};

// The samples each transformation is read with.
std::vector<std::string> samplesFor(const std::string& transform) {
    if (transform == "DI.xtr")
        return {"DI_VARIAS_ADICOES.xml", "DI_DUAS_DECLARACOES.xml", "LI_DUAS_LICENCAS.xml", "DSI.xml", "LSI.xml"};
    if (transform == "ADICAO.xtr")
        return {"DI_VARIAS_ADICOES.xml", "DSI.xml"};
    if (transform == "FABR_EXP.xtr")
        return {"DI_VARIAS_ADICOES.xml", "LI_DUAS_LICENCAS.xml"};
    if (transform == "DADOS_LI.xtr")
        return {"LI_DUAS_LICENCAS.xml", "LSI.xml"};
    if (transform == "INFO_DRAW.xtr")
        return {"LI_DUAS_LICENCAS.xml"};
    if (transform == "TAXAS.xtr")
        return {"DI_VARIAS_ADICOES.xml"};
    if (transform == "INTEGR_UNIDADE.XTR")
        return {"UNIDADES.xml"};
    if (transform == "INTEGR_PAIS.XTR")
        return {"PAISES.xml"};
    if (transform == "INTEGR_EXPORT.XTR")
        return {"EXPORTADORES.xml"};
    return {"FABRICANTES.xml"};
}

std::vector<std::string> words(const std::string& text, char separator = ' ') {
    std::vector<std::string> out;
    std::istringstream in(text);
    std::string w;
    while (std::getline(in, w, separator))
        if (!w.empty())
            out.push_back(w);
    return out;
}

// Every table at the path of nested sets below the rows (all rows of all levels).
void tablesAt(const std::shared_ptr<RecordTable>& table, const std::vector<std::string>& path, std::size_t step,
              std::vector<std::shared_ptr<RecordTable>>& out) {
    if (step == path.size()) {
        out.push_back(table);
        return;
    }
    const auto* f = table->schema()->find(path[step]);
    ASSERT_NE(f, nullptr) << "no nested set " << path[step];
    ASSERT_EQ(f->kind, RecordSchema::Kind::Nested) << path[step] << " is not a nested set";
    for (std::size_t r = 0; r < table->size(); ++r)
        if (const auto& n = table->row(r).nested(f->slot))
            tablesAt(n, path, step + 1, out);
}

} // namespace

TEST(TransformCoverageTest, TransformsYieldEveryFieldTheTransfersRead) {
    const std::string xtrFolder = TestEnv::shareFolder() + "/xtr/";
    const std::string samples = TestEnv::shareFolder() + "/samples/";
    for (const Requirement& req : Requirements) {
        SCOPED_TRACE(std::string(req.transform) + " " + req.set);
        const auto transform = XmlTransform::loadFile(xtrFolder + req.transform);
        const auto path = words(req.set, '/');
        std::set<std::string> filled;
        std::size_t rows = 0;
        bool schemaChecked = false;
        for (const std::string& sample : samplesFor(req.transform)) {
            const auto top = transform->apply(*XmlDocument::loadFile(samples + sample));
            std::vector<std::shared_ptr<RecordTable>> tables;
            tablesAt(top, path, 0, tables);
            for (const auto& table : tables) {
                if (!schemaChecked) {
                    for (const std::string& field : words(req.fields)) {
                        const auto* f = table->schema()->find(field);
                        EXPECT_TRUE(f && f->kind == RecordSchema::Kind::Value) << "missing field " << field;
                    }
                    schemaChecked = true;
                }
                rows += table->size();
                for (std::size_t r = 0; r < table->size(); ++r)
                    for (const std::string& field : words(req.fields))
                        if (const auto* f = table->schema()->find(field); f && !table->row(r).isNull(f->slot))
                            filled.insert(field);
            }
        }
        EXPECT_GT(rows, 0u) << "the samples give no rows here";
        for (const std::string& field : words(req.fields))
            EXPECT_TRUE(filled.count(field)) << "no sample fills " << field;
    }
}

TEST(TransformCoverageTest, SampleDocumentsHoldWhatTheyPromise) {
    const std::string xtr = TestEnv::shareFolder() + "/xtr/";
    const std::string samples = TestEnv::shareFolder() + "/samples/";
    const auto di = XmlTransform::loadFile(xtr + "DI.xtr");

    // Several additions, items of several additions; manufacturers equal to, different from and
    // missing beside the exporter.
    const auto main = di->apply(*XmlDocument::loadFile(samples + "DI_VARIAS_ADICOES.xml"));
    ASSERT_EQ(main->size(), 1u);
    const auto* itemField = main->schema()->find("ITEM");
    const auto items = main->row(0).nested(itemField->slot);
    const auto& itemSchema = *items->schema();
    std::set<std::string> additions;
    bool same = false, different = false, none = false;
    for (std::size_t r = 0; r < items->size(); ++r) {
        const auto& row = items->row(r);
        additions.insert(std::string(row.value(itemSchema.find("ID_ADICAO")->slot)));
        const std::string fab(row.value(itemSchema.find("ID_FABRIC")->slot));
        const std::string exp(row.value(itemSchema.find("ID_EXPORT")->slot));
        same = same || fab == exp;
        different = different || (!fab.empty() && fab != exp);
        none = none || fab.empty();
    }
    EXPECT_GE(additions.size(), 3u);
    EXPECT_TRUE(same && different && none);

    EXPECT_EQ(di->apply(*XmlDocument::loadFile(samples + "DI_DUAS_DECLARACOES.xml"))->size(), 2u);
    const auto li = di->apply(*XmlDocument::loadFile(samples + "LI_DUAS_LICENCAS.xml"));
    EXPECT_EQ(li->row(0).nested(li->schema()->find("DADOS_LI")->slot)->size(), 2u);

    const auto kind = [&](const std::string& file) {
        const auto t = di->apply(*XmlDocument::loadFile(samples + file));
        return std::string(t->row(0).value(t->schema()->find("TIPO_PROCESSO")->slot));
    };
    EXPECT_EQ(kind("DI_VARIAS_ADICOES.xml"), "1");
    EXPECT_EQ(kind("LI_DUAS_LICENCAS.xml"), "2");
    EXPECT_EQ(kind("DSI.xml"), "3");
    EXPECT_EQ(kind("LSI.xml"), "4");

    const auto impeded = di->apply(*XmlDocument::loadFile(samples + "PROCESSO_IMPEDIDO.xml"));
    EXPECT_FALSE(impeded->row(0).value(impeded->schema()->find("MENSAGEM")->slot).empty());
    const auto noId = di->apply(*XmlDocument::loadFile(samples + "SEM_ID_PROCESSO.xml"));
    EXPECT_TRUE(noId->row(0).isNull(noId->schema()->find("ID_PROCESSO")->slot));
}
