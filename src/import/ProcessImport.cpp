#include "import/ProcessImport.h"

#include "base/AppContext.h"
#include "base/AppError.h"
#include "base/Logs.h"
#include "base/Operator.h"
#include "base/Settings.h"
#include "base/TextUtils.h"
#include "data/TDM.h"
#include "data/XmlDocument.h"
#include "import/ProcessTransfers.h"
#include "platform/Paths.h"
#include "platform/Platform.h"

namespace {

const char* const Caption = "Pelomira";
const char* const LogStartOrientador = "Iniciando Importação de Processos para o SISCOMEX";
const char* const LogStartNorvik = "Iniciando Importação de Processos para o NORVIK";
const char* const TempFileName = "TEMP.XML";
const char* const DialogTitle = "Selecionar arquivo XML - Dados do Processo";
const char* const DialogFilter = "Arquivo XML|*.xml";
const char* const DialogDefaultExt = "*.XML";
const char* const MainTransform = "DI.xtr";
const char* const ReceivedDocumentName = "recebido do Merlin";

std::string impedimentLog(const std::string& id) {
    return "Processos não recebidos por impedimento (DI: " + id + ")";
}

std::string notAvailableText(ProcessDestination destination, ProcessKind kind) {
    return "A transferência de " + processKindName(kind) + " para o " + processDestinationName(destination) +
           " ainda não está disponível nesta versão do Pelomira.\rNada foi gravado.";
}

std::string failureProcedure(ProcessDestination destination) {
    return destination == ProcessDestination::Norvik ? "Importação de Processos para o NORVIK"
                                                     : "Importação de Processos para o SISCOMEX";
}

TransferOutcome runEntry(AppContext& ctx, ProcessDestination destination, const std::string& documentText,
                         const ProcessTransfers& transfers) {
    try {
        TransferOutcome ended;
        const auto document = runProcessPrologue(ctx, destination, documentText, ended);
        if (!document)
            return ended;
        // NORVIK receives every document as a DI: its entry reads the kind only to check it.
        const ProcessKind kind = destination == ProcessDestination::Norvik ? ProcessKind::DI : document->kind;
        ProcessTransfer* transfer = transfers.find(destination, kind);
        if (!transfer) {
            ctx.op.message(notAvailableText(destination, kind), Caption, MessageIcon::Information);
            return TransferOutcome::failed(notAvailableText(destination, kind));
        }
        return transfer->run(ctx, *document);
    } catch (const std::exception& e) {
        // The loading failures end here: nothing has been written yet.
        ctx.op.message(e.what(), Caption, MessageIcon::Error);
        ctx.logs.error(failureProcedure(destination), e.what());
        return TransferOutcome::failed(e.what());
    }
}

} // namespace

const char* const ProcessNotValidatedText = "XML NÃO VALIDADO!!!\rVerifique se o arquivo foi gerado corretamente "
                                            "\rou se foi selecionado o arquivo correto...";

std::string processImpedimentText(const std::string& id, const std::string& description) {
    return "IMPEDIMENTO NO PROCESSO " + id + "\r" + "Descrição: " + description + "\r" +
           "Este processo não será recebido!";
}

std::string transformFolder(AppContext& ctx) {
    const std::string folder = ctx.settings.read(Settings::Dados, Settings::KeyArqTransform);
    if (trim(folder).empty())
        return ctx.platform.programFolder() + "XTR";
    return folder;
}

std::string processDocumentBaseName(const std::string& file) {
    const std::string name = fileNameOf(file);
    const std::size_t count = charCount(name);
    if (count > 4)
        return charSub(name, 0, count - 4);
    // A name of four characters or fewer ("x.x") would leave nothing to name the records by: it names
    // them itself, without what follows its last dot.
    const std::size_t dot = name.rfind('.');
    return dot != std::string::npos && dot > 0 ? name.substr(0, dot) : name;
}

std::string obtainProcessDocumentFile(AppContext& ctx, const std::string& documentText) {
    if (documentText.empty()) {
        ctx.dm.xmlDocuments.clear();
        return ctx.op.openFile(DialogTitle, DialogFilter, DialogDefaultExt);
    }
    // Check the text before it replaces the last document kept in TEMP.XML.
    const auto document = XmlDocument::parseText(documentText, ReceivedDocumentName);
    const std::string path = joinPath(ctx.platform.programFolder(), TempFileName);
    document->saveUtf8(path);
    ctx.dm.xmlDocuments.put(path, document);
    return path;
}

