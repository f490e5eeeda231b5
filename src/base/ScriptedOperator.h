#pragma once

#include "base/Operator.h"

#include <deque>
#include <functional>
#include <string>
#include <vector>

/// An operator for tests: records every call with its exact texts and answers questions, message
/// windows and dialogs from queues filled beforehand. A question with no queued answer is noted in
/// unexpected() and answered No / cancel, so a test can fail on it.
class ScriptedOperator : public Operator {
public:
    struct Call {
        std::string kind; // message, ask, showMessage, openFile, browseFolder, progressOpen, progressStep,
                          // progressClose, waitOpen, waitClose, balloon, openWithSystem,
                          // codeMappingPrompt
        std::string text; // the main text (message text, progress caption, file name …)
        std::string caption;
        MessageIcon icon = MessageIcon::None;
        std::vector<std::string> extra; // further arguments (button captions, filter, params …)
    };

    void queueYesNo(bool answer) { m_yesNo.push_back(answer); }
    void queueButton(int button) { m_buttons.push_back(button); }
    void queueFile(const std::string& file) { m_files.push_back(file); }
    void queueFolder(const std::string& folder) { m_folders.push_back(folder); }
    /// The next code-mapping prompt runs action (for example, stores the mapping) and returns true.
    void queueMappingAction(std::function<void()> action) { m_mappingActions.push_back(std::move(action)); }
    /// When set, openWithSystem records the call and throws AppError with this text.
    void failOpenWith(const std::string& why) { m_openFailure = why; }

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
    void waitOpen() override;
    void waitClose() override;
    void balloon(const std::string& text) override;
    void processEvents() override { ++m_processEvents; }
    void openWithSystem(const std::string& file, const std::string& params, const std::string& workDir) override;
    bool codeMappingPrompt(const std::string& customer, const std::string& registry,
                           const std::string& customerCode) override;

    const std::vector<Call>& calls() const { return m_calls; }
    /// Calls of one kind, in order.
    std::vector<Call> callsOf(const std::string& kind) const;
    /// Texts of the message boxes shown, in order.
    std::vector<std::string> messages() const;
    const std::vector<std::string>& unexpected() const { return m_unexpected; }
    int progressPosition() const { return m_progressPosition; }
    int progressMaximum() const { return m_progressMaximum; }
    int processEventsCount() const { return m_processEvents; }
    void clear();

private:
    std::vector<Call> m_calls;
    std::deque<bool> m_yesNo;
    std::deque<int> m_buttons;
    std::deque<std::string> m_files;
    std::deque<std::string> m_folders;
    std::deque<std::function<void()>> m_mappingActions;
    std::vector<std::string> m_unexpected;
    std::string m_openFailure;
    std::string m_progressText;
    bool m_progressOpen = false;
    int m_progressPosition = 0;
    int m_progressMaximum = 0;
    int m_processEvents = 0;
};
