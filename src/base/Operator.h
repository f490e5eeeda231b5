#pragma once

#include <string>

/// Icon of a message box or question.
enum class MessageIcon { None, Information, Warning, Error, Question };

/// The one way an operation talks to a person. Texts are passed exactly as the operator must see
/// them; a CR ("\r") inside a text starts a new line.
///
/// Implementations: QtOperator (the real windows), ScriptedOperator (tests: records every call and
/// answers from a queue) and ConsoleOperator (pelomira-cli).
class Operator {
public:
    virtual ~Operator() = default;

    /// A message box with an OK button. caption is the window title.
    virtual void message(const std::string& text, const std::string& caption, MessageIcon icon) = 0;
    /// A Yes/No question; true for Yes.
    virtual bool askYesNo(const std::string& text, const std::string& caption, MessageIcon icon) = 0;
    /// The four-button message window (TfrmMensagens). An empty caption for btn3 or btn4 hides that
    /// button. Returns 0 for btn1, 1 for btn2, 2 for btn3, 3 for btn4.
    virtual int showMessage(const std::string& title, const std::string& text, const std::string& btn4Caption,
                            const std::string& btn3Caption, const std::string& btn2Caption,
                            const std::string& btn1Caption) = 0;
    /// The open-file dialog. filter is "Description|*.ext". Empty text when cancelled.
    virtual std::string openFile(const std::string& title, const std::string& filter,
                                 const std::string& defaultExt) = 0;
    /// The folder browser. Empty text when cancelled.
    virtual std::string browseFolder(const std::string& title) = 0;

    /// The progress window (TfrmProgresso): open with a start position, a maximum and a title.
    virtual void progressOpen(int start, int total, const std::string& title) = 0;
    /// One step: the bar advances by one, the caption becomes text; the gauge advances when advanceGauge.
    /// current and total give the percentage text shown beside it.
    virtual void progressStep(int current, int total, const std::string& text, bool advanceGauge) = 0;
    /// The caption the progress window shows now (the failure reports of the transfers quote it).
    virtual std::string progressText() const = 0;
    virtual bool progressIsOpen() const = 0;
    virtual void progressClose() = 0;

    /// The wait window shown during a web-service request ("Consultando WebService, aguarde...").
    virtual void waitOpen() = 0;
    virtual void waitClose() = 0;

    /// The notification-area balloon (title "PELOMIRA", information kind).
    virtual void balloon(const std::string& text) = 0;
    /// Lets pending window messages be handled, so windows stay drawn during long work.
    virtual void processEvents() = 0;

    /// The code-mapping window (TfrmVinculo) for a customer code without a Merlin code: shown modally
    /// until it closes; the window stores the mapping itself. Returns false when nobody can be asked
    /// (an unattended run), so the caller stops instead of asking forever.
    virtual bool codeMappingPrompt(const std::string& customer, const std::string& registry,
                                   const std::string& customerCode) = 0;

    /// Opens a file with the system ("OPEN" action). Throws AppError when it cannot be started.
    virtual void openWithSystem(const std::string& file, const std::string& params, const std::string& workDir) = 0;
};