ProcessDocumentStatus openProcessDocument(AppContext& ctx, const std::string& file, const std::string& folder) {
    TDM& dm = ctx.dm;
    dm.XMLTransformProvider.setXMLDataFile(file);
    dm.XMLTransformProvider.setTransformation(ctx.platform, folder, MainTransform);

    RecordSet& principal = dm.cdsXMLPrincipal;
    if (!principal.provider())
        principal.setProvider(&dm.XMLTransformProvider);
    principal.close();
    principal.setCommandText("SELECT * FROM " + upperText(processDocumentBaseName(file)));
    principal.open();

    const auto message = principal.value("MENSAGEM");
    if (message && !trim(*message).empty()) {
        const std::string id = trim(principal.text("ID_PROCESSO"));
        ctx.op.message(processImpedimentText(id, trim(*message)), Caption, MessageIcon::Error);
        ctx.logs.activity(impedimentLog(id));
        return ProcessDocumentStatus::Impeded;
    }
    // An identifier of blanks is none: the table preparation would take it for the rows that have none.
    const auto id = principal.value("ID_PROCESSO");
    if (!id || trim(*id).empty()) {
        ctx.op.message(ProcessNotValidatedText, Caption, MessageIcon::Error);
        return ProcessDocumentStatus::NotValidated;
    }
    return ProcessDocumentStatus::Loaded;
}

long long processKindCode(const RecordSet& principal) {
    const std::string text = trim(principal.text("TIPO_PROCESSO"));
    try {
        return toInteger(text);
    } catch (const AppError&) {
        throw AppError("TIPO_PROCESSO do processo " + trim(principal.text("ID_PROCESSO")) +
                       " inválido: " + quotedForMessage(text) + " não é um número inteiro. Nada foi gravado.");
    }
}

ProcessKind processKindOfCode(long long code) {
    switch (code) {
    case 2:
        return ProcessKind::LI;
    case 3:
        return ProcessKind::DSI;
    case 4:
        return ProcessKind::LSI;
    default:
        return ProcessKind::DI;
    }
}

std::optional<LoadedProcessDocument> runProcessPrologue(AppContext& ctx, ProcessDestination destination,
                                                        const std::string& documentText, TransferOutcome& ended) {
    const std::string folder = transformFolder(ctx);
    ctx.logs.activity(destination == ProcessDestination::Norvik ? LogStartNorvik : LogStartOrientador);
    const std::string file = obtainProcessDocumentFile(ctx, documentText);
    if (file.empty()) {
        ended = TransferOutcome::notConfirmed();
        return std::nullopt;
    }
    switch (openProcessDocument(ctx, file, folder)) {
    case ProcessDocumentStatus::Loaded:
        break;
    case ProcessDocumentStatus::Impeded:
        ended = TransferOutcome::failed("processo impedido: " + trim(ctx.dm.cdsXMLPrincipal.text("MENSAGEM")));
        ended.impeded.push_back(trim(ctx.dm.cdsXMLPrincipal.text("ID_PROCESSO")));
        return std::nullopt;
    case ProcessDocumentStatus::NotValidated:
        ended = TransferOutcome::failed(ProcessNotValidatedText);
        return std::nullopt;
    }
    LoadedProcessDocument document;
    document.file = file;
    document.transformFolder = folder;
    document.baseName = processDocumentBaseName(file);
    document.kind = processKindOfCode(processKindCode(ctx.dm.cdsXMLPrincipal));
    return document;
}

TransferOutcome importProcessToOrientador(AppContext& ctx, const std::string& documentText,
                                          const ProcessTransfers& transfers) {
    return runEntry(ctx, ProcessDestination::Orientador, documentText, transfers);
}

TransferOutcome importProcessToNorvik(AppContext& ctx, const std::string& documentText,
                                      const ProcessTransfers& transfers) {
    return runEntry(ctx, ProcessDestination::Norvik, documentText, transfers);
}
