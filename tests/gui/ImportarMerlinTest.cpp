// The process request window and the main window's commands that open it, against a real HTTP
// server on 127.0.0.1 in the test process.
#include "ShellWorld.h"
#include "app/QtCommandWiring.h"
#include "app/TfrmPrincipal.h"
#include "base/BusyGuard.h"
#include "base/QtOperator.h"
#include "gui/GuiTests.h"
#include "import/ProcessTransfers.h"
#include "import/TfrmImportar_Merlin.h"

#include <QAction>
#include <QButtonGroup>
#include <QCheckBox>
#include <QDate>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QToolButton>

#include <httplib.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <functional>
#include <mutex>
#include <thread>

namespace {

const char* const SampleDi = "DI_VARIAS_ADICOES.xml";
const char* const SampleDiId = "2026001534";
const char* const NotAvailableDiOrientador =
    "A transferência de DI para o Orientador - SISCOMEX ainda não está disponível nesta versão do Pelomira.\r"
    "Nada foi gravado.";
const char* const NotAvailableDiNorvik =
    "A transferência de DI para o NORVIK ainda não está disponível nesta versão do Pelomira.\rNada foi gravado.";
const char* const FileDialogTitle = "Selecionar arquivo XML - Dados do Processo";
const char* const LogOrientador = "Iniciando Importação de Processos para o SISCOMEX";
const char* const LogNorvik = "Iniciando Importação de Processos para o NORVIK";

std::string sample(const std::string& name) {
    return TestEnv::readFile(TestEnv::shareFolder() + "/samples/" + name);
}

/// A Merlin look-alike: the process operations answer with the sample DI, a reference "FALHA" with
/// HTTP 500. It notes every request target.
class MerlinServer {
public:
    MerlinServer() {
        m_server.Get(".*", [this](const httplib::Request& req, httplib::Response& res) {
            {
                std::lock_guard<std::mutex> lock(m_mutex);
                m_targets.push_back(req.target);
            }
            if (req.get_param_value("P_TRAMITE") == "FALHA") {
                res.status = 500;
                res.set_content("falhou", "text/plain");
                return;
            }
            res.set_content(sample(SampleDi), "text/xml");
        });
        m_port = m_server.bind_to_any_port("127.0.0.1");
        m_thread = std::thread([this] { m_server.listen_after_bind(); });
        // stop() only reaches a server that runs.
        while (!m_server.is_running())
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    ~MerlinServer() {
        m_server.stop();
        m_thread.join();
    }
    std::string webService() const {
        return "http://127.0.0.1:" + std::to_string(m_port) + "/invoke/amDGFLatamMerlin.services";
    }
    std::vector<std::string> targets() {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_targets;
    }

private:
    httplib::Server m_server;
    int m_port = 0;
    std::thread m_thread;
    std::mutex m_mutex;
    std::vector<std::string> m_targets;
};

/// A port on 127.0.0.1 where nothing listens (bound once, then closed).
int closedPort() {
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ::bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr);
    socklen_t len = sizeof addr;
    ::getsockname(fd, reinterpret_cast<sockaddr*>(&addr), &len);
    ::close(fd);
    return ntohs(addr.sin_port);
}

/// The shell world pointed at the server and at the repository's transformation files.
struct ImportWorld : ShellWorld {
    MerlinServer server;
    ImportWorld() {
        settings.write(Settings::Dados, Settings::KeyWebService, server.webService());
        settings.write(Settings::Dados, Settings::KeyArqTransform, TestEnv::shareFolder() + "/xtr");
        settings.write(Settings::Dados, Settings::KeyTimeoutConexao, "5");
        settings.write(Settings::Dados, Settings::KeyTimeoutTotal, "20");
    }
    std::string activityLog() { return TestEnv::readFile(env.home() + Logs::ActivityFile); }
    std::string errorLog() {
        const std::string path = env.home() + Logs::ErrorFile;
        return TestEnv::exists(path) ? TestEnv::readFile(path) : std::string();
    }
    std::vector<std::string> kinds() {
        std::vector<std::string> k;
        for (const auto& c : op.calls())
            k.push_back(c.kind);
        return k;
    }
};

QString q(const char* text) {
    return QString::fromUtf8(text);
}

QStringList kindItems(const TfrmImportar_Merlin& w) {
    QStringList items;
    for (QAbstractButton* b : w.rgTipoProcessoItems->buttons())
        items << QString::number(w.rgTipoProcessoItems->id(b)) + QLatin1Char('=') + b->text();
    return items;
}

} // namespace

