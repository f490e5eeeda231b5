#include "import/OrientadorTransfer.h"

#include "base/AppContext.h"
#include "base/BusyGuard.h"
#include "base/Logs.h"
#include "base/Operator.h"
#include "base/Settings.h"
#include "base/TextUtils.h"
#include "data/OrientadorDatabase.h"
#include "data/OrientadorTable.h"
#include "data/TDM.h"
#include "import/GRAVACAMPO.h"
#include "import/ProcessImport.h"
#include "platform/Paths.h"
#include "platform/Platform.h"

#include <algorithm>
#include <exception>

namespace {

const char* const OpenFailureProcedure = "Abrindo o Orientador - SISCOMEX";

// One unit on its file: the connection is opened on the file (in the form the table preparation uses,
// which keeps it), the run's transaction begun with the file's write lock taken before anything is
// removed, and the unit's savepoint set. Unless kept, everything the unit removed and wrote is dropped
// when it goes; the units before it stay in the transaction. The connection stays open for the next unit
// of the run, so the file's statements and write-ahead log are not set up again.
class UnitTransaction {
public:
    UnitTransaction(TransferRun& run, const std::string& baseName) : m_ctx(run.ctx) {
        OrientadorDatabase& con = m_ctx.dm.ADOCon_IMPORT;
        const std::string connection = OrientadorDatabase::preparationConnectionString(*run.folder, baseName);
        if (con.connected() && con.connectionString() != connection)
            con.disconnect();
        if (!con.connected()) {
            con.setConnectionString(connection);
            con.connect(m_ctx.platform);
            con.useWriteAheadLog();
        }
        if (!con.inTransaction())
            run.transactionStart = std::chrono::steady_clock::now();
        con.beginUnit();
    }
    ~UnitTransaction() {
        if (!m_kept) {
            OrientadorTable& tbl = m_ctx.dm.ADOTbl_IMPORT;
            if (tbl.active())
                tbl.cancel();
            m_ctx.dm.ADOCon_IMPORT.rollbackUnit();
        }
    }
    UnitTransaction(const UnitTransaction&) = delete;
    UnitTransaction& operator=(const UnitTransaction&) = delete;

    /// Posts what is pending and keeps the unit in the run's transaction.
    void keep() {
        OrientadorTable& tbl = m_ctx.dm.ADOTbl_IMPORT;
        if (tbl.state() == OrientadorTable::State::Insert || tbl.state() == OrientadorTable::State::Edit)
            tbl.post();
        tbl.close();
        m_ctx.dm.ADOCon_IMPORT.releaseUnit();
        m_kept = true;
    }

private:
    AppContext& m_ctx;
    bool m_kept = false;
};

} // namespace

std::string OrientadorTransfer::busyText() const {
    return std::string("Transferência de ") + m_kind.name + " para o Orientador - SISCOMEX";
}

std::string OrientadorTransfer::failureText(const std::string& step, const std::string& failure) {
    return std::string(TransferFailureHeadline) + "\r\rProcedimento: " + step + "\r" + "ERRO: " + failure;
}

std::string OrientadorTransfer::joined(const std::vector<std::string>& ids) {
    std::string text;
    for (const std::string& id : ids)
        text += (text.empty() ? "" : ", ") + id;
    return text;
}

TransferOutcome OrientadorTransfer::run(AppContext& ctx, const LoadedProcessDocument& document) {
    BusyGuard busy(busyText());
    if (!ctx.op.askYesNo(ConfirmText, std::string("Pelomira - ") + m_kind.name, MessageIcon::Question))
        return TransferOutcome::notConfirmed();

    TransferRun run{ctx, document, {}, {}};
    RecordSet& principal = ctx.dm.cdsXMLPrincipal;
    bool failed = false;
    try {
        principal.first();
        const std::size_t count = principal.recordCount();
        for (std::size_t i = 0; i < count; ++i) {
            if (!transferProcess(run))
                break;
            principal.next();
        }
        commitUnits(run);
    } catch (const std::exception& e) {
        reportFailure(run, e.what());
        failed = true;
    }
    // The file is let go before the closing window, which may wait on the operator.
    ctx.dm.ADOCon_IMPORT.disconnect();
    run.outcome.fieldErrors = run.progress.fieldErrors;
    if (!failed || m_kind.closesAfterFailure)
        finish(run);

    TransferOutcome& o = run.outcome;
    if (failed || !o.failure.empty())
        o.status = TransferStatus::Failed;
    else if (o.transferred.empty())
        o.status = TransferStatus::Failed;
    else
        o.status = o.fieldErrors > 0 ? TransferStatus::TransferredWithFieldErrors : TransferStatus::Transferred;
    if (o.status == TransferStatus::Failed && o.failure.empty())
        o.failure = std::string("nenhum ") + m_kind.name + " foi transferido";
    return o;
}

