#include "cadastros/RegistryImport.h"

#include "base/AppContext.h"
#include "base/AppError.h"
#include "base/Logs.h"
#include "base/Operator.h"
#include "base/TextUtils.h"
#include "cadastros/Registry.h"
#include "cadastros/RegistryOperations.h"
#include "data/TDM.h"
#include "import/ProcessImport.h"
#include "import/ProcessRecordSets.h"

RegistryImport::RegistryImport(AppContext& ctx, const Registry& registry) : m_ctx(ctx), m_registry(registry) {}

std::string RegistryImport::emptyFileWarning() const {
    return "Não existem registros a serem recebidos / atualizados ou o\rarquivo XML selecionado não possui um "
           "cadastro de " +
           m_registry.plural + ".";
}

std::string RegistryImport::progressTitle(const std::string& baseName) const {
    return "Iniciando importação do arquivo " + baseName + " para Cadastro de " + m_registry.name + "...";
}

std::string RegistryImport::stepText(int number, int count) {
    return "Recebendo Registro " + std::to_string(number) + " de " + std::to_string(count);
}

std::string RegistryImport::doneText(int inserted, int updated, int withoutCode) const {
    std::string text = "Importação do cadastro de " + m_registry.name +
                       " concluída com êxito!\rRegistros incluídos:   " + std::to_string(inserted) +
                       "\rRegistros atualizados: " + std::to_string(updated);
    if (withoutCode > 0)
        text += "\rRegistros sem código, não gravados: " + std::to_string(withoutCode) + " (veja o arquivo ERRO.CSV)";
    return text;
}

std::string RegistryImport::failureProcedure() const {
    return "Importando cadastro de " + m_registry.name + " (XML)";
}

std::string RegistryImport::failureText(const std::string& baseName, const std::string& failure) const {
    return "Erro ao importar cadastro de " + m_registry.name + " do arquivo XML " + baseName + "\rERRO: " + failure;
}

RegistryImport::Outcome RegistryImport::run() {
    const std::string file = m_ctx.op.openFile(DialogTitle, DialogFilter, DialogDefaultExt);
    if (file.empty())
        return Outcome{};
    return importFile(file);
}

RegistryImport::Outcome RegistryImport::importFile(const std::string& file) {
    const std::string baseName = processDocumentBaseName(file);
    try {
        return load(file, baseName);
    } catch (const std::exception& e) {
        // Whatever was written before the failing record stays: each statement was committed alone.
        TDM& dm = m_ctx.dm;
        m_ctx.logs.error(failureProcedure(), e.what());
        m_ctx.op.message(failureText(baseName, trim(e.what())), Caption, MessageIcon::Error);
        if (m_ctx.op.progressIsOpen())
            m_ctx.op.progressClose();
        if (IntegraTable* table = dm.integraTable(m_registry.table))
            table->close();
        dm.cdsXMLPrincipal.close();
        Outcome failed;
        failed.result = Result::Failed;
        return failed;
    }
}

RegistryImport::Outcome RegistryImport::load(const std::string& file, const std::string& baseName) {
    TDM& dm = m_ctx.dm;
    RegistryOperations ops(m_ctx, m_registry);
    IntegraTable& table = ops.table();

    // The main record set may still be bound as a process left it; start from the state every
    // process request starts from.
    resetProcessRecordSets(dm);
    dm.XMLTransformProvider.setXMLDataFile(file);
    dm.XMLTransformProvider.setTransformation(m_ctx.platform, transformFolder(m_ctx), m_registry.transformFile);
    RecordSet& records = dm.cdsXMLPrincipal;
    records.close();
    records.setCommandText("SELECT * FROM " + upperText(baseName));
    records.open();

    Outcome outcome;
    if (records.isEmpty()) {
        m_ctx.op.message(emptyFileWarning(), Caption, MessageIcon::Warning);
        records.close();
        outcome.result = Result::Empty;
        return outcome;
    }

    const int count = static_cast<int>(records.recordCount());
    m_ctx.op.progressOpen(0, count, progressTitle(baseName));
    int number = 0;
    for (records.first(); number < count; records.next()) {
        ++number;
        m_ctx.op.progressStep(number, count, stepText(number, count), true);
        m_ctx.op.processEvents();
        // Taken as the file gives them: the lookup uses the code with its blanks.
        const std::string code = records.text(m_registry.fileCodeField);
        const std::string description = records.text(m_registry.fileDescriptionField);
        // A record without a code would become a row nobody can look up: it is skipped and named in the
        // error log, and the records after it are imported all the same.
        if (trim(code).empty()) {
            m_ctx.logs.error(failureProcedure(), "O registro " + std::to_string(number) +
                                                     " do arquivo não tem código (" + m_registry.fileCodeField +
                                                     ") e não foi gravado.");
            ++outcome.withoutCode;
            continue;
        }
        // The row found is the row updated: looked up and updated by the same text, so a code with
        // a leading blank is found again at every later import.
        if (!table.query(ops.selectByCodeSql(code)).isEmpty()) {
            if (table.execute(ops.updateSql(code, description, code)) == 0)
                throw AppError("Nenhum registro com o código " + trim(code) + " foi encontrado; nada foi gravado.");
            ++outcome.updated;
        } else {
            table.execute(ops.insertSql(code, description));
            ++outcome.inserted;
        }
    }

    table.close();
    records.close();
    m_ctx.op.progressClose();
    m_ctx.op.message(doneText(outcome.inserted, outcome.updated, outcome.withoutCode), Caption,
                     outcome.withoutCode > 0 ? MessageIcon::Warning : MessageIcon::Information);
    outcome.result = Result::Imported;
    return outcome;
}
