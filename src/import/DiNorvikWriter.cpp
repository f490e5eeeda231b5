#include "import/DiNorvikWriter.h"

#include "base/AppContext.h"
#include "base/AppError.h"
#include "base/Logs.h"
#include "base/Operator.h"
#include "base/Settings.h"
#include "base/TextUtils.h"
#include "data/DbfTable.h"
#include "data/NorvikFiles.h"
#include "data/NorvikSchema.h"
#include "data/NorvikTable.h"
#include "data/TDM.h"
#include "data/TransferProgress.h"
#include "import/DiNorvikRules.h"
#include "import/GRAVACAMPONORVIK.h"
#include "platform/Paths.h"
#include "platform/Platform.h"
#include "platform/SystemError.h"
#include "platform/WholeFile.h"

#include <chrono>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <optional>

namespace fs = std::filesystem;
using namespace DiNorvikRules;
using NorvikFiles::codeLookup;
using NorvikFiles::codeOfWidth;
using NorvikFiles::nextFreeCode;
using NorvikFiles::openTable;

namespace {

const char* const Caption = "Pelomira";
const char* const AdditionTransform = "ADICAO.xtr";
const char* const FabrExpTransform = "FABR_EXP.xtr";
const char* const TaxasTransform = "TAXAS.xtr";
const char* const Dollar = "220";

std::string quoted(const std::string& v) {
    return "'" + replaceAll(v, "'", "''") + "'";
}

// yyyy-mm-dd... → dd/mm/yyyy (characters 9-10, 6-7, 1-4).
std::string dayMonthYear(const std::string& ymd) {
    if (ymd.size() < 10)
        return {};
    return ymd.substr(8, 2) + "/" + ymd.substr(5, 2) + "/" + ymd.substr(0, 4);
}

std::string now(const char* format) {
    const std::time_t t = std::chrono::system_clock::to_time_t(std::chrono::system_clock::now());
    std::tm tm{};
    localtime_r(&t, &tm);
    char buf[32];
    std::strftime(buf, sizeof buf, format, &tm);
    return buf;
}

const std::vector<std::string> RegiIndices = {"RIREGI", "RIFOLL"};

} // namespace

DiNorvikWriter::DiNorvikWriter(AppContext& ctx, TransferProgress& progress, const LoadedProcessDocument& document,
                               std::string registro, bool overwritten)
    : m_ctx(ctx), m_progress(progress), m_document(document), m_sources(FieldSources::fromDataModule(ctx.dm)),
      m_registro(std::move(registro)), m_overwritten(overwritten) {}

std::string DiNorvikWriter::processKey(const std::string& id) {
    const std::string t = trim(id);
    if (charCount(t) < 13)
        return id;
    return blankPad(charSub(t, 2, 12), 12);
}

std::string DiNorvikWriter::workCopyName(const std::string& registro) {
    const std::string key = trim(registro);
    const std::size_t n = charCount(key);
    std::string six = n > 6 ? charSub(key, n - 6, 6) : key;
    std::string safe;
    for (char c : six)
        safe += (std::isalnum(static_cast<unsigned char>(c)) || c == '-') ? c : '_';
    return "TM" + safe + ".DBF";
}

std::string DiNorvikWriter::principal(const std::string& field) const {
    return m_ctx.dm.cdsXMLPrincipal.text(field);
}

void DiNorvikWriter::step(const std::string& text) {
    m_step = std::min(m_step + 1, StepCount);
    m_ctx.op.progressStep(m_step, StepCount, text, true);
    m_ctx.op.processEvents();
}

void DiNorvikWriter::tableStep(const NorvikTable& vk) {
    const std::string file =
        vk.table.isOpen() ? vk.table.path() : joinPath(m_ctx.settings.norvikFolder(), vk.name().substr(2) + ".DBF");
    step("Transferindo a tabela " + file);
}

void DiNorvikWriter::apply(DbfTable& t, const std::vector<NorvikRule>& rules) {
    for (const NorvikRule& r : rules)
        GRAVACAMPONORVIK(m_ctx, m_progress, m_sources, t, r.field, r.target, r.source, true);
}

void DiNorvikWriter::literal(DbfTable& t, const std::string& field, const std::string& value) {
    GRAVACAMPONORVIK(m_ctx, m_progress, m_sources, t, value, field, 0, false);
}

double DiNorvikWriter::amount(const std::string& text, const std::string& what) const {
    const std::string t = trim(text);
    if (t.empty())
        return 0;
    try {
        return toDecimal(t);
    } catch (const AppError&) {
        throw AppError(what + " inválido no processo " + trim(principal("ID_PROCESSO")) + ": '" + t +
                       "' não é um número");
    }
}

std::string DiNorvikWriter::money(double value) const {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.7f", value);
    return buf;
}

void DiNorvikWriter::dollars(DbfTable& t, const std::string& field, const std::string& reais) {
    if (trim(reais).empty())
        return;
    const double us =
        NorvikFiles::convertAmount(m_ctx, m_rateDate, NorvikFiles::NationalCurrency, Dollar, amount(reais, field));
    literal(t, field, money(us));
}

// ------------------------------------------------------------------ the DI

void DiNorvikWriter::write() {
    const std::string base = principal("DATA_BASE_CALCULO");
    m_rateDate = dayMonthYear(base);
    NorvikTable& regi = m_ctx.dm.vkRIREGI;
    openTable(m_ctx, regi, "RIREGI", RegiIndices);
    m_ctx.op.progressOpen(0, StepCount, PreparingTitle);
    try {
        rates();
        importer();
        header();
        warehouse();
        step("Gravando dados do Transportador");
        const std::string transporter = carrier(m_ctx.dm.vkRITRAN, "TRANSPORTADOR_", true);
        literal(regi.table, "CODTRANSP", transporter);
        {
            NorvikTable& tran = m_ctx.dm.vkRITRAN;
            openTable(m_ctx, tran, "RITRAN", {"RITRAN"});
            if (tran.table.locate({"CODIGO"}, {transporter}, false))
                literal(regi.table, "NOMETRANSP", tran.table.text("NOME1") + tran.table.text("NOME2"));
            tran.table.close();
        }
        step("Gravando dados do Agente de Carga");
        literal(regi.table, "AGENTE", carrier(m_ctx.dm.vkRIAGEN, "AGENTE_", false));
        m_written = true;
        processLists();
        additions();
        additionFiles();
        totals();
        fobSummary();
        handOver();
        icms();
        regi.table.post();
        regi.table.endBatch();
        regi.table.close();
    } catch (...) {
        regi.table.cancel();
        regi.table.endBatch();
        regi.table.close();
        removeWritten();
        throw;
    }
    m_ctx.op.progressClose();
}

