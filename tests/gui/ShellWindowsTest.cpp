// The small shared windows: message window, progress window, wait window, registry toolbar, and the
// Qt operator around them.
#include "ShellWorld.h"
#include "base/AppError.h"
#include "base/QtGauge.h"
#include "base/QtOperator.h"
#include "base/TBarraCadastro.h"
#include "base/TfrmBarraWS.h"
#include "base/TfrmMensagens.h"
#include "base/TfrmProgresso.h"
#include "gui/GuiTests.h"
#include "platform/Paths.h"

#include <QApplication>
#include <QImage>
#include <QLabel>
#include <QMessageBox>
#include <QMovie>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include <filesystem>

namespace {

// Answers the next modal message box with its default button and hands back its text.
void answerNextBox(QString* text) {
    QTimer::singleShot(0, [text] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box)
            return;
        if (text)
            *text = box->text();
        box->accept();
    });
}

} // namespace

class ShellWindowsTest : public QObject {
    Q_OBJECT
private slots:
    void twoButtonsKeepTheirPlacesAndAnswer() {
        TfrmMensagens w;
        w.prepare("Título", "  Transferência concluída  ", "", "", "&Sim", "&OK");
        QCOMPARE(w.size(), QSize(487, 114));
        QVERIFY(!(w.windowFlags() & Qt::WindowCloseButtonHint));
        QCOMPARE(w.windowTitle(), QString::fromUtf8("Título"));
        QCOMPARE(w.lblMensagem->text(), QString::fromUtf8("Transferência concluída"));
        QCOMPARE(w.btn1->x(), 134);
        QCOMPARE(w.btn2->x(), 257);
        QVERIFY(w.btn3->isHidden());
        QVERIFY(w.btn4->isHidden());
        w.show();
        QTest::mouseClick(w.btn2, Qt::LeftButton);
        QCOMPARE(w.answer(), 1);
        QVERIFY(!w.isVisible());
    }

    void threeButtonsAreCentredWithBtn3Rightmost() {
        TfrmMensagens w;
        w.prepare("Pelomira", "DI transferida", "", "&Abrir o Orientador\rSISCOMEX", "&OK", "&Fechar");
        QCOMPARE(w.btn1->x(), 76);
        QCOMPARE(w.btn2->x(), 199);
        QCOMPARE(w.btn3->x(), 319);
        QVERIFY(!w.btn3->isHidden());
        QVERIFY(w.btn4->isHidden());
        QCOMPARE(w.btn3->text(), QStringLiteral("&Abrir o Orientador\nSISCOMEX"));
        w.show();
        QTest::mouseClick(w.btn3, Qt::LeftButton);
        QCOMPARE(w.answer(), 2);
    }

    void fourButtonsAndEscapeCancels() {
        TfrmMensagens w;
        w.prepare("Pelomira", "Arquivo gerado", "&Cancelar", "&Enviar p/\rWebService", "&Abrir Arquivo", "&OK");
        QCOMPARE(w.btn3->x(), 13);
        QCOMPARE(w.btn1->x(), 134);
        QCOMPARE(w.btn2->x(), 257);
        QCOMPARE(w.btn4->x(), 377);
        w.show();
        QTest::keyClick(&w, Qt::Key_Escape);
        QCOMPARE(w.answer(), 3);
        QVERIFY(!w.isVisible());
    }

    void enterPressesBtn1AndEscapeAloneDoesNotClose() {
        TfrmMensagens w;
        w.prepare("Pelomira", "DI já existe no NORVIK", "", "", "&Cancelar", "&Sobrepõe");
        w.show();
        QTest::keyClick(&w, Qt::Key_Escape); // no btn4: nothing closes the window but its buttons
        QVERIFY(w.isVisible());
        w.btn2->setFocus();
        w.btn1->setFocus();
        QTest::keyClick(&w, Qt::Key_Return);
        QCOMPARE(w.answer(), 0);
        QVERIFY(!w.isVisible());
    }

