#pragma once

#include "base/Operator.h"

#include <iosfwd>
#include <optional>
#include <string>

class Platform;

/// The operator of pelomira-cli. Messages go to the terminal (errors and warnings to stderr);
/// questions are answered by the command-line flags (--yes, --button N, --file PATH). Without a flag a
/// question is asked on the terminal when there is one; run unattended it is answered No and the
/// command says so, so a scheduled job never waits.
class ConsoleOperator : public Operator {
public:
    struct Answers {
        bool yes = false;                // --yes: every Yes/No question answered Yes
        std::optional<int> button;       // --button N: the message window answered with button N
        std::optional<std::string> file; // --file PATH: the open-file dialog answered with PATH
        bool quiet = false;              // no progress lines
    };

    ConsoleOperator(Platform& platform, Answers answers, std::ostream& out, std::ostream& err);

    void message(const std::string& text, const std::string& caption, MessageIcon icon) override;
    bool askYesNo(const std::string& text, const std::string& caption, MessageIcon icon) override;
    int showMessage(const std::string& title, const std::string& text, const std::string& btn4Caption,
                    const std::string& btn3Caption, const std::string& btn2Caption,
                    const std::string& btn1Caption) override;
    std::string openFile(const std::string& title, const std::string& filter, const std::string& defaultExt) override;
    std::string browseFolder(const std::string& title) override;
    void progressOpen(int start, int total, const std::string& title) override;
    void progressStep(int current, int total, const std::string& text, bool advanceGauge) override;
    std::string progressText() const override { return m_progressText; }
    bool progressIsOpen() const override { return m_progressOpen; }
    void progressClose() override;
    void waitOpen() override {}
    void waitClose() override {}
    void balloon(const std::string& text) override;
    /// Where a long command stops when the program is asked to end (SIGTERM, SIGINT): between two
    /// records, so what was written is whole. Throws AppError then.
    void processEvents() override;
    void openWithSystem(const std::string& file, const std::string& params, const std::string& workDir) override;
    bool codeMappingPrompt(const std::string& customer, const std::string& registry,
                           const std::string& customerCode) override;

    /// Number of error messages shown so far (the command's exit code uses it).
    int errorCount() const { return m_errors; }
    /// True when a question was refused because nobody could answer it.
    bool refusedUnattended() const { return m_refused; }
    /// The signal that stopped the command at a checkpoint, or 0.
    int interruptedBy() const { return m_interruptedBy; }

    /// A text for the terminal: every CR becomes a line break.
    static std::string terminalText(const std::string& text);

private:
    bool interactive() const;

    Platform& m_platform;
    Answers m_answers;
    std::ostream& m_out;
    std::ostream& m_err;
    std::string m_progressText;
    bool m_progressOpen = false;
    int m_errors = 0;
    bool m_refused = false;
    int m_interruptedBy = 0;
};