// A DI that failed half way is taken out again, so a later transfer finds no rows of it to double.
void DiNorvikWriter::removeWritten() noexcept {
    if (!m_written)
        return;
    for (const auto& [base, indices] : NorvikFiles::processTables()) {
        try {
            NorvikTable scratch("vk" + base);
            NorvikFiles::removeProcessRows(m_ctx, scratch, base, indices, "REGISTRO", m_registro);
        } catch (const std::exception& e) {
            m_ctx.logs.error("Removendo a DI incompleta do NORVIK", e.what());
        }
    }
}

// ------------------------------------------------------------------ 4: rates

void DiNorvikWriter::rates() {
    step("Gravando Taxas utilizadas no processo...");
    TDM& dm = m_ctx.dm;
    dm.XMLTPAux.setXMLDataFile(m_document.file);
    dm.XMLTPAux.setTransformation(m_ctx.platform, m_document.transformFolder, TaxasTransform);
    RecordSet& taxas = dm.cdsXMLTaxas;
    taxas.unbindNested();
    taxas.setProvider(&dm.XMLTPAux);
    taxas.setCommandText("SELECT * FROM TAXAS");
    taxas.open();
    taxas.first();
    if (taxas.eof() || trim(taxas.text("MOEDA")).empty())
        return;
    NorvikTable& vk = dm.vkRITAXA;
    const NorvikFiles::CreationLock creating(m_ctx, "RITAXA");
    openTable(m_ctx, vk, "RITAXA", {"RITAXA"});
    DbfTable& t = vk.table;
    t.beginBatch();
    try {
        auto add = [&](const std::string& currency, const std::string& rate, const std::string& us) {
            t.append();
            literal(t, "CODIGO", currency);
            literal(t, "DATA", m_rateDate);
            literal(t, "TX_REAL", rate);
            literal(t, "TX_US", us);
            t.post();
        };
        double reference = 0;
        const std::string first = trim(taxas.text("MOEDA"));
        if (t.locate({"CODIGO", "DATA"}, {blankPad(first, 3), m_rateDate}, false)) {
            reference = amount(t.text("TX_REAL"), "TX_REAL");
        } else {
            add(first, taxas.text("TAXA"), "1");
            reference = amount(taxas.text("TAXA"), "TAXA");
        }
        for (taxas.first(); !taxas.eof(); taxas.next()) {
            const std::string currency = trim(taxas.text("MOEDA"));
            if (currency.empty() || t.locate({"CODIGO", "DATA"}, {blankPad(currency, 3), m_rateDate}, false))
                continue;
            const double rate = amount(taxas.text("TAXA"), "TAXA");
            const std::string us =
                currency == NorvikFiles::NationalCurrency || reference == 0 ? "1" : money(rate / reference);
            add(currency, taxas.text("TAXA"), us);
        }
    } catch (...) {
        t.endBatch();
        t.close();
        throw;
    }
    t.endBatch();
    t.close();
}

// ------------------------------------------------------------------ 5: importer

void DiNorvikWriter::importer() {
    step("Gravando dados do Importador");
    NorvikTable& vk = m_ctx.dm.vkRIIMPO;
    const std::vector<std::string> indices = {"RIIMPO", "RICGCS"};
    const std::string cnpj = principal("IMPORTADOR_CNPJ_CPF");
    const NorvikFiles::CreationLock creating(m_ctx, "RIIMPO");
    openTable(m_ctx, vk, "RIIMPO", indices);
    vk.table.setActiveIndex(1);
    if (vk.table.locate({"CGCCPF"}, {cnpj}, false)) {
        m_importer = vk.table.text("CODIGO");
        vk.table.close();
        return;
    }
    m_importer = nextFreeCode(m_ctx, vk, "RIIMPO", indices, 6, "CODIGO");
    openTable(m_ctx, vk, "RIIMPO", indices);
    DbfTable& t = vk.table;
    const std::string name = principal("IMPORTADOR_RAZAO_SOCIAL");
    t.append();
    literal(t, "CODIGO", m_importer);
    literal(t, "CGCCPF", cnpj);
    literal(t, "NOME_RES", charSub(name, 0, 15));
    literal(t, "NOME1", charSub(name, 0, 30));
    literal(t, "NOME2", charSub(name, 30, 30));
    literal(t, "ENDER", principal("IMPORTADOR_LOGRADOURO") + ", " + principal("IMPORTADOR_NUMERO"));
    literal(t, "COMPLEM", principal("IMPORTADOR_COMPLEMENTO"));
    literal(t, "CIDADE", principal("IMPORTADOR_MUNICIPIO"));
    literal(t, "UF", principal("IMPORTADOR_UF"));
    literal(t, "PAIS", principal("IMPORTADOR_PAIS"));
    t.post();
    t.close();
}

// ------------------------------------------------------------------ 6: the header