    void progressWindowStepsBarGaugeAndLabels() {
        auto* w = new TfrmProgresso();
        QPointer<TfrmProgresso> guard(w);
        w->open(0, 3, "  Preparando a transferência, Aguarde...  ");
        QVERIFY(w->isVisible());
        QCOMPARE(w->size(), QSize(664, 33));
        QCOMPARE(w->windowTitle(), QString::fromUtf8("Preparando a transferência, Aguarde..."));
        QCOMPARE(w->pbProgresso->maximum(), 3);
        QCOMPARE(w->pbProgresso->value(), 0);
        QVERIFY(w->pbProgresso->y() >= 33); // below the client area, out of sight
        QCOMPARE(w->Gauge->maxValue(), 3);
        QCOMPARE(w->Gauge->text(), QStringLiteral("0%"));

        QLabel text, percent;
        w->step(1, 3, "Tabela 1", &text, &percent, true);
        w->step(2, 3, "Tabela 2", &text, &percent, true);
        QCOMPARE(w->windowTitle(), QStringLiteral("Tabela 2"));
        QCOMPARE(text.text(), QStringLiteral("Tabela 2"));
        QCOMPARE(percent.text(), QStringLiteral("66%"));
        QCOMPARE(w->Gauge->progress(), 2);
        QCOMPARE(w->Gauge->text(), QStringLiteral("66%"));
        QCOMPARE(w->pbProgresso->value(), 2);
        w->step(3, 3, "Fim", nullptr, nullptr, false); // no labels, gauge held
        QCOMPARE(w->Gauge->progress(), 2);
        QCOMPARE(w->pbProgresso->value(), 3);
        w->close();
        QTRY_VERIFY(guard.isNull()); // closing frees it
    }

    void gaugeWithNothingToDoShowsZero() {
        QtGauge g;
        g.setMaxValue(0);
        g.addProgress(1);
        QCOMPARE(g.percentDone(), 0);
        g.setMaxValue(200);
        g.setProgress(199);
        QCOMPARE(g.text(), QStringLiteral("99%"));
    }

    void operatorDrivesProgressAndWaitWindows() {
        ShellWorld world;
        QtOperator op(*world.platform);
        QVERIFY(!op.progressIsOpen());
        op.progressOpen(0, 2, "Iniciando transferência, Aguarde...");
        QVERIFY(op.progressIsOpen());
        op.progressStep(1, 2, "Adição 001", true);
        QCOMPARE(op.progressText(), std::string("Adição 001"));
        QCOMPARE(op.progressWindow()->Gauge->progress(), 1);
        op.progressClose();
        QVERIFY(!op.progressIsOpen());
        QCOMPARE(op.progressText(), std::string());

        op.waitOpen();
        auto* wait = findChildWindow<TfrmBarraWS>("frmBarraWS");
        QVERIFY(wait);
        QVERIFY(wait->isVisible());
        QVERIFY(wait->painted()); // drawn before the blocking request starts
        QCOMPARE(wait->size(), QSize(298, 181));
        QVERIFY(wait->windowFlags() & Qt::FramelessWindowHint);
        QCOMPARE(wait->lblAguarde->text(), QStringLiteral("Consultando WebService, aguarde..."));
        QVERIFY(wait->lblAguarde->font().bold());
        QVERIFY(wait->imgAnimacao->movie() && wait->imgAnimacao->movie()->isValid());
        op.waitClose();
    }

    void operatorMessagesShowLineBreaksAndMappingIsPlainlyUnavailable() {
        ShellWorld world;
        QtOperator op(*world.platform);
        QString shown;
        answerNextBox(&shown);
        op.message("OCORREU UM ERRO\rPor favor entre em contato com o suporte técnico", "Pelomira", MessageIcon::Error);
        QCOMPARE(shown, QString::fromUtf8("OCORREU UM ERRO\nPor favor entre em contato com o suporte técnico"));

        answerNextBox(&shown);
        QVERIFY(!op.codeMappingPrompt("SAMSUNG", "UNIDADE", "PC"));
        QVERIFY(shown.startsWith(QString::fromUtf8(QtOperator::MappingUnavailableText)));
        QVERIFY(shown.contains(QStringLiteral("PC")));

        std::string asked;
        op.setCodeMappingPrompt(
            [&asked](const std::string& customer, const std::string& registry, const std::string& code) {
                asked = customer + "/" + registry + "/" + code;
                return true;
            });
        QVERIFY(op.codeMappingPrompt("SAMSUNG", "UNIDADE", "PC"));
        QCOMPARE(asked, std::string("SAMSUNG/UNIDADE/PC"));
    }

