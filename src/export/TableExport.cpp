#include "export/TableExport.h"

#include "base/AppContext.h"
#include "base/AppError.h"
#include "base/BusyGuard.h"
#include "base/Logs.h"
#include "base/Operator.h"
#include "base/Settings.h"
#include "base/TextUtils.h"
#include "data/OrientadorRowReader.h"
#include "data/TDM.h"
#include "export/CsvTableWriter.h"
#include "export/ExportTableList.h"
#include "export/StagedFile.h"
#include "export/TableExportProgress.h"
#include "export/XmlTableWriter.h"
#include "platform/Paths.h"

#include <memory>

namespace {

std::string busyText(const std::string& operation) {
    return "Há uma operação em andamento (" + operation + ").\rAguarde o término para exportar as tabelas.";
}

std::string joined(const std::vector<std::string>& names) {
    std::string text;
    for (const std::string& n : names)
        text += (text.empty() ? "" : ", ") + n;
    return text;
}

} // namespace

TableExport::TableExport(AppContext& ctx, TableExportProgress& progress) : m_ctx(ctx), m_progress(progress) {}

std::string TableExport::outputFile(TableExportFormat format, const std::string& folder, const std::string& arqXml) {
    if (format == TableExportFormat::Xml)
        return joinPath(folder, upperText(trim(arqXml)));
    const std::size_t length = charCount(arqXml);
    return joinPath(folder, charSub(arqXml, 0, length >= 3 ? length - 3 : 0) + "CSV");
}

void TableExport::closeOrientador() {
    m_ctx.dm.ADOTbl_IMPORT.close();
    m_ctx.dm.ADOCon_IMPORT.disconnect();
}

TableExportResult TableExport::saveFailed(TableExportResult result, const std::string& failure) {
    result.status = TableExportResult::Status::SaveFailed;
    result.failure = failure;
    m_ctx.logs.error(SaveProcedure, failure);
    // The file's name as the operator typed it may be in any case; the message shows it in capitals.
    const std::string shown = joinPath(folderOf(result.file), upperText(fileNameOf(result.file)));
    m_ctx.op.message(SaveFailureText + shown + SaveFailureAdvice, SaveFailureCaption, MessageIcon::Error);
    return result;
}

TableExportResult TableExport::run(const std::vector<std::string>& displayNames, TableExportFormat format,
                                   const std::string& folder) {
    TableExportResult result;
    // The export lets window messages through between rows; another long operation must not find the
    // shared Orientador connection switched under it, nor this one under another.
    if (BusyGuard::busy()) {
        result.status = TableExportResult::Status::Busy;
        m_ctx.op.message(busyText(BusyGuard::operation()), "Pelomira", MessageIcon::Information);
        return result;
    }
    BusyGuard busy(BusyOperation);
    m_ctx.logs.activity(StartLog);
    if (displayNames.empty())
        return result;

    const std::string outputFolder =
        trim(folder).empty() ? m_ctx.settings.read(Settings::Dados, Settings::KeyPastaXML) : folder;
    const std::string arqXml = m_ctx.settings.read(Settings::Dados, Settings::KeyArqXML);
    result.file = outputFile(format, outputFolder, arqXml);

    // The file is written beside its name while the tables are read and takes the name only when whole.
    std::unique_ptr<StagedFile> file;
    try {
        if (trim(arqXml).empty())
            throw AppError("o nome do arquivo (Arquivo XML para Exportação) está vazio nas configurações");
        file = std::make_unique<StagedFile>(result.file);
    } catch (const AppError& e) {
        return saveFailed(result, e.what());
    }
    std::unique_ptr<TableFileWriter> writer;
    if (format == TableExportFormat::Xml)
        writer = std::make_unique<XmlTableWriter>(*file);
    else
        writer = std::make_unique<CsvTableWriter>(*file);

    OrientadorDatabase& con = m_ctx.dm.ADOCon_IMPORT;
    OrientadorTable& tbl = m_ctx.dm.ADOTbl_IMPORT;
    const int count = static_cast<int>(displayNames.size());
    m_progress.started(count);
    m_ctx.op.processEvents();
    try {
        for (int i = 0; i < count; ++i) {
            const std::string& name = displayNames[static_cast<std::size_t>(i)];
            closeOrientador();
            con.setConnectionString(OrientadorDatabase::fileConnectionString(
                m_ctx.settings.read(Settings::Dados, Settings::KeyDados), OrientadorFile));
            m_progress.entryStarted(i, name);

            const std::optional<std::string> table = ExportTableList::tableOf(m_ctx.settings, name);
            if (!table || table->empty())
                throw AppError("A tabela \"" + name +
                               "\" não está na lista de tabelas das configurações do PELOMIRA (seção Tabelas)");
            result.exported.push_back(name);
            writer->beginTable(*table);

            // Another operation may have left a filter on the shared cursor: the export takes every row.
            tbl.setFiltered(false);
            tbl.setTableName(*table);
            con.connect(m_ctx.platform);
            tbl.open();
            const long long rows = tbl.recordCount();
            m_progress.rowsWritten(i, *table, 0, rows);
            writer->structure(tbl.fields());
            OrientadorRowReader reader(tbl);
            while (reader.next()) {
                writer->row(reader);
                if (reader.rowNumber() % RowsPerReport == 0) {
                    m_progress.rowsWritten(i, *table, reader.rowNumber(), rows);
                    m_ctx.op.processEvents();
                }
            }
            writer->endTable();
            m_progress.rowsWritten(i, *table, reader.rowNumber(), rows);

            m_ctx.op.processEvents();
            m_progress.entryDone(i, count, *table);
        }
        closeOrientador();
    } catch (const std::exception& e) {
        file->abandon();
        closeOrientador();
        result.status = TableExportResult::Status::Failed;
        result.failure = e.what();
        m_ctx.logs.reportFailure(FailureHeadline, e.what(), ExportProcedure);
        return result;
    }
    m_progress.finished();

    try {
        writer->finish();
        file->commit();
    } catch (const AppError& e) {
        return saveFailed(result, e.what());
    }
    m_ctx.logs.activity(EndLog + joined(result.exported) + ")");
    result.status = TableExportResult::Status::Saved;

    const int button = m_ctx.op.showMessage(DoneTitle, "Arquivo " + result.file + "\r" + DoneSuffix, "", ButtonSend,
                                            ButtonOpen, ButtonOk);
    if (button == 1) {
        try {
            m_ctx.op.openWithSystem(result.file, "", "");
        } catch (const std::exception&) {
            m_ctx.op.message(OpenFailure + result.file + "\r" + OpenFailureAdvice, "Pelomira", MessageIcon::None);
        }
    }
    m_progress.reset();
    return result;
}