void DiNorvikWriter::header() {
    DbfTable& t = m_ctx.dm.vkRIREGI.table;
    t.beginBatch();
    t.append();
    tableStep(m_ctx.dm.vkRIREGI);
    for (const auto& [field, value] : HeaderConstants)
        literal(t, field, value);
    literal(t, "REGISTRO", m_registro);
    literal(t, "DATA", now("%d/%m/%Y"));
    literal(t, "DATA", m_rateDate);
    literal(t, "DATAABERT", now("%d/%m/%Y"));
    literal(t, "DH_ALTERA", now("%Y%m%d%H%M%S"));
    literal(t, "RRRFLA", m_overwritten ? "X" : "I");
    literal(t, "IMPORTADOR", m_importer);
    apply(t, HeaderCopies);
    literal(t, "CALCULADO", trim(principal("NR_DI")).empty() ? "E" : "M");
    if (!trim(principal("DATA_DI")).empty())
        literal(t, "DATA_DI", dayMonthYear(principal("DATA_DI")));
    literal(t, "TIPODECL", zeroPadLeft(trim(principal("TIPO_DECLARACAO")), 2));

    static const std::map<std::string, std::string> Ways = {{"1", "02"}, {"2", "06"}, {"3", "07"}, {"4", "01"},
                                                            {"5", "05"}, {"6", "04"}, {"7", "03"}, {"8", "09"},
                                                            {"9", "08"}, {"10", "10"}};
    const std::string way = trim(principal("VIA_TRANSPORTE"));
    if (!way.empty()) {
        std::string key = way;
        while (key.size() > 1 && key[0] == '0')
            key.erase(0, 1);
        const auto it = Ways.find(key);
        if (it == Ways.end())
            throw AppError("VIA_TRANSPORTE inválida no processo " + trim(principal("ID_PROCESSO")) + ": '" + way + "'");
        literal(t, "VIA_TRANSP", it->second);
    }
    const std::string multimodal = trim(principal("MULTIMODAL"));
    if (multimodal == "SIM")
        literal(t, "MULTIMODAL", "1");
    else if (multimodal == "NAO")
        literal(t, "MULTIMODAL", "2");
    static const std::map<std::string, std::string> Documents = {
        {"1", "01"}, {"3", "02"}, {"10", "04"}, {"12", "05"}, {"14", "03"}, {"17", "07"}, {"18", "08"}, {"19", "09"}};
    const auto doc = Documents.find(trim(principal("CONHECIMENTO_TIPO")));
    if (doc != Documents.end())
        literal(t, "TIPO_DOCS", doc->second);
    if (way == "2" || way == "02") {
        literal(t, "COD_IDENT", principal("HOUSE") + principal("MASTER"));
    } else {
        apply(t, {{"HOUSE", Main, "HOUSE"}, {"NUMERO", Main, "MASTER"}});
    }
    for (const char* field : {"DATA_EMBARQUE", "DATA_CHEGADA"}) {
        const std::string d = trim(principal(field));
        if (d.empty())
            continue;
        const std::string target = std::string(field) == "DATA_EMBARQUE" ? "EMISSAO" : "CHEGADA";
        try {
            t.setText(target, dayMonthYear(d));
        } catch (const std::exception& e) {
            reportNorvikFieldFailure(m_ctx, m_progress, t, target, e.what());
        }
    }
    for (const NorvikRule& r : HeaderDollars)
        dollars(t, r.target, principal(r.field));

    std::string complementary = replaceAll(principal("COMPLEMENTARES"), "|", "\r\n");
    const std::size_t length = charCount(principal("COMPLEMENTARES"));
    if (length > ComplementaryLimit)
        m_ctx.op.message("ATENÇÃO!!!\rO texto contido no campo de informações complementares\rultrapassa 7800 "
                         "caracteres (tamanho atual: " +
                             std::to_string(length) + " caracteres).\rO TEXTO SERÁ TRANSFERIDO INCOMPLETO!!!",
                         Caption, MessageIcon::Warning);
    try {
        t.setText("COMPLREG", complementary);
    } catch (const std::exception& e) {
        reportNorvikFieldFailure(m_ctx, m_progress, t, "COMPLREG", e.what());
    }
}

// ------------------------------------------------------------------ 7: warehouse

void DiNorvikWriter::warehouse() {
    step("Gravando dados do Armazém");
    TDM& dm = m_ctx.dm;
    NorvikTable& vk = dm.vkRIARZE;
    const std::string setor = zeroPadLeft(trim(principal("SETOR")), 3);
    RecordSet& numbers = dm.cdsXMLAux;
    numbers.setCommandText(std::string());
    numbers.bindToNested(dm.cdsXMLPrincipal, "NR_ARMAZEM");
    numbers.first();
    const std::string firstNumber = numbers.eof() ? std::string() : numbers.text("NUMERO");
    const NorvikFiles::CreationLock creating(m_ctx, "RIARZE");
    std::string code =
        codeLookup(m_ctx, vk, "RIARZE", {"RIARZE"}, "CODIGO", {{"DESCRICAO", 60}, {"RECINTO", 7}, {"SETOR", 3}},
                   {principal("LOCAL_DESEMB"), principal("RECINTO"), setor});
    vk.table.close();
    if (code == "0") {
        code = nextFreeCode(m_ctx, vk, "RIARZE", {"RIARZE"}, 3, "CODIGO");
        openTable(m_ctx, vk, "RIARZE", {"RIARZE"});
        DbfTable& t = vk.table;
        t.append();
        literal(t, "CODIGO", code);
        literal(t, "DESCRICAO", charSub(principal("LOCAL_DESEMB"), 0, 60));
        literal(t, "RECINTO", principal("RECINTO"));
        literal(t, "NUMERO", firstNumber);
        literal(t, "UF", principal("UF_DESEMB"));
        literal(t, "SETOR", setor);
        literal(t, "URF_DESP", principal("URF_DESPACHO"));
        t.post();
        t.close();
    }
    DbfTable& regi = dm.vkRIREGI.table;
    literal(regi, "ARMAZEM", code);
    std::string all;
    for (numbers.first(); !numbers.eof(); numbers.next())
        all += blankPad(numbers.text("NUMERO"), 10);
    literal(regi, "ARM_NROS", blankPad(all, 50));
}

// ------------------------------------------------------------------ 8, 9: transporter and agent

std::string DiNorvikWriter::carrier(NorvikTable& vk, const std::string& p, bool withCountry) {
    const std::string cnpj = principal(p + "CNPJ_CPF");
    const NorvikFiles::CreationLock creating(m_ctx, "RITRAN");
    std::string code = codeLookup(m_ctx, vk, "RITRAN", {"RITRAN"}, "CODIGO", {{"CGCCPF", 14}}, {cnpj});
    vk.table.close();
    if (code != "0")
        return code;
    code = nextFreeCode(m_ctx, vk, "RITRAN", {"RITRAN"}, 3, "CODIGO");
    openTable(m_ctx, vk, "RITRAN", {"RITRAN"});
    DbfTable& t = vk.table;
    const std::string name = principal(p + "RAZAO_SOCIAL");
    t.append();
    literal(t, "CODIGO", code);
    literal(t, "NOME_RES", charSub(name, 0, 15));
    literal(t, "NOME1", charSub(name, 0, 31));
    literal(t, "NOME2", charSub(name, 31, 31));
    literal(t, "ENDER", principal(p + "LOGRADOURO"));
    literal(t, "NUMERO", principal(p + "NUMERO"));
    literal(t, "COMPLEMENT", principal(p + "COMPLEMENTO"));
    literal(t, "BAIRRO", principal(p + "BAIRRO"));
    literal(t, "CIDADE", principal(p + "MUNICIPIO"));
    literal(t, "UF", principal(p + "UF"));
    literal(t, "CEP", principal(p + "CEP"));
    literal(t, "CGCCPF", cnpj);
    literal(t, "INSCR_EST", principal(p + "INSCR_ESTADUAL"));
    literal(t, "TELEFONE", principal(p + "TELEFONE"));
    literal(t, "PESSOA", principal(p + "TIPO"));
    if (withCountry)
        literal(t, "PAIS", principal(p + "PAIS"));
    t.post();
    t.close();
    return code;
}

// ------------------------------------------------------------------ 10 to 14: lists of the process