    void fileFiltersBecomeDialogFilters() {
        QCOMPARE(QtOperator::dialogFilter("Arquivo Texto|*.txt"), QStringLiteral("Arquivo Texto (*.txt *.TXT)"));
        QCOMPARE(QtOperator::dialogFilter("XML|*.XML|CSV|*.csv;*.txt"),
                 QStringLiteral("XML (*.XML *.xml);;CSV (*.csv *.CSV *.txt *.TXT)"));
        QCOMPARE(QtOperator::dialogFilter(""), QString());
    }

    void registryToolbarReportsTheIndexOfEachButton() {
        ShellWorld world;
        std::filesystem::copy(TestEnv::shareFolder() + "/images", world.env.home() + "Images",
                              std::filesystem::copy_options::recursive);
        TBarraCadastro bar(world.platform->programFolder());
        QCOMPARE(bar.size(), QSize(400, 35));
        QSignalSpy spy(&bar, &TBarraCadastro::OnClick);
        const char* captions[] = {"&Salvar", "&Incluir", "&Excluir", "&Limpar\n Campos", "Sai&r"};
        for (int i = 0; i < 5; ++i) {
            QPushButton* b = bar.button(i);
            QCOMPARE(b->geometry(), QRect(i * 80, 0, 80, 35));
            QCOMPARE(b->text(), QString::fromUtf8(captions[i]));
            QVERIFY(!b->icon().isNull());
            QTest::mouseClick(b, Qt::LeftButton);
            QCOMPARE(spy.count(), i + 1);
            QCOMPARE(spy.last().at(0).value<TBarraCadastro*>(), &bar);
            QCOMPARE(spy.last().at(1).toInt(), i);
        }
        QObject stranger;
        bar.handleClick(&stranger); // a click from any other control does nothing
        QCOMPARE(spy.count(), 5);
    }

    void registryToolbarGlyphsHaveNoFringeOfTheirTransparentColour() {
        // The bottom-left colour is cut out exactly; a pixel merely close to it would show as a pink
        // fringe around the picture.
        for (int i = 0; i < TBarraCadastro::Count; ++i) {
            const QString path = QString::fromStdString(TestEnv::shareFolder() + "/images/BarraCadastro/" +
                                                        fileNameOf(TBarraCadastro::glyphPath("", i)));
            const QImage image(path);
            QVERIFY2(!image.isNull(), qPrintable(path));
            const QColor key = image.pixelColor(0, image.height() - 1);
            for (int y = 0; y < image.height(); ++y)
                for (int x = 0; x < image.width(); ++x) {
                    const QColor c = image.pixelColor(x, y);
                    const int distance = std::abs(c.red() - key.red()) + std::abs(c.green() - key.green()) +
                                         std::abs(c.blue() - key.blue());
                    QVERIFY2(distance == 0 || distance >= 200,
                             qPrintable(QStringLiteral("%1 pixel %2,%3").arg(path).arg(x).arg(y)));
                }
        }
    }

    void registryToolbarWithoutAGlyphFailsNamingTheFile() {
        ShellWorld world;
        std::filesystem::copy(TestEnv::shareFolder() + "/images", world.env.home() + "Images",
                              std::filesystem::copy_options::recursive);
        const std::string missing = TBarraCadastro::glyphPath(world.platform->programFolder(), 4);
        QVERIFY(missing.ends_with("Images/BarraCadastro/DOOROPEN1.BMP"));
        std::filesystem::remove(missing);
        try {
            TBarraCadastro bar(world.platform->programFolder());
            QFAIL("the toolbar was created without its glyph");
        } catch (const AppError& e) {
            QVERIFY(std::string(e.what()).find(missing) != std::string::npos);
        }
    }

private:
    template <class T> static T* findChildWindow(const char* name) {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w->objectName() == QLatin1String(name))
                return qobject_cast<T*>(w);
        return nullptr;
    }
};

PELOMIRA_GUI_TEST(ShellWindowsTest)
#include "ShellWindowsTest.moc"
