#pragma once

#include "base/Operator.h"

#include <QPointer>
#include <QString>

#include <functional>

class Platform;
class TfrmBarraWS;
class TfrmProgresso;

/// The operator seam with the real windows: message boxes without owner, the four-button message
/// window, the file and folder dialogs, the progress and wait windows and the notification balloon.
class QtOperator : public Operator {
public:
    /// The code-mapping window: asked for a customer code without a Merlin code, shown modally,
    /// stores the mapping itself; true when the operator gave one.
    using CodeMappingPrompt =
        std::function<bool(const std::string& customer, const std::string& registry, const std::string& customerCode)>;

    static constexpr const char* MappingUnavailableText =
        "A janela de vínculo de códigos ainda não está disponível nesta versão do Pelomira.";

    /// How long waitOpen waits at most for the window manager to show the wait window.
    static constexpr int WaitPaintTimeoutMs = 2000;

    explicit QtOperator(Platform& platform);
    ~QtOperator() override;

    void message(const std::string& text, const std::string& caption, MessageIcon icon) override;
    bool askYesNo(const std::string& text, const std::string& caption, MessageIcon icon) override;
    int showMessage(const std::string& title, const std::string& text, const std::string& btn4Caption,
                    const std::string& btn3Caption, const std::string& btn2Caption,
                    const std::string& btn1Caption) override;
    std::string openFile(const std::string& title, const std::string& filter, const std::string& defaultExt) override;
    std::string browseFolder(const std::string& title) override;
    void progressOpen(int start, int total, const std::string& title) override;
    void progressStep(int current, int total, const std::string& text, bool advanceGauge) override;
    std::string progressText() const override;
    bool progressIsOpen() const override;
    void progressClose() override;
    void waitOpen() override;
    void waitClose() override;
    void balloon(const std::string& text) override;
    void processEvents() override;
    /// Asks the code-mapping window plugged in with setCodeMappingPrompt. Until one is plugged in, the
    /// operator is told that the window is not available and the answer is false (the caller stops).
    bool codeMappingPrompt(const std::string& customer, const std::string& registry,
                           const std::string& customerCode) override;
    void openWithSystem(const std::string& file, const std::string& params, const std::string& workDir) override;

    /// The hook for the code-mapping window (TfrmVinculo): the program plugs it in at start.
    void setCodeMappingPrompt(CodeMappingPrompt prompt) { m_codeMappingPrompt = std::move(prompt); }
    /// What shows a balloon in the notification area (the main window's icon); it answers false when
    /// the desktop has no notification area. Empty: balloons go to standard error.
    using BalloonShower = std::function<bool(const QString& text)>;
    void setBalloonShower(BalloonShower shower) { m_balloonShower = std::move(shower); }
    /// The open progress window (the table export steps it with its own labels), or null.
    TfrmProgresso* progressWindow() const;

    /// A file filter "Description|*.ext|Other|*.a;*.b" in the dialog's form
    /// "Description (*.ext);;Other (*.a *.b)". On systems whose file names have case, every pattern is
    /// also offered in its other case, so "*.txt" finds "X.TXT".
    static QString dialogFilter(const std::string& filter);

private:
    Platform& m_platform;
    QPointer<TfrmProgresso> m_progress;
    QPointer<TfrmBarraWS> m_wait;
    BalloonShower m_balloonShower;
    CodeMappingPrompt m_codeMappingPrompt;
};