void DiNorvikWriter::processLists() {
    TDM& dm = m_ctx.dm;
    RecordSet& list = dm.cdsXMLAux;
    auto bind = [&](const char* nested) {
        list.setCommandText(std::string());
        list.bindToNested(dm.cdsXMLPrincipal, nested);
        list.first();
    };

    // Expenses, with their kinds.
    bind("LANCAMENTO");
    tableStep(dm.vkRICUST);
    for (; !list.eof(); list.next()) {
        const std::string description = list.text("LANCAMENTO_DESCRICAO");
        std::optional<NorvikFiles::CreationLock> creating(std::in_place, m_ctx, "RIDESP");
        std::string kind =
            codeLookup(m_ctx, dm.vkRIDESP, "RIDESP", {"RIDESP"}, "CODIGO", {{"DESCRICAO", 40}}, {description});
        dm.vkRIDESP.table.close();
        if (kind == "0") {
            kind = nextFreeCode(m_ctx, dm.vkRIDESP, "RIDESP", {"RIDESP"}, 4, "CODIGO");
            openTable(m_ctx, dm.vkRIDESP, "RIDESP", {"RIDESP"});
            DbfTable& d = dm.vkRIDESP.table;
            d.append();
            literal(d, "CODIGO", kind);
            literal(d, "DESCRICAO", charSub(description, 0, 40));
            d.post();
            d.close();
        }
        creating.reset();
        openTable(m_ctx, dm.vkRICUST, "RICUST", {"RICUST"});
        DbfTable& t = dm.vkRICUST.table;
        t.append();
        literal(t, "REGISTRO", m_registro);
        literal(t, "COD_DESP", kind);
        literal(t, "TIPORATEIO", "1");
        apply(t, ExpenseCopies);
        t.post();
        t.close();
    }

    struct ListFile {
        NorvikTable& vk;
        const char* base;
        const char* nested;
        const std::vector<NorvikRule>& rules;
    };
    const ListFile files[] = {{dm.vkRIREG5, "RIREG5", "PROC_VINCULADO", LinkedCopies},
                              {dm.vkRIREG3, "RIREG3", "DOCUMENTO", DocumentCopies},
                              {dm.vkRIREG4, "RIREG4", "VOLUMES", PackageCopies},
                              {dm.vkRIREG2, "RIREG2", "PAGAMENTO", PaymentCopies}};
    for (const ListFile& f : files) {
        bind(f.nested);
        openTable(m_ctx, f.vk, f.base, {f.base});
        tableStep(f.vk);
        DbfTable& t = f.vk.table;
        for (; !list.eof(); list.next()) {
            t.append();
            literal(t, "REGISTRO", m_registro);
            if (std::string(f.base) == "RIREG3")
                literal(t, "TIPO", zeroPadLeft(trim(list.text("TIPO_DOCTO")), 2));
            if (std::string(f.base) == "RIREG2")
                literal(t, "TIPO", "PA");
            apply(t, f.rules);
            t.post();
        }
        t.close();
    }
}

// ------------------------------------------------------------------ 15, 16: additions

void DiNorvikWriter::bindAdditions() {
    TDM& dm = m_ctx.dm;
    dm.XMLTPAux.setXMLDataFile(m_document.file);
    dm.XMLTPAux.setTransformation(m_ctx.platform, m_document.transformFolder, AdditionTransform);
    RecordSet& sets = dm.cdsXMLAdicao;
    sets.unbindNested();
    sets.setProvider(&dm.XMLTPAux);
    sets.setCommandText("SELECT * FROM ADICAO WHERE ID_PROCESSO=" + quoted(trim(principal("ID_PROCESSO"))));
    sets.open();
    RecordSet& addition = dm.cdsXMLTPAux;
    addition.setCommandText("SELECT * FROM ADICAO");
    addition.bindToNested(sets, "ADICAO");
    addition.first();
}

void DiNorvikWriter::bindItems(const std::string& additionId) {
    TDM& dm = m_ctx.dm;
    RecordSet& items = dm.cdsXMLTPAux3;
    items.setCommandText("SELECT * FROM ITEM WHERE ID_ADICAO = " + quoted(additionId));
    items.bindToNested(dm.cdsXMLPrincipal, "ITEM");
    items.first();
}

void DiNorvikWriter::bindAdditionList(const std::string& nested) {
    TDM& dm = m_ctx.dm;
    RecordSet& list = dm.cdsXMLTPAux2;
    list.setCommandText("SELECT * FROM " + nested);
    list.bindToNested(dm.cdsXMLTPAux, nested);
    list.first();
}