std::string OrientadorTransfer::writeUnit(TransferRun& run, const std::string& id,
                                          const std::function<void(const std::string&)>& write) {
    Operator& op = run.ctx.op;
    const int preparationSteps = m_kind.preparation.steps();
    run.progress.reset(preparationSteps);
    op.progressOpen(0, preparationSteps, PreparingText);
    // Every unit of a run goes into the same file: the settings are read for the first one only.
    if (!run.folder)
        run.folder = run.ctx.settings.read(Settings::Dados, Settings::KeyDados);
    if (run.ctx.dm.ADOCon_IMPORT.inTransaction() &&
        std::chrono::steady_clock::now() - run.transactionStart >= std::chrono::milliseconds(GroupCommitMs))
        commitUnits(run);
    UnitTransaction transaction(run, m_kind.preparation.baseName);
    const std::string key = prepareUnit(run.ctx, run.progress, m_kind.preparation, id);
    op.progressClose();

    run.progress.reset(m_kind.tableCount);
    op.progressOpen(0, m_kind.tableCount, StartingText);
    write(key);
    transaction.keep();
    op.progressClose();
    return key;
}

void OrientadorTransfer::commitUnits(TransferRun& run) {
    OrientadorDatabase& con = run.ctx.dm.ADOCon_IMPORT;
    const std::size_t reported = run.outcome.transferred.size();
    if (con.connected() && con.inTransaction()) {
        con.commit();
        run.committed = reported;
    } else {
        // Without a transaction nothing waits for a commit, unless the file dropped the transaction.
        run.committed = std::min(run.committed, reported);
    }
}

void OrientadorTransfer::reportFailure(TransferRun& run, const std::string& failure) {
    AppContext& ctx = run.ctx;
    const std::string step = ctx.op.progressText();
    // The unit being written was dropped as the failure left it (UnitTransaction); the units before it
    // are committed, and the file let go, before the operator reads the message, so the file is not held
    // meanwhile.
    OrientadorDatabase& con = ctx.dm.ADOCon_IMPORT;
    if (ctx.dm.ADOTbl_IMPORT.active())
        ctx.dm.ADOTbl_IMPORT.cancel();
    std::string lost = "o arquivo " + con.fileName() + " desfez a gravação";
    try {
        commitUnits(run);
    } catch (const std::exception& e) {
        lost = e.what();
    }
    // A file that dropped the whole transaction (a full disk does), or refused its commit, kept none of
    // the units since the last commit: they are not reported as transferred.
    if (run.committed < run.outcome.transferred.size()) {
        auto& transferred = run.outcome.transferred;
        for (std::size_t i = run.committed; i < transferred.size(); ++i)
            ctx.logs.error(step, std::string(m_kind.name) + " " + transferred[i] + " não foi gravada: " + lost);
        transferred.resize(run.committed);
    }
    con.disconnect();
    ctx.op.message(failureText(step, failure), Caption, MessageIcon::Error);
    ctx.logs.error(step, failure);
    if (ctx.op.progressIsOpen())
        ctx.op.progressClose();
    run.outcome.failure = failure;
}

void OrientadorTransfer::reportImpediment(TransferRun& run, const std::string& id, const std::string& description) {
    commitUnits(run);
    run.ctx.op.message(processImpedimentText(trim(id), trim(description)), Caption, MessageIcon::Error);
    run.outcome.impeded.push_back(trim(id));
}

void OrientadorTransfer::showClosing(TransferRun& run, const std::string& text) {
    if (run.ctx.op.showMessage(Caption, text, "", "", OpenButton, OkButton) == OpenButtonResult)
        openProgram(run);
}

void OrientadorTransfer::openProgram(TransferRun& run) {
    AppContext& ctx = run.ctx;
    const std::string folder = ctx.settings.read(Settings::Dados, Settings::KeyDados);
    const auto found = ctx.platform.findFileNoCase(folder, m_kind.program);
    const std::string program = found ? *found : joinPath(folder, m_kind.program);
    try {
        ctx.op.openWithSystem(program, std::string(), folder);
    } catch (const std::exception& e) {
        ctx.op.message(OpenFailure, Caption, MessageIcon::Error);
        ctx.logs.error(OpenFailureProcedure, e.what());
        run.outcome.programStartFailed = true;
    }
}