class ImportarMerlinTest : public QObject {
    Q_OBJECT
private slots:
    void windowLayoutAndCreation() {
        ShellWorld world;
        auto* w = new TfrmImportar_Merlin(world.ctx, ProcessTransfers());
        QPointer<TfrmImportar_Merlin> guard(w);
        QCOMPARE(TfrmImportar_Merlin::latest(), w);
        QCOMPARE(w->windowTitle(), q("Importação - MERLIN"));
        QCOMPARE(w->size(), QSize(273, 193));
        QCOMPARE(w->minimumSize(), w->maximumSize()); // single border: not resizable
        QVERIFY(w->windowFlags() & Qt::WindowMinimizeButtonHint);
        QVERIFY(w->windowFlags() & Qt::WindowSystemMenuHint);
        QVERIFY(!(w->windowFlags() & Qt::WindowMaximizeButtonHint));
        QVERIFY(!w->isModal());
        QCOMPARE(w->gbImportarPara->title(), q(" Importar para: "));
        QCOMPARE(w->cbSISCOMEX->parent(), w->gbImportarPara);
        QCOMPARE(w->cbNORVIK->parent(), w->gbImportarPara);
        QCOMPARE(w->cbSISCOMEX->text(), q("SISCOMEX"));
        QCOMPARE(w->cbNORVIK->text(), q("NORVIK"));
        QCOMPARE(w->rgTipoProcesso->title(), q(" Tipo de Processo: "));
        QCOMPARE(kindItems(*w), (QStringList{"0=DI", "1=LI", "2=DSI", "3=LSI"}));
        QCOMPARE(w->lblProcesso_Merlin->text(), q("Referência do Processo:"));
        QCOMPARE(w->lblAno->text(), q("Ano:"));
        QVERIFY(w->edAno->width() < w->edProcesso_Merlin->width() / 2);
        QCOMPARE(w->cbManual->text(), q("Manual"));
        QCOMPARE(w->btnImportar_Merlin->text(), q("&Importar"));
        for (const char* name : {"gbImportarPara", "cbSISCOMEX", "cbNORVIK", "rgTipoProcesso", "edProcesso_Merlin",
                                 "edAno", "cbManual", "btnImportar_Merlin"})
            QVERIFY2(w->findChild<QWidget*>(name), name);
        // Every control inside the client area.
        for (QWidget* c : w->findChildren<QWidget*>())
            QVERIFY2(w->rect().contains(QRect(c->mapTo(w, QPoint(0, 0)), c->size())), qPrintable(c->objectName()));

        // FormCreate: DI, this year, nothing ticked.
        QCOMPARE(w->tipoProcesso(), 0);
        QCOMPARE(w->edAno->text(), QString::number(QDate::currentDate().year()));
        QVERIFY(!w->cbSISCOMEX->isChecked() && !w->cbNORVIK->isChecked() && !w->cbManual->isChecked());
        QVERIFY(w->rgTipoProcesso->isEnabled());

        // A second window becomes the reference; closing frees a window and clears the reference.
        auto* second = new TfrmImportar_Merlin(world.ctx, ProcessTransfers());
        QCOMPARE(TfrmImportar_Merlin::latest(), second);
        second->show();
        second->close();
        QTest::qWait(0);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!TfrmImportar_Merlin::latest());
        QVERIFY(guard); // the first window is still there
        delete w;
    }

    void norvikBoxTogglesTheKindChoiceAndKeepsTheSelection() {
        ShellWorld world;
        TfrmImportar_Merlin w(world.ctx, ProcessTransfers());
        w.show();
        w.setTipoProcesso(2);
        QTest::mouseClick(w.cbNORVIK, Qt::LeftButton);
        QVERIFY(w.cbNORVIK->isChecked());
        QVERIFY(!w.rgTipoProcesso->isEnabled());
        QCOMPARE(w.tipoProcesso(), 2);
        QTest::mouseClick(w.cbNORVIK, Qt::LeftButton);
        QVERIFY(w.rgTipoProcesso->isEnabled());
        QCOMPARE(w.tipoProcesso(), 2);
        // Ticked by the program it disables the choice as well (the NORVIK preset relies on it).
        w.cbNORVIK->setChecked(true);
        QVERIFY(!w.rgTipoProcesso->isEnabled());
    }

    void commandsResetTheRecordSetsAndPresetANewWindow_data() {
        QTest::addColumn<int>("hotKey");
        QTest::addColumn<int>("kind");
        QTest::addColumn<bool>("norvik");
        QTest::newRow("Buscar DI, ALT+Y") << 3 << 0 << false;
        QTest::newRow("Buscar LI, ALT+K") << 4 << 1 << false;
        QTest::newRow("Buscar DSI, ALT+Z") << 5 << 2 << false;
        QTest::newRow("Buscar LSI, ALT+W") << 6 << 3 << false;
        QTest::newRow("NORVIK, ALT+X") << 7 << 0 << true;
    }
    void commandsResetTheRecordSetsAndPresetANewWindow() {
        QFETCH(int, hotKey);
        QFETCH(int, kind);
        QFETCH(bool, norvik);
        ShellWorld world;
        auto principal = std::make_unique<TfrmPrincipal>(world.ctx);
        QtOperator qtOp(*world.platform);
        wireMainCommands(*principal, qtOp, world.ctx);
        // Leftovers of an earlier transfer: a foreign provider.
        world.dm.cdsXMLPrincipal.setProvider(&world.dm.XMLTPAux);
        world.dm.cdsXMLAdicao.setProvider(&world.dm.XMLTransformProvider);

        principal->hotKey(hotKey);
        QPointer<TfrmImportar_Merlin> first = TfrmImportar_Merlin::latest();
        QVERIFY(first);
        QVERIFY(first->isVisible());
        QCOMPARE(world.dm.cdsXMLPrincipal.provider(), &world.dm.XMLTransformProvider);
        QCOMPARE(world.dm.cdsXMLAux.provider(), &world.dm.XMLTransformProvider);
        QCOMPARE(world.dm.cdsXMLAdicao.provider(), &world.dm.XMLTPAux);
        QCOMPARE(world.dm.cdsXMLTaxas.provider(), &world.dm.XMLTPAux);
        QCOMPARE(first->tipoProcesso(), kind);
        QCOMPARE(first->cbSISCOMEX->isChecked(), !norvik);
        QCOMPARE(first->cbNORVIK->isChecked(), norvik);
        QVERIFY(!first->cbManual->isChecked());
        QCOMPARE(first->rgTipoProcesso->isEnabled(), !norvik);
        QCOMPARE(first->focusWidget(), first->edProcesso_Merlin);
        QCOMPARE(first->edAno->text(), QString::number(QDate::currentDate().year()));

        // The same command again: a new window, the first stays open.
        principal->hotKey(hotKey);
        QVERIFY(TfrmImportar_Merlin::latest() != first.data());
        QVERIFY(first && first->isVisible());
        // The windows go with the main window.
        QPointer<TfrmImportar_Merlin> second = TfrmImportar_Merlin::latest();
        principal.reset();
        QVERIFY(!first && !second);
    }

    void menuAndToolButtonOpenTheRequestWindow() {
        ShellWorld world;
        TfrmPrincipal principal(world.ctx);
        QtOperator qtOp(*world.platform);
        wireMainCommands(principal, qtOp, world.ctx);
        const std::pair<std::function<void()>, int> ways[] = {
            {[&] { principal.ToolButton1->click(); }, 0},  {[&] { principal.SISCOMEX1->trigger(); }, 0},
            {[&] { principal.BuscarLI1->trigger(); }, 1},  {[&] { principal.BuscarDSI1->trigger(); }, 2},
            {[&] { principal.BuscarLSI1->trigger(); }, 3}, {[&] { principal.NORVIK1->trigger(); }, 0}};
        TfrmImportar_Merlin* previous = nullptr;
        for (const auto& [run, kind] : ways) {
            run();
            TfrmImportar_Merlin* w = TfrmImportar_Merlin::latest();
            QVERIFY(w && w != previous);
            QCOMPARE(w->tipoProcesso(), kind);
            previous = w;
        }
        QVERIFY(previous->cbNORVIK->isChecked() && !previous->cbSISCOMEX->isChecked());
    }

    void importMenuBlockedUnlessAcimtbIsZero() {
        ShellWorld world;
        world.settings.write(Settings::Tabelas, Settings::KeyACIMTB, "1");
        TfrmPrincipal principal(world.ctx);
        QtOperator qtOp(*world.platform);
        wireMainCommands(principal, qtOp, world.ctx);
        for (QAction* a :
             {principal.SISCOMEX1, principal.BuscarLI1, principal.BuscarDSI1, principal.BuscarLSI1, principal.NORVIK1})
            QVERIFY2(!a->isEnabled(), qPrintable(a->objectName()));
        QVERIFY(!principal.ToolButton1->isEnabled());
        QPointer<TfrmImportar_Merlin> before = TfrmImportar_Merlin::latest();
        for (int id = 3; id <= 7; ++id)
            principal.hotKey(id);
        principal.ToolButton1->click();
        QCOMPARE(TfrmImportar_Merlin::latest(), before.data());
    }

    void manualAsksNothingAndTheTransferAsksForTheFile() {
        ImportWorld world;
        TfrmImportar_Merlin w(world.ctx, ProcessTransfers());
        w.preset(0, false);
        w.show();
        w.edProcesso_Merlin->setText("IMP 01");
        QTest::mouseClick(w.cbManual, Qt::LeftButton);
        world.op.queueFile(TestEnv::shareFolder() + "/samples/" + SampleDi);
        QTest::mouseClick(w.btnImportar_Merlin, Qt::LeftButton);

        QVERIFY(world.server.targets().empty());
        const auto files = world.op.callsOf("openFile");
        QCOMPARE(files.size(), std::size_t(1));
        QCOMPARE(files[0].text, std::string(FileDialogTitle));
        QVERIFY(world.op.callsOf("waitOpen").empty());
        // The chosen file is loaded and reaches the DI dispatch: not built yet, and said so.
        QCOMPARE(world.dm.cdsXMLPrincipal.text("ID_PROCESSO"), std::string(SampleDiId));
        QCOMPARE(world.op.messages(), std::vector<std::string>{NotAvailableDiOrientador});
        QVERIFY(!TestEnv::exists(world.env.home() + "TEMP.XML"));
        QVERIFY(w.isVisible());
        QVERIFY(w.btnImportar_Merlin->isEnabled());
    }

    void requestHandsTheDocumentToTheOrientadorEntry() {
        ImportWorld world;
        TfrmImportar_Merlin w(world.ctx, ProcessTransfers());
        w.preset(2, false); // DSI is asked through receiveDIrequest
        w.show();
        w.edProcesso_Merlin->setText("IMP 01");
        w.edAno->setText("2026 ");
        QTest::mouseClick(w.btnImportar_Merlin, Qt::LeftButton);

        QCOMPARE(world.server.targets(),
                 std::vector<std::string>{
                     "/invoke/amDGFLatamMerlin.services:receiveDIrequest?P_CIA=10&P_TRAMITE=IMP%2001&P_ANO=2026"});
        QCOMPARE(world.kinds(), (std::vector<std::string>{"waitOpen", "waitClose", "message"}));
        const std::string temp = world.env.home() + "TEMP.XML";
        QVERIFY(TestEnv::exists(temp));
        QVERIFY(TestEnv::readFile(temp).find(SampleDiId) != std::string::npos);
        QVERIFY(world.dm.cdsXMLPrincipal.active());
        QCOMPARE(world.dm.cdsXMLPrincipal.commandText(), std::string("SELECT * FROM TEMP"));
        QCOMPARE(world.dm.cdsXMLPrincipal.text("ID_PROCESSO"), std::string(SampleDiId));
        QCOMPARE(world.op.messages(), std::vector<std::string>{NotAvailableDiOrientador});
        QVERIFY(world.activityLog().find(LogOrientador) != std::string::npos);
        QVERIFY(world.activityLog().find(LogNorvik) == std::string::npos);
        QVERIFY(world.errorLog().empty());

        // The window stays ready for the next reference; LSI goes through receiveLIrequest.
        QVERIFY(w.isVisible());
        w.setTipoProcesso(3);
        w.edProcesso_Merlin->setText("IMP02");
        world.op.clear();
        QTest::mouseClick(w.btnImportar_Merlin, Qt::LeftButton);
        QCOMPARE(world.server.targets().back(),
                 std::string("/invoke/amDGFLatamMerlin.services:receiveLIrequest?P_CIA=10&P_TRAMITE=IMP02&P_ANO=2026"));
    }

    void failedRequestIsReportedAndTheTransferAsksForTheFile_data() {
        QTest::addColumn<bool>("serverDown");
        QTest::newRow("HTTP 500") << false;
        QTest::newRow("server down") << true;
    }
    void failedRequestIsReportedAndTheTransferAsksForTheFile() {
        QFETCH(bool, serverDown);
        ImportWorld world;
        std::string base = world.server.webService();
        if (serverDown) {
            base = "http://127.0.0.1:" + std::to_string(closedPort()) + "/invoke/amDGFLatamMerlin.services";
            world.settings.write(Settings::Dados, Settings::KeyWebService, base);
        }
        TfrmImportar_Merlin w(world.ctx, ProcessTransfers());
        w.preset(0, false);
        w.show();
        w.edProcesso_Merlin->setText(serverDown ? "IMP 01" : "FALHA");
        w.edAno->setText("2026");
        world.op.queueFile(""); // the operator cancels the file dialog
        QTest::mouseClick(w.btnImportar_Merlin, Qt::LeftButton);

        const std::string reference = serverDown ? "IMP%2001" : "FALHA";
        const std::string address = base + ":receiveDIrequest?P_CIA=10&P_TRAMITE=" + reference + "&P_ANO=2026";
        QCOMPARE(world.kinds(), (std::vector<std::string>{"waitOpen", "message", "waitClose", "openFile"}));
        const auto box = world.op.callsOf("message").at(0);
        QCOMPARE(box.caption, "Erro ao consultar WebService - Processo " + reference);
        QCOMPARE(box.icon, MessageIcon::Error);
        std::string upper = address;
        for (char& c : upper)
            if (c >= 'a' && c <= 'z')
                c = static_cast<char>(c - 'a' + 'A');
        QCOMPARE(box.text, "Falha na consulta ao WebService\r" + upper +
                               "\rPor favor verifique se a URL está correta ou se\r"
                               "a conexão com a Internet está ativa neste terminal.");
        const std::string line = "Procedimento: Consultando WebService (" + address + ") - Erro: ";
        QVERIFY2(world.errorLog().find(line) != std::string::npos, world.errorLog().c_str());
        QCOMPARE(world.op.callsOf("openFile").at(0).text, std::string(FileDialogTitle));
        // Cancelled: nothing loaded, nothing more said, TEMP.XML not written.
        QVERIFY(!TestEnv::exists(world.env.home() + "TEMP.XML"));
        QVERIFY(!world.dm.cdsXMLPrincipal.active());
        QVERIFY(w.isVisible() && w.btnImportar_Merlin->isEnabled());
    }

    void norvikOnlyForDiAndLiAndAfterSiscomex() {
        ImportWorld world;
        {
            // Kind DSI chosen before NORVIK was ticked: the NORVIK entry does not run.
            TfrmImportar_Merlin w(world.ctx, ProcessTransfers());
            w.setTipoProcesso(2);
            w.cbNORVIK->setChecked(true);
            QTest::mouseClick(w.btnImportar_Merlin, Qt::LeftButton);
            QCOMPARE(world.op.messages(), std::vector<std::string>{});
            QVERIFY(world.op.callsOf("openFile").empty());
            QVERIFY(!TestEnv::exists(world.env.home() + Logs::ActivityFile));
        }
        {
            // Kind LI: the NORVIK entry runs (it takes every document as a DI).
            world.op.clear();
            TfrmImportar_Merlin w(world.ctx, ProcessTransfers());
            w.setTipoProcesso(1);
            w.cbNORVIK->setChecked(true);
            QTest::mouseClick(w.btnImportar_Merlin, Qt::LeftButton);
            QVERIFY(world.server.targets().back().find(":receiveLIrequest?") != std::string::npos);
            QCOMPARE(world.op.messages(), std::vector<std::string>{NotAvailableDiNorvik});
        }
        {
            // Both ticked: one request, the SISCOMEX transfer first, then NORVIK, same document.
            world.op.clear();
            const auto asked = world.server.targets().size();
            TfrmImportar_Merlin w(world.ctx, ProcessTransfers());
            w.cbSISCOMEX->setChecked(true);
            w.cbNORVIK->setChecked(true);
            QTest::mouseClick(w.btnImportar_Merlin, Qt::LeftButton);
            QCOMPARE(world.server.targets().size(), asked + 1);
            QCOMPARE(world.op.messages(), (std::vector<std::string>{NotAvailableDiOrientador, NotAvailableDiNorvik}));
            const std::string log = world.activityLog();
            const auto siscomex = log.rfind(LogOrientador);
            const auto norvik = log.rfind(LogNorvik);
            QVERIFY(siscomex != std::string::npos && norvik != std::string::npos && siscomex < norvik);
        }
        QVERIFY(world.op.unexpected().empty());
    }

    void norvikCommandEndToEnd() {
        if (ProcessTransfers::available().find(ProcessDestination::Norvik, ProcessKind::DI))
            QSKIP("The NORVIK DI transfer exists; its own tests cover what follows the hand-over.");
        ImportWorld world;
        TfrmPrincipal principal(world.ctx);
        QtOperator qtOp(*world.platform);
        wireMainCommands(principal, qtOp, world.ctx);
        principal.hotKey(7); // ALT+X
        TfrmImportar_Merlin* w = TfrmImportar_Merlin::latest();
        QVERIFY(w);
        QTest::keyClicks(w->edProcesso_Merlin, "IMP 01");
        QTest::mouseClick(w->btnImportar_Merlin, Qt::LeftButton);
        QCOMPARE(world.server.targets().size(), std::size_t(1));
        QCOMPARE(world.op.messages(), std::vector<std::string>{NotAvailableDiNorvik});
        QVERIFY(world.activityLog().find(LogNorvik) != std::string::npos);
        QVERIFY(world.activityLog().find(LogOrientador) == std::string::npos);
        QVERIFY(w->isVisible());
    }
};