void DiNorvikWriter::additions() {
    TDM& dm = m_ctx.dm;
    // The work file is the program's own: emptied by writing it anew in the layout of RIADIC.
    const std::string work = joinPath(m_ctx.platform.programFolder(), "RIADIC_TEMP.DBF");
    dm.vkRIADIC.table.close();
    DbfTable::create(work, NorvikSchema::additionsWorkFile().fields);
    NorvikFiles::openWorkFile(m_ctx, dm.vkRIADIC);
    tableStep(dm.vkRIADIC);
    DbfTable& adic = dm.vkRIADIC.table;
    DbfTable& regi = dm.vkRIREGI.table;
    RecordSet& addition = dm.cdsXMLTPAux;
    RecordSet& items = dm.cdsXMLTPAux3;
    bindAdditions();
    for (; !addition.eof(); addition.next()) {
        const std::string id = trim(addition.text("ID_ADICAO"));
        bindItems(id);
        adic.append();
        literal(adic, "REGISTRO", m_registro);
        literal(adic, "ADICAO", zeroPadLeft(id, 3));
        literal(adic, "RATFRETE", "2");
        apply(adic, AdditionCopies);
        // The item values of the addition: the last item's, the weight summed.
        double weight = 0;
        std::string ncm;
        for (items.first(); !items.eof(); items.next()) {
            weight += amount(items.text("PESO_LIQUIDO"), "PESO_LIQUIDO");
            ncm = trim(items.text("NCM"));
        }
        if (!items.isEmpty()) {
            items.last();
            apply(adic, AdditionItemCopies);
            m_lastItemCurrency = trim(items.text("MOEDA_NEGOCIADA"));
        }
        literal(adic, "NCM", ncm);
        literal(adic, "PESO", money(weight));
        for (const NorvikRule& r : AdditionDollars)
            dollars(adic, r.target, addition.text(r.field));
        const long long agreement =
            trim(addition.text("TIPO")).empty() ? 0 : static_cast<long long>(amount(addition.text("TIPO"), "TIPO"));
        if (agreement > 1) {
            literal(adic, "ACORDO_SN", "1");
            literal(adic, "ACORDO", std::to_string(agreement - 1));
        } else {
            literal(adic, "ACORDO_SN", "2");
        }
        const std::string condition = trim(addition.text("CONDICAO_MERC"));
        literal(adic, "COND_SN", condition == "3" || condition == "2" ? "1" : "2");
        literal(adic, "CONDMERC", condition == "3" ? "3" : condition == "2" ? "2" : "1");
        const std::string complement = addition.text("COMPLEMENTO");
        for (int k = 0; k < 5; ++k)
            literal(adic, "TXTCOMPL" + std::to_string(k + 1), charSub(complement, 50 * k, 50));
        const std::string regime = trim(addition.text("REGIME_TRIB2"));
        if (!regime.empty()) {
            static const char* const Pis[] = {"", "1", "6", "3", "4", "2", "5"};
            const long long r = static_cast<long long>(amount(regime, "REGIME_TRIB2"));
            if (r >= 1 && r <= 6)
                literal(adic, "RECPISCOF", Pis[r]);
        }
        const std::string cat68 = trim(addition.text("COMUNIC_CAT68"));
        if (cat68 == "SIM")
            literal(regi, "ICMS_CTRL", "SU");
        else if (cat68 == "NAO")
            literal(regi, "ICMS_CTRL", "NU");

        partiesOfAddition(adic);

        // Statistical unit from the classification table.
        std::string unit = codeLookup(m_ctx, dm.vkRICLAS, "RICLAS", {"RICLAS"}, "UNIDADE", {{"NCM", 8}}, {ncm});
        dm.vkRICLAS.table.close();
        literal(adic, "UNIDADE", unit);

        // Tributes.
        bindAdditionList("TRIBUTO");
        RecordSet& tributes = dm.cdsXMLTPAux2;
        for (; !tributes.eof(); tributes.next()) {
            const std::string tribute = trim(tributes.text("ID_TRIBUTO"));
            for (const NorvikTributeRules& rules : Tributes) {
                if (tribute != rules.id)
                    continue;
                if (tribute == "0003")
                    literal(adic, "CD_TIPO_BE", "1");
                apply(adic, rules.fields);
            }
        }
        adic.post();

        // What the FOB summary and the marks need later.
        const std::string currency = m_lastItemCurrency;
        if (!m_fobByCurrency.count(currency))
            m_currencies.push_back(currency);
        m_fobByCurrency[currency] += amount(addition.text("VMLE_MNEG"), "VMLE_MNEG");
        bindAdditionList("ACRESCIMO");
        double acrescimoReal = 0;
        for (RecordSet& l = dm.cdsXMLTPAux2; !l.eof(); l.next())
            acrescimoReal += amount(l.text("VALOR_REAL"), "VALOR_REAL");
        m_additionsByCurrency[currency] +=
            NorvikFiles::convertAmount(m_ctx, m_rateDate, NorvikFiles::NationalCurrency, currency, acrescimoReal);
        bindAdditionList("A_VISTA");
        if (!dm.cdsXMLTPAux2.isEmpty())
            m_cashAdditions.push_back(zeroPadLeft(id, 3));
        bindAdditionList("ANTECIPADO");
        if (!dm.cdsXMLTPAux2.isEmpty())
            m_advanceAdditions.push_back(zeroPadLeft(id, 3));
        if (!trim(addition.text("NR_PARCELAS")).empty())
            m_instalmentAdditions.push_back(zeroPadLeft(id, 3));
    }
    adic.close();
}

void DiNorvikWriter::partiesOfAddition(DbfTable& adic) {
    TDM& dm = m_ctx.dm;
    RecordSet& items = dm.cdsXMLTPAux3;
    const bool any = !items.isEmpty();
    if (any)
        items.last();
    const std::string exporterId = any ? trim(items.text("ID_EXPORT")) : std::string();
    const std::string makerId = any ? trim(items.text("ID_FABRIC")) : std::string();
    const std::string number = trim(dm.cdsXMLTPAux.text("ID_ADICAO"));

    auto codeOf = [&](const std::string& partyId) -> std::string {
        dm.XMLTPAux.setXMLDataFile(m_document.file);
        dm.XMLTPAux.setTransformation(m_ctx.platform, m_document.transformFolder, FabrExpTransform);
        RecordSet& parties = dm.cdsXMLFabrExp;
        parties.unbindNested();
        parties.setProvider(&dm.XMLTPAux);
        parties.setCommandText("SELECT * FROM FABR_EXP");
        parties.open();
        bool found = false;
        for (parties.first(); !parties.eof(); parties.next())
            if (trim(parties.text("ID_FABREXP")) == partyId) {
                found = true;
                break;
            }
        if (!found)
            return {};
        const std::vector<std::string> indices = {"RIFABR", "RIFAB1", "RIFAB2"};
        const NorvikFiles::CreationLock creating(m_ctx, "RIFABR");
        std::string code = codeLookup(m_ctx, dm.vkRIFABR, "RIFABR", indices, "CODIGO",
                                      {{"NOME", 60}, {"ENDERECO", 40}, {"NUMERO", 6}, {"COMPLEM", 21}, {"PAIS", 3}},
                                      {parties.text("RAZAO_SOCIAL"), parties.text("LOGRADOURO"), parties.text("NUMERO"),
                                       parties.text("COMPLEMENTO"), parties.text("PAIS")});
        dm.vkRIFABR.table.close();
        if (code != "0")
            return code;
        code = nextFreeCode(m_ctx, dm.vkRIFABR, "RIFABR", indices, 4, "CODIGO");
        openTable(m_ctx, dm.vkRIFABR, "RIFABR", indices);
        DbfTable& t = dm.vkRIFABR.table;
        const std::string name = parties.text("RAZAO_SOCIAL");
        t.append();
        literal(t, "CODIGO", code);
        literal(t, "NOME_RES", charSub(name, 0, 15));
        literal(t, "NOME", charSub(name, 0, 60));
        literal(t, "ENDERECO", charSub(parties.text("LOGRADOURO"), 0, 40));
        literal(t, "NUMERO", charSub(parties.text("NUMERO"), 0, 6));
        literal(t, "COMPLEM", charSub(parties.text("COMPLEMENTO"), 0, 21));
        literal(t, "CIDADE", parties.text("CIDADE"));
        literal(t, "ESTADO", parties.text("ESTADO"));
        literal(t, "PAIS", parties.text("PAIS"));
        literal(t, "CODAUX", parties.text("ID_FABREXP"));
        t.post();
        t.close();
        return code;
    };

    step("Gravando dados do Exportador - Adição " + number);
    const std::string exporter = codeOf(exporterId);
    literal(adic, "EXPORT", exporter);
    step("Gravando dados do Fabricante - Adição " + number);
    std::string maker;
    if (makerId == exporterId) {
        literal(adic, "FABREXP", "1");
        maker = exporter;
    } else if (!makerId.empty()) {
        literal(adic, "FABREXP", "2");
        maker = codeOf(makerId);
    } else {
        literal(adic, "FABREXP", "3");
    }
    literal(adic, "FABRIC", maker);
    m_parties[number] = {maker, exporter};
}

