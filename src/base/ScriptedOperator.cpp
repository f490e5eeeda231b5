#include "base/ScriptedOperator.h"

#include "base/AppError.h"

void ScriptedOperator::message(const std::string& text, const std::string& caption, MessageIcon icon) {
    m_calls.push_back({"message", text, caption, icon, {}});
}

bool ScriptedOperator::askYesNo(const std::string& text, const std::string& caption, MessageIcon icon) {
    m_calls.push_back({"ask", text, caption, icon, {}});
    if (m_yesNo.empty()) {
        m_unexpected.push_back("question: " + text);
        return false;
    }
    const bool answer = m_yesNo.front();
    m_yesNo.pop_front();
    return answer;
}

int ScriptedOperator::showMessage(const std::string& title, const std::string& text, const std::string& btn4Caption,
                                  const std::string& btn3Caption, const std::string& btn2Caption,
                                  const std::string& btn1Caption) {
    m_calls.push_back(
        {"showMessage", text, title, MessageIcon::None, {btn4Caption, btn3Caption, btn2Caption, btn1Caption}});
    if (m_buttons.empty()) {
        m_unexpected.push_back("message window: " + text);
        return 0;
    }
    const int answer = m_buttons.front();
    m_buttons.pop_front();
    return answer;
}

std::string ScriptedOperator::openFile(const std::string& title, const std::string& filter,
                                       const std::string& defaultExt) {
    m_calls.push_back({"openFile", title, title, MessageIcon::None, {filter, defaultExt}});
    if (m_files.empty()) {
        m_unexpected.push_back("open file: " + title);
        return std::string();
    }
    const std::string answer = m_files.front();
    m_files.pop_front();
    return answer;
}

std::string ScriptedOperator::browseFolder(const std::string& title) {
    m_calls.push_back({"browseFolder", title, title, MessageIcon::None, {}});
    if (m_folders.empty()) {
        m_unexpected.push_back("browse folder: " + title);
        return std::string();
    }
    const std::string answer = m_folders.front();
    m_folders.pop_front();
    return answer;
}

void ScriptedOperator::progressOpen(int start, int total, const std::string& title) {
    m_calls.push_back(
        {"progressOpen", title, title, MessageIcon::None, {std::to_string(start), std::to_string(total)}});
    m_progressOpen = true;
    m_progressText = title;
    m_progressPosition = start;
    m_progressMaximum = total;
}

void ScriptedOperator::progressStep(int current, int total, const std::string& text, bool advanceGauge) {
    m_calls.push_back({"progressStep",
                       text,
                       text,
                       MessageIcon::None,
                       {std::to_string(current), std::to_string(total), advanceGauge ? "gauge" : ""}});
    m_progressText = text;
    ++m_progressPosition;
}

void ScriptedOperator::progressClose() {
    m_calls.push_back({"progressClose", m_progressText, "", MessageIcon::None, {}});
    m_progressOpen = false;
}

void ScriptedOperator::waitOpen() {
    m_calls.push_back({"waitOpen", "", "", MessageIcon::None, {}});
}
void ScriptedOperator::waitClose() {
    m_calls.push_back({"waitClose", "", "", MessageIcon::None, {}});
}

void ScriptedOperator::balloon(const std::string& text) {
    m_calls.push_back({"balloon", text, "PELOMIRA", MessageIcon::Information, {}});
}

void ScriptedOperator::openWithSystem(const std::string& file, const std::string& params, const std::string& workDir) {
    m_calls.push_back({"openWithSystem", file, "", MessageIcon::None, {params, workDir}});
    if (!m_openFailure.empty())
        throw AppError(m_openFailure);
}

bool ScriptedOperator::codeMappingPrompt(const std::string& customer, const std::string& registry,
                                         const std::string& customerCode) {
    m_calls.push_back({"codeMappingPrompt", customerCode, "", MessageIcon::None, {customer, registry}});
    if (m_mappingActions.empty()) {
        m_unexpected.push_back("code mapping: " + customer + " " + registry + " " + customerCode);
        return false;
    }
    auto action = std::move(m_mappingActions.front());
    m_mappingActions.pop_front();
    action();
    return true;
}

std::vector<ScriptedOperator::Call> ScriptedOperator::callsOf(const std::string& kind) const {
    std::vector<Call> out;
    for (const auto& c : m_calls)
        if (c.kind == kind)
            out.push_back(c);
    return out;
}

std::vector<std::string> ScriptedOperator::messages() const {
    std::vector<std::string> out;
    for (const auto& c : m_calls)
        if (c.kind == "message")
            out.push_back(c.text);
    return out;
}

void ScriptedOperator::clear() {
    m_calls.clear();
    m_unexpected.clear();
}
