// The table export window: its lists and buttons, an export run from it, and the main window's three
// ways of opening it.
#include "TestWorld.h"
#include "app/QtCommandWiring.h"
#include "app/TfrmPrincipal.h"
#include "base/QtOperator.h"
#include "base/Settings.h"
#include "data/OrientadorFolder.h"
#include "export/TfrmImportar.h"
#include "gui/GuiTests.h"

#include <QAction>
#include <QLabel>
#include <QListWidget>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QToolButton>

#include <functional>

namespace {

/// An operator that lets the test look at the window whenever the export lets messages through.
class WatchingOperator : public ScriptedOperator {
public:
    std::function<void()> onProcessEvents;
    std::function<void()> onShowMessage;
    void processEvents() override {
        ScriptedOperator::processEvents();
        if (onProcessEvents)
            onProcessEvents();
    }
    int showMessage(const std::string& title, const std::string& text, const std::string& b4, const std::string& b3,
                    const std::string& b2, const std::string& b1) override {
        if (onShowMessage)
            onShowMessage();
        return ScriptedOperator::showMessage(title, text, b4, b3, b2, b1);
    }
};

/// The first-run settings, an Orientador folder with the sample tables and the XML folder.
struct ExportWindowWorld {
    TestEnv env;
    std::unique_ptr<Platform> platform = Platform::createNative();
    WatchingOperator op;
    Settings settings{*platform};
    Logs logs{*platform, op};
    TDM dm;
    AppContext ctx{*platform, op, settings, logs, dm};
    std::string folder = env.path("orientador");

    ExportWindowWorld() {
        settings.writeFirstRunDefaults();
        settings.write(Settings::Dados, Settings::KeyAtualiza, env.path("Atualizacao"));
        settings.write(Settings::Dados, Settings::KeyDados, folder);
        OrientadorFolder::Options options;
        options.sample = true;
        OrientadorFolder::create(*platform, folder, options);
        TestEnv::makeFolder(env.home() + "XML");
    }
};

QStringList texts(const QListWidget* list) {
    QStringList t;
    for (int i = 0; i < list->count(); ++i)
        t << list->item(i)->text();
    return t;
}

void select(QListWidget* list, const QStringList& names) {
    list->clearSelection();
    for (const QString& n : names) {
        const auto found = list->findItems(n, Qt::MatchExactly);
        QVERIFY2(!found.isEmpty(), qPrintable(n));
        found.first()->setSelected(true);
    }
}

} // namespace

class ExportWindowTest : public QObject {
    Q_OBJECT
private slots:
    void creationAndTheListsOfTheSettings() {
        ExportWindowWorld world;
        TfrmImportar w(world.ctx);
        QCOMPARE(w.windowTitle(), QString::fromUtf8("Exportação de Tabelas"));
        QCOMPARE(w.lblProgresso->text(), QString::fromUtf8("Selecione as tabelas a serem importadas"));
        QCOMPARE(w.btnIncluir->text(), QStringLiteral("Incluir ->"));
        QCOMPARE(w.btnExcluirTudo->text(), QStringLiteral("<<- Excluir Tudo"));
        QCOMPARE(w.btnImportar->text(), QStringLiteral("&Exportar"));
        QCOMPARE(w.rbTipo_CSV->text(), QString::fromUtf8("Separado por ponto-e-vírgula (CSV)"));
        QCOMPARE(w.lbTabelas->count(), 0);
        w.show();
        QVERIFY(w.rbTipo_XML->isChecked());
        const QStringList available = texts(w.lbTabelas);
        QCOMPARE(available.size(), 28);
        QCOMPARE(available.first(), QStringLiteral("ACORDO ALADI"));
        QCOMPARE(available.last(), QString::fromUtf8("UNIDADE DE MEDIDA ESTATÍSTICA"));
        // Accented names among their letters.
        QVERIFY(available.indexOf(QString::fromUtf8("ÓRGÃOS ANUENTES")) < available.indexOf(QString::fromUtf8("PAÍS")));
        QVERIFY(available.indexOf(QString::fromUtf8("NVE - ESPECIFICAÇÃO")) <
                available.indexOf(QString::fromUtf8("ÓRGÃOS - EMISSÃO ATO LEGAL")));
        QCOMPARE(w.lbImportar->count(), 0);
    }

    void movingEntriesKeepsBothListsInOrder() {
        ExportWindowWorld world;
        TfrmImportar w(world.ctx);
        w.show();
        select(w.lbTabelas, {QString::fromUtf8("PAÍS"), QStringLiteral("MOEDAS")});
        w.btnIncluir->click();
        QCOMPARE(texts(w.lbImportar), (QStringList{QStringLiteral("MOEDAS"), QString::fromUtf8("PAÍS")}));
        QCOMPARE(w.lbTabelas->count(), 26);

        // A double click moves the entry clicked; back on the left it finds its place again.
        QListWidgetItem* moedas = w.lbImportar->item(0);
        moedas->setSelected(true);
        emit w.lbImportar->itemDoubleClicked(moedas);
        QCOMPARE(texts(w.lbImportar), QStringList{QString::fromUtf8("PAÍS")});
        const QStringList left = texts(w.lbTabelas);
        QCOMPARE(left.indexOf(QStringLiteral("MOEDAS")), left.indexOf(QStringLiteral("MODALIDADE DE PAGAMENTO")) + 1);

        w.btnIncluirTudo->click();
        QCOMPARE(w.lbTabelas->count(), 0);
        QCOMPARE(w.lbImportar->count(), 28);
        QCOMPARE(w.lbImportar->item(0)->text(), QStringLiteral("ACORDO ALADI"));
        w.btnExcluirTudo->click();
        QCOMPARE(w.lbImportar->count(), 0);
        QCOMPARE(texts(w.lbTabelas).size(), 28);
        QCOMPARE(texts(w.lbTabelas).first(), QStringLiteral("ACORDO ALADI"));
    }