// ------------------------------------------------------------------ 17: the files of each addition

void DiNorvikWriter::additionFiles() {
    exchangeContracts();
    instalments();
    adjustments();
    simpleList(m_ctx.dm.vkRIADI2, LinkedDocuments.nested, LinkedDocuments.fields, false);
    legalActs();
    ncmHighlights();
    simpleList(m_ctx.dm.vkRIADI6, NveAttributes.nested, NveAttributes.fields, true);
    simpleList(m_ctx.dm.vkRIITDE, MercosurDeclarations.nested, MercosurDeclarations.fields, false);
    items();
}

namespace {

std::string baseOf(const NorvikTable& vk) {
    return vk.name().substr(2);
}

} // namespace

void DiNorvikWriter::exchangeContracts() {
    TDM& dm = m_ctx.dm;
    openTable(m_ctx, dm.vkRICAMB, "RICAMB", {"RICAMB"});
    tableStep(dm.vkRICAMB);
    DbfTable& t = dm.vkRICAMB.table;
    RecordSet& addition = dm.cdsXMLTPAux;
    for (bindAdditions(); !addition.eof(); addition.next()) {
        for (const auto& [nested, identif] : {std::pair{"A_VISTA", "PV"}, std::pair{"ANTECIPADO", "PA"}}) {
            bindAdditionList(nested);
            for (RecordSet& l = dm.cdsXMLTPAux2; !l.eof(); l.next()) {
                t.append();
                literal(t, "REGISTRO", m_registro);
                literal(t, "ADICAO", zeroPadLeft(trim(addition.text("ID_ADICAO")), 3));
                literal(t, "IDENTIF", identif);
                const std::string national = trim(l.text("MOEDA_NACIONAL"));
                if (national == "SIM")
                    literal(t, "REAL", "1");
                else if (national == "NAO")
                    literal(t, "REAL", "2");
                apply(t, ExchangeCopies);
                const std::size_t buyer = charCount(trim(l.text("ID_COMPRADOR")));
                if (buyer == 14)
                    literal(t, "TP_COMPR", "J");
                else if (buyer == 11)
                    literal(t, "TP_COMPR", "F");
                t.post();
            }
        }
    }
    t.close();
}

void DiNorvikWriter::instalments() {
    TDM& dm = m_ctx.dm;
    openTable(m_ctx, dm.vkRIPARC, "RIPARC", {"RIPARC"});
    tableStep(dm.vkRIPARC);
    DbfTable& t = dm.vkRIPARC.table;
    RecordSet& addition = dm.cdsXMLTPAux;
    for (bindAdditions(); !addition.eof(); addition.next()) {
        bindAdditionList("PARC_VARIAVEIS");
        for (RecordSet& l = dm.cdsXMLTPAux2; !l.eof(); l.next()) {
            t.append();
            literal(t, "REGISTRO", m_registro);
            literal(t, "ADICAO", zeroPadLeft(trim(addition.text("ID_ADICAO")), 3));
            const std::string month = trim(l.text("MES_ANO"));
            literal(t, "MES", charCount(month) > 2 ? charSub(month, charCount(month) - 2, 2) : month);
            apply(t, {{"VALOR", AdditionList, "VR_PARCELA"}});
            t.post();
        }
    }
    t.close();
}

void DiNorvikWriter::adjustments() {
    TDM& dm = m_ctx.dm;
    openTable(m_ctx, dm.vkRIADI5, "RIADI5", {"RIADI5"});
    tableStep(dm.vkRIADI5);
    DbfTable& t = dm.vkRIADI5.table;
    RecordSet& addition = dm.cdsXMLTPAux;
    for (bindAdditions(); !addition.eof(); addition.next()) {
        const std::string id = trim(addition.text("ID_ADICAO"));
        bindItems(id);
        std::string invoiceCurrency;
        if (!dm.cdsXMLTPAux3.isEmpty()) {
            dm.cdsXMLTPAux3.last();
            invoiceCurrency = trim(dm.cdsXMLTPAux3.text("MOEDA_NEGOCIADA"));
        }
        for (const auto& [nested, identif] : {std::pair{"DEDUCAO", "DD"}, std::pair{"ACRESCIMO", "AC"}}) {
            bindAdditionList(nested);
            RecordSet& l = dm.cdsXMLTPAux2;
            double valor = 0, real = 0;
            std::string first, type, currency;
            for (; !l.eof(); l.next()) {
                const std::string entryCurrency = trim(l.text("MOEDA"));
                double v = amount(l.text("VALOR_MNEG"), "VALOR_MNEG");
                if (first.empty())
                    first = entryCurrency;
                else if (entryCurrency != first)
                    v = NorvikFiles::convertAmount(m_ctx, m_rateDate, entryCurrency, first, v);
                valor += v;
                real += amount(l.text("VALOR_REAL"), "VALOR_REAL");
                type = trim(l.text("ID_DESPESA"));
                currency = entryCurrency;
            }
            Sums& di = std::string(identif) == "AC" ? m_acresc : m_deduc;
            di.valor += valor;
            di.real += real;
            if (!currency.empty())
                di.currency = currency;
            if (!type.empty())
                di.lastType = type;
            if (valor <= 0)
                continue;
            t.append();
            literal(t, "REGISTRO", m_registro);
            literal(t, "ADICAO", zeroPadLeft(id, 3));
            literal(t, "IDENTIF", identif);
            literal(t, "TIPOCALC", "2");
            literal(t, "TIPO", type);
            literal(t, "MOEDA", currency);
            literal(t, "VALOR", money(valor));
            literal(t, "VR_REAL", money(real));
            literal(t, "VR_US",
                    money(NorvikFiles::convertAmount(m_ctx, m_rateDate, NorvikFiles::NationalCurrency, Dollar, real)));
            literal(t, "VR_FATURA",
                    money(NorvikFiles::convertAmount(m_ctx, m_rateDate, NorvikFiles::NationalCurrency, invoiceCurrency,
                                                     real)));
            t.post();
        }
    }
    t.close();
}

void DiNorvikWriter::simpleList(NorvikTable& vk, const char* nested, const std::vector<NorvikRule>& rules, bool nve) {
    TDM& dm = m_ctx.dm;
    const std::string base = baseOf(vk);
    openTable(m_ctx, vk, base, {base});
    tableStep(vk);
    DbfTable& t = vk.table;
    RecordSet& addition = dm.cdsXMLTPAux;
    for (bindAdditions(); !addition.eof(); addition.next()) {
        bindAdditionList(nested);
        for (RecordSet& l = dm.cdsXMLTPAux2; !l.eof(); l.next()) {
            t.append();
            literal(t, "REGISTRO", m_registro);
            literal(t, "ADICAO", zeroPadLeft(trim(addition.text("ID_ADICAO")), 3));
            apply(t, rules);
            if (nve)
                literal(t, "ESPECIF", replaceAll(l.text("ESPECIFICACAO"), "-", ""));
            t.post();
        }
    }
    t.close();
}

