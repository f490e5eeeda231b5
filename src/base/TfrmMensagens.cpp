#include "base/TfrmMensagens.h"

#include "base/QtUi.h"
#include "base/TextUtils.h"

#include <QCloseEvent>
#include <QFontMetrics>
#include <QLabel>
#include <QPushButton>

#include <algorithm>

namespace {

constexpr int ButtonTop = 62;
constexpr int ButtonWidth = 105;
constexpr int ButtonHeight = 41;

QPushButton* makeButton(QWidget* parent, const char* name, int left) {
    auto* b = new QPushButton(parent);
    b->setObjectName(name);
    b->setGeometry(left, ButtonTop, ButtonWidth, ButtonHeight);
    b->setAutoDefault(false);
    return b;
}

// A caption as the button shows it, in a smaller font when its longest line would not fit.
void setCaption(QPushButton* button, const std::string& caption) {
    const QString text = shownText(caption);
    button->setText(text);
    QFont f = button->parentWidget()->font();
    const int room = ButtonWidth - 10;
    for (int size = f.pointSize(); size > 6; --size) {
        f.setPointSize(size);
        const QFontMetrics metrics(f);
        int widest = 0;
        for (const QString& line : text.split(QLatin1Char('\n')))
            widest = std::max(widest, metrics.horizontalAdvance(QString(line).remove(QLatin1Char('&'))));
        if (widest <= room)
            break;
    }
    button->setFont(f);
}

} // namespace

TfrmMensagens::TfrmMensagens(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint) {
    setObjectName("frmMensagens");
    setFixedSize(Width, Height);

    lblMensagem = new QLabel(this);
    lblMensagem->setObjectName("lblMensagem");
    lblMensagem->setGeometry(8, 6, Width - 16, 50);
    lblMensagem->setAlignment(Qt::AlignCenter);
    lblMensagem->setWordWrap(true);
    lblMensagem->setTextFormat(Qt::PlainText);

    btn3 = makeButton(this, "btn3", 13);
    btn1 = makeButton(this, "btn1", 134);
    btn2 = makeButton(this, "btn2", 257);
    btn4 = makeButton(this, "btn4", 377);
    btn1->setDefault(true);
    btn3->hide();
    btn4->hide();

    connect(btn1, &QPushButton::clicked, this, [this] { press(0); });
    connect(btn2, &QPushButton::clicked, this, [this] { press(1); });
    connect(btn3, &QPushButton::clicked, this, [this] { press(2); });
    connect(btn4, &QPushButton::clicked, this, [this] { press(3); });
    centreOnScreen(this);
}

void TfrmMensagens::prepare(const std::string& title, const std::string& message, const std::string& btn4Caption,
                            const std::string& btn3Caption, const std::string& btn2Caption,
                            const std::string& btn1Caption) {
    setCaption(btn1, btn1Caption);
    setCaption(btn2, btn2Caption);
    if (!btn3Caption.empty()) {
        setCaption(btn3, btn3Caption);
        btn3->show();
        if (btn4Caption.empty()) {
            // Three buttons: centred, btn3 rightmost.
            btn1->move(76, ButtonTop);
            btn2->move(199, ButtonTop);
            btn3->move(319, ButtonTop);
        }
    }
    if (!btn4Caption.empty()) {
        setCaption(btn4, btn4Caption);
        btn4->show();
    }
    setWindowTitle(toQ(title));
    lblMensagem->setText(shownText(trim(message)));
}

void TfrmMensagens::press(int answer) {
    m_answer = answer;
    done(QDialog::Accepted);
}

void TfrmMensagens::reject() {
    // btn4 is the cancel button; without it the window only closes through its buttons.
    if (!btn4->isHidden())
        press(3);
}

void TfrmMensagens::closeEvent(QCloseEvent* event) {
    event->ignore();
    reject();
}

void TfrmMensagens::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    btn1->setFocus();
}

int TfrmMensagens::ShowMessage(const std::string& title, const std::string& message, const std::string& btn4Caption,
                               const std::string& btn3Caption, const std::string& btn2Caption,
                               const std::string& btn1Caption) {
    TfrmMensagens window;
    window.prepare(title, message, btn4Caption, btn3Caption, btn2Caption, btn1Caption);
    window.exec();
    return window.answer();
}
