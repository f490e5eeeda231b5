#include "base/QtOperator.h"

#include "base/AppError.h"
#include "base/QtUi.h"
#include "base/TextUtils.h"
#include "base/TfrmBarraWS.h"
#include "base/TfrmMensagens.h"
#include "base/TfrmProgresso.h"
#include "platform/Platform.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>

#include <iostream>

namespace {

QMessageBox::Icon boxIcon(MessageIcon icon) {
    switch (icon) {
    case MessageIcon::Information:
        return QMessageBox::Information;
    case MessageIcon::Warning:
        return QMessageBox::Warning;
    case MessageIcon::Error:
        return QMessageBox::Critical;
    case MessageIcon::Question:
        return QMessageBox::Question;
    case MessageIcon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

// A message box without owner; texts are plain (a "<CTRL+F12>" is no markup).
int runBox(const std::string& text, const std::string& caption, MessageIcon icon, QMessageBox::StandardButtons buttons,
           QMessageBox::StandardButton defaultButton) {
    QMessageBox box(boxIcon(icon), toQ(caption), shownText(text), buttons);
    box.setTextFormat(Qt::PlainText);
    box.setDefaultButton(defaultButton);
    // The program speaks Portuguese whatever translations the system has.
    if (QAbstractButton* b = box.button(QMessageBox::Yes))
        b->setText(QStringLiteral("&Sim"));
    if (QAbstractButton* b = box.button(QMessageBox::No))
        b->setText(QString::fromUtf8("&Não"));
    return box.exec();
}

} // namespace

QtOperator::QtOperator(Platform& platform) : m_platform(platform) {}

QtOperator::~QtOperator() {
    delete m_progress.data();
    delete m_wait.data();
}

void QtOperator::message(const std::string& text, const std::string& caption, MessageIcon icon) {
    runBox(text, caption, icon, QMessageBox::Ok, QMessageBox::Ok);
}

bool QtOperator::askYesNo(const std::string& text, const std::string& caption, MessageIcon icon) {
    return runBox(text, caption, icon, QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes) == QMessageBox::Yes;
}

int QtOperator::showMessage(const std::string& title, const std::string& text, const std::string& btn4Caption,
                            const std::string& btn3Caption, const std::string& btn2Caption,
                            const std::string& btn1Caption) {
    return TfrmMensagens::ShowMessage(title, text, btn4Caption, btn3Caption, btn2Caption, btn1Caption);
}

QString QtOperator::dialogFilter(const std::string& filter) {
    const auto parts = split(filter, '|');
    QStringList entries;
    for (size_t i = 0; i + 1 < parts.size(); i += 2) {
        QStringList patterns;
        for (const auto& p : split(parts[i + 1], ';')) {
            const QString pattern = toQ(trim(p));
            if (pattern.isEmpty())
                continue;
            patterns << pattern;
#ifndef _WIN32
            for (const QString& other : {pattern.toLower(), pattern.toUpper()})
                if (!patterns.contains(other))
                    patterns << other;
#endif
        }
        entries << toQ(trim(parts[i])) + QStringLiteral(" (") + patterns.join(QLatin1Char(' ')) + QLatin1Char(')');
    }
    return entries.join(QStringLiteral(";;"));
}

std::string QtOperator::openFile(const std::string& title, const std::string& filter, const std::string& defaultExt) {
    QFileDialog dialog(nullptr, toQ(title));
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    if (!filter.empty())
        dialog.setNameFilter(dialogFilter(filter));
    if (!defaultExt.empty())
        dialog.setDefaultSuffix(toQ(defaultExt));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::string();
    return fromQ(dialog.selectedFiles().first());
}

std::string QtOperator::browseFolder(const std::string& title) {
    return fromQ(QFileDialog::getExistingDirectory(nullptr, toQ(title)));
}

void QtOperator::progressOpen(int start, int total, const std::string& title) {
    delete m_progress.data();
    m_progress = new TfrmProgresso();
    m_progress->open(start, total, title);
}

void QtOperator::progressStep(int current, int total, const std::string& text, bool advanceGauge) {
    if (m_progress)
        m_progress->step(current, total, text, nullptr, nullptr, advanceGauge);
}

std::string QtOperator::progressText() const {
    return m_progress ? fromQ(m_progress->windowTitle()) : std::string();
}

bool QtOperator::progressIsOpen() const {
    return !m_progress.isNull();
}

void QtOperator::progressClose() {
    if (m_progress)
        m_progress->close(); // frees itself
    m_progress = nullptr;
}

void QtOperator::waitOpen() {
    delete m_wait.data();
    m_wait = new TfrmBarraWS();
    // The request that follows blocks the program: the window is on the screen, drawn, before it starts.
    m_wait->waitUntilPainted(WaitPaintTimeoutMs);
}

void QtOperator::waitClose() {
    if (m_wait)
        m_wait->close(); // frees itself
    m_wait = nullptr;
}

void QtOperator::balloon(const std::string& text) {
    if (m_balloonShower && m_balloonShower(shownText(text)))
        return;
    // No notification area to show it in: keep the text where it can still be read.
    std::cerr << "Pelomira: " << text << std::endl;
}

void QtOperator::processEvents() {
    QCoreApplication::processEvents();
}

bool QtOperator::codeMappingPrompt(const std::string& customer, const std::string& registry,
                                   const std::string& customerCode) {
    if (m_codeMappingPrompt)
        return m_codeMappingPrompt(customer, registry, customerCode);
    message(std::string(MappingUnavailableText) + "\rO código " + customerCode + " do cliente " + customer +
                " (tabela " + registry + ") não tem código Merlin vinculado.",
            "Pelomira", MessageIcon::Warning);
    return false;
}

void QtOperator::openWithSystem(const std::string& file, const std::string& params, const std::string& workDir) {
    if (std::string why = m_platform.openWithSystem(file, params, workDir); !why.empty())
        throw AppError(why);
}

TfrmProgresso* QtOperator::progressWindow() const {
    return m_progress.data();
}