void DiNorvikWriter::legalActs() {
    TDM& dm = m_ctx.dm;
    openTable(m_ctx, dm.vkRIADI3, "RIADI3", {"RIADI3"});
    tableStep(dm.vkRIADI3);
    DbfTable& t = dm.vkRIADI3.table;
    RecordSet& addition = dm.cdsXMLTPAux;
    for (bindAdditions(); !addition.eof(); addition.next()) {
        for (const auto& [subject, prefix] : LegalActs) {
            const std::string p = prefix;
            if (trim(addition.text(p + "_NUMERO")).empty())
                continue;
            t.append();
            literal(t, "REGISTRO", m_registro);
            literal(t, "ADICAO", zeroPadLeft(trim(addition.text("ID_ADICAO")), 3));
            literal(t, "ASSUNTO", subject);
            apply(t, {{"TIPO", Addition, (p + "_TIPO").c_str()},
                      {"ORGAO", Addition, (p + "_ORGAO").c_str()},
                      {"ANO", Addition, (p + "_ANO").c_str()},
                      {"NRO", Addition, (p + "_NUMERO").c_str()},
                      {"EX", Addition, (p + "_EX").c_str()}});
            t.post();
        }
    }
    t.close();
}

void DiNorvikWriter::ncmHighlights() {
    TDM& dm = m_ctx.dm;
    openTable(m_ctx, dm.vkRIADI4, "RIADI4", {"RIADI4"});
    tableStep(dm.vkRIADI4);
    DbfTable& t = dm.vkRIADI4.table;
    RecordSet& addition = dm.cdsXMLTPAux;
    for (bindAdditions(); !addition.eof(); addition.next()) {
        bindAdditionList("DESTAQUE_NCM");
        int seq = 0;
        for (RecordSet& l = dm.cdsXMLTPAux2; !l.eof(); l.next()) {
            t.append();
            literal(t, "REGISTRO", m_registro);
            literal(t, "ADICAO", zeroPadLeft(trim(addition.text("ID_ADICAO")), 3));
            literal(t, "SEQ", zeroPadLeft(std::to_string(++seq), 2));
            apply(t, {{"NUMERO", AdditionList, "NUMERO"}});
            t.post();
        }
    }
    t.close();
}

void DiNorvikWriter::items() {
    TDM& dm = m_ctx.dm;
    const std::vector<std::string> indices = {"RIIT01", "RIIT02", "RIIT03", "RIIT04"};
    openTable(m_ctx, dm.vkRIITEM, "RIITEM", indices);
    tableStep(dm.vkRIITEM);
    RecordSet& addition = dm.cdsXMLTPAux;
    RecordSet& item = dm.cdsXMLTPAux3;
    const std::string fatura = m_acresc.valor > 0 ? "ACRES" : m_deduc.valor > 0 ? "DEDUC" : "";
    long long highestItem = 0, highestAddition = 0, seq = 0;
    const std::string id = trim(principal("ID_PROCESSO"));
    for (bindAdditions(); !addition.eof(); addition.next()) {
        const std::string additionId = trim(addition.text("ID_ADICAO"));
        highestAddition = std::max(highestAddition, static_cast<long long>(amount(additionId, "ID_ADICAO")));
        for (bindItems(additionId); !item.eof(); item.next()) {
            const std::string itemId = trim(item.text("ID_ITEM"));
            highestItem = std::max(highestItem, static_cast<long long>(amount(itemId, "ID_ITEM")));
            const std::string description = item.text("DESCRICAO");
            const std::size_t length = charCount(description);
            if (length > DescriptionLimit)
                m_ctx.op.message("ATENÇÃO!!!\rO texto contido no campo de descrição do item " + itemId + "\rda DI " +
                                     id + "ultrapassa 3900 caracteres (tamanho atual: " + std::to_string(length) +
                                     " caracteres).\rO TEXTO SERÁ TRANSFERIDO INCOMPLETO!!!",
                                 Caption, MessageIcon::Warning);
            // The unit's code, the unit made when it is new.
            const std::string unitName = item.text("UNIDADE");
            std::optional<NorvikFiles::CreationLock> creating(std::in_place, m_ctx, "RIUNID");
            std::string unit =
                codeLookup(m_ctx, dm.vkRIUNID, "RIUNID", {"RIUNID"}, "CODIGO", {{"DESCRICAO", 20}}, {unitName});
            dm.vkRIUNID.table.close();
            if (unit == "0") {
                unit = nextFreeCode(m_ctx, dm.vkRIUNID, "RIUNID", {"RIUNID"}, 3, "CODIGO");
                openTable(m_ctx, dm.vkRIUNID, "RIUNID", {"RIUNID"});
                DbfTable& u = dm.vkRIUNID.table;
                u.append();
                literal(u, "CODIGO", unit);
                literal(u, "DESCRICAO", charSub(unitName, 0, 20));
                literal(u, "SIMBOLO", charSub(unitName, 0, 3));
                literal(u, "OPERACAO", "1");
                literal(u, "FATOR", "1");
                literal(u, "BASEUNID", "1");
                literal(u, "TP_CONV", "2");
                u.post();
                u.close();
            }
            creating.reset();
            openTable(m_ctx, dm.vkRIITEM, "RIITEM", indices);
            DbfTable& t = dm.vkRIITEM.table;
            t.append();
            literal(t, "REGISTRO", m_registro);
            literal(t, "SEQITEM", std::to_string(++seq));
            literal(t, "ADICAO", zeroPadLeft(additionId, 3));
            literal(t, "ITEM", zeroPadLeft(itemId, 5));
            try {
                t.setText("DESCRICAO", replaceAll(description, "|", "\r\n"));
            } catch (const std::exception& e) {
                reportNorvikFieldFailure(m_ctx, m_progress, t, "DESCRICAO", e.what());
            }
            literal(t, "UNIDADE", unit);
            apply(t, ItemCopies);
            const double quantity = amount(item.text("QUANTIDADE"), "QUANTIDADE");
            if (quantity != 0 && !trim(item.text("PESO_LIQUIDO")).empty())
                literal(t, "PESOUNIT", money(amount(item.text("PESO_LIQUIDO"), "PESO_LIQUIDO") / quantity));
            const auto parties = m_parties.find(additionId);
            if (parties != m_parties.end()) {
                literal(t, "FABRIC", parties->second.first);
                literal(t, "EXPORT", parties->second.second);
            }
            literal(t, "FATURA", fatura);
            t.post();
        }
    }
    dm.vkRIITEM.table.close();
    m_highestItem = zeroPadLeft(std::to_string(highestItem), 5);
    m_highestAddition = zeroPadLeft(std::to_string(highestAddition), 3);
    DbfTable& regi = dm.vkRIREGI.table;
    literal(regi, "ULTITEM", m_highestItem);
    literal(regi, "QTADICAO", m_highestAddition);
}

