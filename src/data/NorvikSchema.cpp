#include "data/NorvikSchema.h"

#include "base/AppError.h"

#include <cctype>
#include <sstream>

namespace {

// Fields as "NAME TYPE LENGTH[.DECIMALS]" separated by ";", indices as "FILE=EXPRESSION" separated by "|".
struct Layout {
    const char* base;
    const char* fields;
    const char* indices;
};

// Character fields hold what the process document gives, with room to spare; amounts have two
// decimals, weights and quantities five, rates seven. A name given twice counts once.
const Layout Layouts[] = {
    {"RIREGI",
     "REGISTRO C 12;DATA D 8;DATAABERT D 8;DH_ALTERA C 14;RRRFLA C 1;IMPORTADOR C 6;REFERENCIA C 20;NR_DI C 10;"
     "CALCULADO C 1;DATA_DI C 10;TIPODECL C 2;MODALIDADE C 1;FUNDAP C 3;URF_ENTR C 7;URF_DESP C 7;PAIS_PROC C 3;"
     "VIA_TRANSP C 2;MULTIMODAL C 1;VEICULO C 30;PLACA C 15;BANDEIRA C 3;TIPO_DOCS C 2;HOUSE C 18;NUMERO C 18;"
     "COD_IDENT C 36;LOCAL_EMB C 50;EMISSAO D 8;UTILIZ C 1;PESO_BRUTO N 15.5;PESO_LIQ N 15.5;CHEGADA D 8;"
     "TIPO_MANIF C 1;IDENTIF C 15;SETOR C 3;MOEDA_FRT C 3;PREPAID N 15.2;COLLECT N 15.2;TERRIT N 15.2;FRETE N 15.2;"
     "FRT_US N 15.2;FRT_REAL N 15.2;MOEDA_SEG C 3;SEGURO N 15.2;SEG_US N 15.2;SEG_REAL N 15.2;MOEDA_FOB C 3;"
     "FOB N 15.2;FOB_US N 15.2;FOB_REAL N 15.2;TII_DEV N 15.2;TII_REC N 15.2;TIPI_DEV N 15.2;TIPI_REC N 15.2;"
     "VR_PIS N 15.2;VR_COFINS N 15.2;COMPLREG M 10;ARMAZEM C 3;ARM_NROS C 50;CODTRANSP C 3;NOMETRANSP C 62;"
     "AGENTE C 3;ICMS_CTRL C 2;ULTITEM C 5;QTADICAO C 3;ACRESC C 1;ACR_REAL N 15.2;DEDUC C 1;DED_REAL N 15.2;"
     "ICMS C 1;ICMS_PE N 6.2;DEDUC C 1;TIPO_CAD C 1;FOBDVS C 1;MULTA C 1;SINDICATO C 1;TIPORAT C 1;RATFRETE C 1;"
     "ATUAL_WEB C 1;PROCESSO C 1",
     "RIREGI.NTX=UPPER(REGISTRO)|RIFOLL.NTX=IMPORTADOR+UPPER(REFERENCIA)"},
    {"RITAXA", "CODIGO C 3;DATA D 8;TX_REAL N 16.7;TX_US N 16.7", "RITAXA.NTX=CODIGO+DTOS(DATA)"},
    {"RIIMPO",
     "CODIGO C 6;CGCCPF C 14;NOME_RES C 15;NOME1 C 30;NOME2 C 30;ENDER C 70;COMPLEM C 40;CIDADE C 40;UF C 2;"
     "PAIS C 3",
     "RIIMPO.NTX=CODIGO|RICGCS.NTX=CGCCPF"},
    {"RIARZE", "CODIGO C 3;DESCRICAO C 60;RECINTO C 7;NUMERO C 10;UF C 2;SETOR C 3;URF_DESP C 7", "RIARZE.NTX=CODIGO"},
    {"RITRAN",
     "CODIGO C 3;NOME_RES C 15;NOME1 C 31;NOME2 C 31;ENDER C 60;NUMERO C 10;COMPLEMENT C 40;BAIRRO C 40;"
     "CIDADE C 40;UF C 2;CEP C 8;CGCCPF C 14;INSCR_EST C 20;TELEFONE C 20;PESSOA C 1;PAIS C 3",
     "RITRAN.NTX=CODIGO"},
    {"RIDESP", "CODIGO C 4;DESCRICAO C 40", "RIDESP.NTX=CODIGO"},
    {"RICUST",
     "REGISTRO C 12;COD_DESP C 4;VALOR N 15.2;TIPORATEIO C 1;EFETIVO C 1;DATA_PGTO D 8;ADIANTADO C 1;"
     "PAGO_POR C 1;VENCTO D 8",
     "RICUST.NTX=UPPER(REGISTRO)+COD_DESP"},
    {"RIREG2", "REGISTRO C 12;TIPO C 2;RECEITA C 4;BANCO C 5;AGENCIA C 5;PGTO C 1;CONTA C 15;VALOR N 15.2",
     "RIREG2.NTX=UPPER(REGISTRO)"},
    {"RIREG3", "REGISTRO C 12;TIPO C 2;NUMERO C 30", "RIREG3.NTX=UPPER(REGISTRO)"},
    {"RIREG4", "REGISTRO C 12;TIPO C 2;QTDE N 10.0", "RIREG4.NTX=UPPER(REGISTRO)"},
    {"RIREG5", "REGISTRO C 12;TIPO C 2;NUMERO C 20", "RIREG5.NTX=UPPER(REGISTRO)"},
    {"RIREG6",
     "REGISTRO C 12;IDENTIF C 2;TIPO C 2;DOCTO C 5;TIPOCALC C 1;MOEDA C 3;VALOR N 15.2;VR_REAL N 15.2;"
     "VR_US N 15.2;VR_FATURA N 15.2",
     "RIREG6.NTX=UPPER(REGISTRO)+IDENTIF"},
    {"RIADIC",
     "REGISTRO C 12;ADICAO C 3;NALADISH C 8;NALADINC C 8;RATFRETE C 1;NR_LI C 10;FABREXP C 1;FABRIC C 4;"
     "EXPORT C 4;NCM C 8;PAIS_ORIG C 3;IEVINC C 1;PESO N 15.5;QTDE N 15.5;UNIDADE C 3;APLMERC C 1;FOB N 15.2;"
     "FOB_REAL N 15.2;FOB_US N 15.2;MOEDA_FOB C 3;INCOTERM C 3;LOCVENDA C 40;CIF_US N 15.2;CIF_REAL N 15.2;"
     "FRETE N 15.2;FRT_REAL N 15.2;FRT_US N 15.2;SEGURO N 15.2;SEG_REAL N 15.2;SEG_US N 15.2;VALORACAO C 2;"
     "ACORDO_SN C 1;ACORDO C 3;ALADI C 4;REGTRIB C 1;DISPLEG C 3;MOR_ADMTMP C 3;IIPREDUZ N 7.2;CAMBIO C 1;"
     "MODALIDADE C 2;INSTFINANC C 2;MOT_SCOB C 2;PARCELAS N 4.0;INDPERIOD C 1;PERIODIC N 5.0;VTPAGTO N 15.2;"
     "TAXAJUROS N 12.5;CODTXJUROS C 4;VRROF N 15.2;ROF C 10;PERCAGEN N 7.2;BANCO C 5;AGENCIA C 5;COND_SN C 1;"
     "CONDMERC C 1;TXTCOMPL1 C 50;TXTCOMPL2 C 50;TXTCOMPL3 C 50;TXTCOMPL4 C 50;TXTCOMPL5 C 50;ICMS C 1;"
     "ICMS_PE N 7.2;ICMS_RED N 7.2;FREDPISCOF C 3;FUNDPISCOF C 3;RECPISCOF C 1;FORMA_PG1 L 1;FORMA_PG2 L 1;"
     "FORMA_PG3 L 1;FATURA C 5;IIADVAL N 7.2;IICALC N 15.2;IIREDUZ N 7.2;IIACORDO N 7.2;IIRED N 15.2;"
     "IIDEV N 15.2;IIREC N 15.2;IPI_COMPL C 10;IPIADVAL N 7.2;IPIESP_UN C 20;IPIESP_CP N 12.3;IPIESP_TP C 2;"
     "IPIESP_QT N 15.5;IPIESP_TOT N 15.2;IPIDEV N 15.2;IPIREC N 15.2;BENEFIPI C 2;CD_TIPO_BE C 1;ATDESP_AL N 7.2;"
     "ATDESP_UN C 20;ATDESP_VR N 15.2;ATDESP_TOT N 15.2;PE_PIS N 7.2;PISALIQRED N 7.2;PIS_CALC N 15.2;"
     "PIS_REDUZ N 15.2;PIS_DEVIDO N 15.2;VR_PIS N 15.2;PISESP_VR N 15.2;PISESP_QT N 15.5;PISESP_UN C 20;"
     "PE_COFINS N 7.2;COFALIQRED N 7.2;COF_CALC N 15.2;COF_REDUZ N 15.2;COF_DEVIDO N 15.2;VR_COFINS N 15.2;"
     "COFESP_VR N 15.2;COFESP_QT N 15.5;COFESP_UN C 20",
     "RIADIC.NTX=UPPER(REGISTRO)+ADICAO"},
    {"RIADI2", "REGISTRO C 12;ADICAO C 3;TIPO C 2;NUMERO C 30", "RIADI2.NTX=UPPER(REGISTRO)+ADICAO"},
    {"RIADI3", "REGISTRO C 12;ADICAO C 3;ASSUNTO C 1;TIPO C 10;ORGAO C 10;ANO C 4;NRO C 10;EX C 3",
     "RIADI3.NTX=UPPER(REGISTRO)+ADICAO"},
    {"RIADI4", "REGISTRO C 12;ADICAO C 3;SEQ C 2;NUMERO C 5", "RIADI4.NTX=UPPER(REGISTRO)+ADICAO+SEQ"},
    {"RIADI5",
     "REGISTRO C 12;ADICAO C 3;IDENTIF C 2;TIPOCALC C 1;TIPO C 2;MOEDA C 3;VALOR N 15.2;VR_REAL N 15.2;"
     "VR_US N 15.2;VR_FATURA N 15.2",
     "RIADI5.NTX=UPPER(REGISTRO)+ADICAO+IDENTIF"},
    {"RIADI6", "REGISTRO C 12;ADICAO C 3;NIVEL C 2;ATRIBUTO C 5;ESPECIF C 10", "RIADI6.NTX=UPPER(REGISTRO)+ADICAO"},
    {"RIITDE",
     "REGISTRO C 12;ADICAO C 3;DEE_NUMERO C 15;DEE_DE C 5;DEE_ATE C 5;CO_PAIS C 3;CO_NUMERO C 20;CO_ITEM C 5;"
     "CO_QTDE_ME N 15.5",
     "RIITDE.NTX=UPPER(REGISTRO)+ADICAO"},
    {"RICAMB",
     "REGISTRO C 12;ADICAO C 3;IDENTIF C 2;REAL C 1;BANCO C 5;PRACA C 5;CONTRATO C 20;VALOR N 15.2;"
     "COMPRADOR C 14;TP_COMPR C 1",
     "RICAMB.NTX=UPPER(REGISTRO)+ADICAO"},
    {"RIPARC", "REGISTRO C 12;ADICAO C 3;MES C 2;VALOR N 15.2", "RIPARC.NTX=UPPER(REGISTRO)+ADICAO"},
    {"RIFABR",
     "CODIGO C 4;NOME_RES C 15;NOME C 60;ENDERECO C 40;NUMERO C 6;COMPLEM C 21;CIDADE C 40;ESTADO C 30;PAIS C 3;"
     "CODAUX C 20",
     "RIFABR.NTX=CODIGO|RIFAB1.NTX=UPPER(NOME)|RIFAB2.NTX=CODAUX"},
    {"RIITEM",
     "REGISTRO C 12;SEQITEM N 5.0;ADICAO C 3;ITEM C 5;DESCRICAO M 10;QTDE N 15.5;UNIDADE C 3;PRODUTO C 30;"
     "NR_LI C 10;PAIS_ORIG C 3;NBM C 10;NCM C 8;MOEDA C 3;PESOTOT N 15.5;PESOUNIT N 15.5;FOBUNIT N 18.7;"
     "FOBTOT N 15.2;PEDIDO C 20;AUXILIAR2 C 10;AUXILIAR3 C 20;AUXILIAR5 C 10;CONTAINER C 15;AUXILIAR4 C 10;"
     "NAT_OPER C 5;FABRIC C 4;EXPORT C 4;FATURA C 5",
     "RIIT01.NTX=UPPER(REGISTRO)+ADICAO+ITEM|RIIT02.NTX=UPPER(REGISTRO)+STR(SEQITEM,5)|RIIT03.NTX=NCM|"
     "RIIT04.NTX=UPPER(PRODUTO)"},
    {"RIUNID", "CODIGO C 3;DESCRICAO C 20;SIMBOLO C 3;OPERACAO C 1;FATOR N 10.4;BASEUNID C 1;TP_CONV C 1",
     "RIUNID.NTX=CODIGO"},
    {"RICLAS", "NCM C 8;DESCRICAO C 60;UNIDADE C 3", "RICLAS.NTX=NCM"},
    {"RIFOBS", "REGISTRO C 12;MOEDA C 3;TOTFOB N 15.2;TAXA N 16.7;FOB_ITENS N 15.2", "RIFOBS.NTX=UPPER(REGISTRO)"},
};

std::vector<std::string> splitOn(const std::string& text, char sep) {
    std::vector<std::string> out;
    std::stringstream ss(text);
    std::string part;
    while (std::getline(ss, part, sep))
        if (!part.empty())
            out.push_back(part);
    return out;
}

NorvikSchema::Table build(const Layout& layout) {
    NorvikSchema::Table t;
    t.base = layout.base;
    std::vector<std::string> seen;
    for (const std::string& field : splitOn(layout.fields, ';')) {
        std::istringstream in(field);
        DbfField f;
        std::string size;
        in >> f.name >> f.type >> size;
        const auto dot = size.find('.');
        f.length = static_cast<unsigned>(std::stoul(size.substr(0, dot)));
        f.decimals = dot == std::string::npos ? 0 : static_cast<unsigned>(std::stoul(size.substr(dot + 1)));
        bool repeated = false;
        for (const auto& s : seen)
            repeated = repeated || s == f.name;
        if (repeated)
            continue;
        seen.push_back(f.name);
        t.fields.push_back(f);
    }
    for (const std::string& index : splitOn(layout.indices, '|')) {
        const auto eq = index.find('=');
        t.indices.push_back({index.substr(0, eq), index.substr(eq + 1)});
    }
    return t;
}

} // namespace

const std::vector<NorvikSchema::Table>& NorvikSchema::tables() {
    static const std::vector<Table> all = [] {
        std::vector<Table> out;
        for (const Layout& l : Layouts)
            out.push_back(build(l));
        return out;
    }();
    return all;
}

const NorvikSchema::Table* NorvikSchema::find(const std::string& base) {
    std::string wanted;
    for (char c : base)
        wanted += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    for (const Table& t : tables())
        if (t.base == wanted)
            return &t;
    return nullptr;
}

const NorvikSchema::Table& NorvikSchema::additionsWorkFile() {
    static const Table work = [] {
        Table t = *find("RIADIC");
        t.base = "RIADIC_TEMP";
        t.indices.clear();
        return t;
    }();
    return work;
}