/// An operator that looks at the window while the transfer asks for the file.
class ProbingOperator : public ScriptedOperator {
public:
    std::function<void()> onOpenFile;
    std::string openFile(const std::string& title, const std::string& filter, const std::string& defaultExt) override {
        if (onOpenFile)
            onOpenFile();
        return ScriptedOperator::openFile(title, filter, defaultExt);
    }
};

class ImportarMerlinBusyTest : public QObject {
    Q_OBJECT
private slots:
    void nothingReentersARunningImport() {
        TestEnv env;
        auto platform = Platform::createNative();
        ProbingOperator op;
        Settings settings(*platform);
        settings.writeFirstRunDefaults();
        settings.write(Settings::Dados, Settings::KeyAtualiza, env.path("Atualizacao"));
        settings.write(Settings::Dados, Settings::KeyArqTransform, TestEnv::shareFolder() + "/xtr");
        Logs logs(*platform, op);
        TDM dm;
        AppContext ctx{*platform, op, settings, logs, dm};
        TfrmPrincipal principal(ctx);
        QtOperator qtOp(*platform);
        wireMainCommands(principal, qtOp, ctx);

        auto* w = new TfrmImportar_Merlin(ctx, ProcessTransfers());
        QPointer<TfrmImportar_Merlin> guard(w);
        w->preset(0, false);
        w->cbManual->setChecked(true);
        w->show();
        bool busy = false, buttonEnabled = true, closed = true;
        QPointer<TfrmImportar_Merlin> other;
        dm.cdsXMLPrincipal.setProvider(&dm.XMLTPAux); // as a transfer might leave it meanwhile
        bool probed = false;
        op.onOpenFile = [&] {
            if (probed)
                return;
            probed = true;
            busy = BusyGuard::busy();
            buttonEnabled = w->btnImportar_Merlin->isEnabled();
            // A click that got through, a close, and a hot key with a click in the new window.
            w->btnImportar_MerlinClick();
            closed = w->close();
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
            principal.hotKey(3);
            other = TfrmImportar_Merlin::latest();
            other->cbManual->setChecked(true);
            other->btnImportar_MerlinClick();
        };
        op.queueFile("");
        op.queueFile("");
        w->btnImportar_MerlinClick();
        QVERIFY(busy);
        QVERIFY(!buttonEnabled);
        QVERIFY(!closed);
        QVERIFY(guard);
        QCOMPARE(op.callsOf("openFile").size(), std::size_t(1));
        // The new window opened, but the record sets in use were not reset, and its import waited.
        QVERIFY(other && other != w);
        QCOMPARE(dm.cdsXMLPrincipal.provider(), &dm.XMLTPAux);
        QCOMPARE(op.messages(), std::vector<std::string>{"Há uma operação em andamento (Importação de Processos).\r"
                                                         "Aguarde o término para importar o processo."});
        QVERIFY(!BusyGuard::busy());
        QVERIFY(w->btnImportar_Merlin->isEnabled());
        QVERIFY(w->close());
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!guard);
        // Once it ended, the other window imports.
        other->btnImportar_MerlinClick();
        QCOMPARE(op.callsOf("openFile").size(), std::size_t(2));
    }
};

PELOMIRA_GUI_TEST(ImportarMerlinTest)
PELOMIRA_GUI_TEST(ImportarMerlinBusyTest)

#include "ImportarMerlinTest.moc"