// ------------------------------------------------------------------ 18, 19: totals, FOB summary, marks

void DiNorvikWriter::totals() {
    TDM& dm = m_ctx.dm;
    DbfTable& regi = dm.vkRIREGI.table;
    openTable(m_ctx, dm.vkRIREG6, "RIREG6", {"RIREG6"});
    tableStep(dm.vkRIREG6);
    DbfTable& t = dm.vkRIREG6.table;
    auto record = [&](const char* identif, const std::string& type, const char* docto, const Sums& s) {
        t.append();
        literal(t, "REGISTRO", m_registro);
        literal(t, "IDENTIF", identif);
        literal(t, "TIPO", type);
        literal(t, "DOCTO", docto);
        literal(t, "TIPOCALC", "2");
        literal(t, "MOEDA", s.currency);
        literal(t, "VALOR", money(s.valor));
        literal(t, "VR_REAL", money(s.real));
        literal(t, "VR_US",
                money(NorvikFiles::convertAmount(m_ctx, m_rateDate, NorvikFiles::NationalCurrency, Dollar, s.real)));
        literal(t, "VR_FATURA",
                money(NorvikFiles::convertAmount(m_ctx, m_rateDate, NorvikFiles::NationalCurrency, m_lastItemCurrency,
                                                 s.real)));
        t.post();
    };
    if (m_acresc.valor > 0) {
        record("AC", "09", "ACRES", m_acresc);
        literal(regi, "ACRESC", "2");
        literal(regi, "ACR_REAL", money(m_acresc.real));
    }
    if (m_deduc.valor > 0) {
        record("DD", m_deduc.lastType, "DEDUC", m_deduc);
        literal(regi, "DEDUC", "2");
        literal(regi, "DED_REAL", money(m_deduc.real));
    }
    t.close();
}

void DiNorvikWriter::fobSummary() {
    TDM& dm = m_ctx.dm;
    std::vector<std::string> withFob;
    for (const std::string& c : m_currencies)
        if (m_fobByCurrency[c] != 0)
            withFob.push_back(c);
    if (withFob.size() > 1) {
        openTable(m_ctx, dm.vkRIFOBS, "RIFOBS", {"RIFOBS"});
        tableStep(dm.vkRIFOBS);
        for (const std::string& c : withFob) {
            const std::string rate = money(NorvikFiles::exchangeRate(m_ctx, c, m_rateDate));
            openTable(m_ctx, dm.vkRIFOBS, "RIFOBS", {"RIFOBS"});
            DbfTable& t = dm.vkRIFOBS.table;
            t.append();
            literal(t, "REGISTRO", m_registro);
            literal(t, "MOEDA", c);
            literal(t, "TOTFOB", money(m_fobByCurrency[c]));
            literal(t, "TAXA", rate);
            literal(t, "FOB_ITENS", money(m_fobByCurrency[c] + m_additionsByCurrency[c]));
            t.post();
        }
        dm.vkRIFOBS.table.close();
        literal(dm.vkRIREGI.table, "FOBDVS", "S");
    }

    // The marks on the additions in the work file.
    NorvikFiles::openWorkFile(m_ctx, dm.vkRIADIC);
    DbfTable& adic = dm.vkRIADIC.table;
    const std::string fatura = m_acresc.valor > 0 ? "ACRES" : m_deduc.valor > 0 ? "DEDUC" : "";
    auto in = [](const std::vector<std::string>& list, const std::string& v) {
        return std::find(list.begin(), list.end(), v) != list.end();
    };
    for (bool more = adic.first(); more; more = adic.next()) {
        const std::string number = adic.text("ADICAO");
        adic.edit();
        literal(adic, "FATURA", fatura);
        if (in(m_cashAdditions, number))
            adic.setBool("FORMA_PG1", true);
        if (in(m_advanceAdditions, number))
            adic.setBool("FORMA_PG2", true);
        if (in(m_instalmentAdditions, number))
            adic.setBool("FORMA_PG3", true);
        adic.post();
    }
    adic.close();
}

// ------------------------------------------------------------------ 20: hand the additions over

void DiNorvikWriter::handOver() {
    const std::string folder = m_ctx.settings.norvikFolder();
    const std::string copyName = workCopyName(m_registro);
    const std::string target = joinPath(folder, copyName);
    const std::string work = joinPath(m_ctx.platform.programFolder(), "RIADIC_TEMP.DBF");
    // Both copies are written under a name of their own and then renamed, so the merge program never
    // reads half a work copy and a workstation never starts a merge program another is still copying.
    if (const int error = copyFileWhole(work, target, 0644)) {
        m_ctx.logs.error(WorkCopyProcedure, systemErrorText(error));
        m_ctx.op.message(WorkCopyFailure, Caption, MessageIcon::Error);
    }
    const std::string program = joinPath(folder, MergeProgram);
    int installError = 0;
    if (!m_ctx.platform.findFileNoCase(folder, MergeProgram))
        installError = copyFileWhole(joinPath(m_ctx.platform.programFolder(), MergeProgram), program, 0755);
    if (!m_ctx.platform.runProgram("\"" + program + "\" " + copyName, folder))
        m_ctx.logs.error("Iniciando " + std::string(MergeProgram),
                         "Não foi possível iniciar " + program +
                             (installError ? ": " + systemErrorText(installError) : std::string()));
}

// ------------------------------------------------------------------ 21: ICMS

void DiNorvikWriter::icms() {
    TDM& dm = m_ctx.dm;
    RecordSet& addition = dm.cdsXMLTPAux;
    bool same = true, first = true, reduced = false;
    std::string kind, rate;
    for (bindAdditions(); !addition.eof(); addition.next()) {
        const std::string k = trim(addition.text("TIPO_CALC_ICMS"));
        const std::string r = trim(addition.text("ALIQ_ICMS_ADIC"));
        if (!trim(addition.text("PERC_RED_ICMS")).empty())
            reduced = true;
        if (first) {
            kind = k;
            rate = r;
            first = false;
        } else if (k != kind || r != rate) {
            same = false;
        }
    }
    DbfTable& regi = dm.vkRIREGI.table;
    if (same && !reduced) {
        literal(regi, "ICMS", "2");
        if (!rate.empty())
            literal(regi, "ICMS_PE", rate);
    } else {
        literal(regi, "ICMS", "3");
    }
}