    void anExportFromTheWindow() {
        ExportWindowWorld world;
        auto* w = new TfrmImportar(world.ctx);
        QPointer<TfrmImportar> guard(w);
        w->show();
        select(w->lbTabelas, {QString::fromUtf8("PAÍS"), QStringLiteral("MOEDAS")});
        w->btnIncluir->click();
        w->rbTipo_CSV->setChecked(true);

        // While it runs: controls off, closing refused, a second click ignored; progress shown.
        QStringList progressTexts;
        bool controlsOff = true, closeRefused = true;
        world.op.onProcessEvents = [&] {
            progressTexts << w->lblProgresso->text();
            controlsOff = controlsOff && !w->btnImportar->isEnabled() && !w->lbImportar->isEnabled();
            closeRefused = closeRefused && !w->close();
            w->btnImportarClick();
        };
        QString percentAtTheEnd, textAtTheEnd;
        int selectedAtTheEnd = -1;
        world.op.onShowMessage = [&] {
            percentAtTheEnd = w->lblPorcentagem->text();
            textAtTheEnd = w->lblProgresso->text();
            selectedAtTheEnd = w->lbImportar->currentRow();
        };
        world.op.queueButton(0);
        w->btnImportar->click();

        QVERIFY(controlsOff);
        QVERIFY(closeRefused);
        QVERIFY(guard);
        QVERIFY(progressTexts.contains(QString::fromUtf8("Aguarde, iniciando...")));
        QVERIFY(progressTexts.contains(QStringLiteral("Recebendo dados da tabela TAB_MOEDA (32 de 32)")));
        QCOMPARE(percentAtTheEnd, QStringLiteral("100%"));
        QCOMPARE(textAtTheEnd, QStringLiteral("Recebendo dados da tabela TAB_PAIS"));
        QCOMPARE(selectedAtTheEnd, 1);
        QCOMPARE(world.op.callsOf("showMessage").size(), std::size_t(1));
        QVERIFY(TestEnv::exists(world.env.home() + "XML/TABS.CSV"));

        // Reset: every entry back on the left, the labels and bar as at the start.
        QCOMPARE(w->lbImportar->count(), 0);
        QCOMPARE(w->lbTabelas->count(), 28);
        QCOMPARE(w->lblProgresso->text(), QString::fromUtf8("Selecione as tabelas a serem importadas"));
        QVERIFY(w->lblPorcentagem->text().isEmpty());
        QCOMPARE(w->pbImportar->value(), 0);
        QVERIFY(w->btnImportar->isEnabled());
        QVERIFY(w->close());
    }

    void aFailedExportLeavesTheChoiceAsItWas() {
        ExportWindowWorld world;
        world.settings.write(Settings::Tabelas, "Tabela9", "MOEDAS;TAB_QUE_NAO_EXISTE");
        TfrmImportar w(world.ctx);
        w.show();
        select(w.lbTabelas, {QStringLiteral("MOEDAS")});
        w.btnIncluir->click();
        w.btnImportar->click();
        QCOMPARE(texts(w.lbImportar), QStringList{QStringLiteral("MOEDAS")});
        QCOMPARE(world.op.messages().size(), std::size_t(1));
        QVERIFY(world.op.callsOf("showMessage").empty());
        QVERIFY(w.btnImportar->isEnabled());
    }

    void menuToolButtonAndHotKeyOpenANewWindow() {
        ExportWindowWorld world;
        TfrmPrincipal principal(world.ctx);
        QtOperator qtOp(*world.platform);
        wireMainCommands(principal, qtOp, world.ctx);
        QVERIFY(principal.Tabelas1->isEnabled());
        QVERIFY(principal.ToolButton2->isEnabled());
        QPointer<TfrmImportar> previous;
        for (const std::function<void()>& open : std::initializer_list<std::function<void()>>{
                 [&] { principal.Tabelas1->trigger(); }, [&] { principal.ToolButton2->click(); },
                 [&] { principal.hotKey(8); }}) {
            open();
            QPointer<TfrmImportar> w = TfrmImportar::latest();
            QVERIFY(w && w != previous);
            QVERIFY(w->isVisible());
            QCOMPARE(w->lbTabelas->count(), 28);
            previous = w;
        }
    }
};

PELOMIRA_GUI_TEST(ExportWindowTest)
#include "ExportWindowTest.moc"
