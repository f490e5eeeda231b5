#include "base/ConsoleOperator.h"

#include "base/AppError.h"
#include "base/TextUtils.h"
#include "platform/Platform.h"
#include "platform/TerminationSignals.h"

#include <iostream>
#include <unistd.h>

ConsoleOperator::ConsoleOperator(Platform& platform, Answers answers, std::ostream& out, std::ostream& err)
    : m_platform(platform), m_answers(std::move(answers)), m_out(out), m_err(err) {}

std::string ConsoleOperator::terminalText(const std::string& text) {
    return replaceAll(replaceAll(text, "\r\n", "\n"), "\r", "\n");
}

bool ConsoleOperator::interactive() const {
    return ::isatty(STDIN_FILENO) && ::isatty(STDERR_FILENO);
}

void ConsoleOperator::message(const std::string& text, const std::string& caption, MessageIcon icon) {
    const bool bad = icon == MessageIcon::Error || icon == MessageIcon::Warning;
    if (icon == MessageIcon::Error)
        ++m_errors;
    std::ostream& os = bad ? m_err : m_out;
    os << "[" << caption << "] " << terminalText(text) << "\n";
    os.flush();
}

void ConsoleOperator::processEvents() {
    if (const int signal = TerminationSignals::received()) {
        m_interruptedBy = signal;
        throw AppError("Interrompido (" + TerminationSignals::name(signal) +
                       "): o que foi gravado antes está completo; o restante não foi feito.");
    }
}

bool ConsoleOperator::askYesNo(const std::string& text, const std::string& caption, MessageIcon) {
    if (m_answers.yes) {
        m_out << "[" << caption << "] " << terminalText(text) << " Sim (--yes)\n";
        return true;
    }
    if (!interactive()) {
        m_refused = true;
        m_err << "[" << caption << "] " << terminalText(text)
              << "\nSem terminal para responder: respondido Não (use --yes para confirmar).\n";
        return false;
    }
    m_err << "[" << caption << "] " << terminalText(text) << " [s/N] ";
    m_err.flush();
    std::string line;
    std::getline(std::cin, line);
    const std::string a = upperText(trim(line));
    return a == "S" || a == "SIM" || a == "Y" || a == "YES";
}

int ConsoleOperator::showMessage(const std::string& title, const std::string& text, const std::string& btn4Caption,
                                 const std::string& btn3Caption, const std::string& btn2Caption,
                                 const std::string& btn1Caption) {
    m_out << "[" << title << "] " << terminalText(text) << "\n";
    const int answer = m_answers.button.value_or(0);
    const std::string captions[4] = {btn1Caption, btn2Caption, btn3Caption, btn4Caption};
    if (answer >= 0 && answer < 4 && !captions[answer].empty())
        m_out << "  -> " << replaceAll(terminalText(captions[answer]), "\n", " ") << "\n";
    return answer;
}

std::string ConsoleOperator::openFile(const std::string& title, const std::string&, const std::string&) {
    if (m_answers.file)
        return *m_answers.file;
    m_err << "[" << title << "] nenhum arquivo informado (use --file).\n";
    return std::string();
}

std::string ConsoleOperator::browseFolder(const std::string& title) {
    m_err << "[" << title << "] seleção de pasta não disponível na linha de comando.\n";
    return std::string();
}

void ConsoleOperator::progressOpen(int, int total, const std::string& title) {
    m_progressOpen = true;
    m_progressText = trim(title);
    if (!m_answers.quiet)
        m_err << m_progressText << " (" << total << ")\n";
}

void ConsoleOperator::progressStep(int current, int total, const std::string& text, bool) {
    m_progressText = text;
    if (!m_answers.quiet)
        m_err << "  " << progressPercentText(current, total) << " " << terminalText(text) << "\n";
}

void ConsoleOperator::progressClose() {
    m_progressOpen = false;
}

void ConsoleOperator::balloon(const std::string& text) {
    m_out << "[PELOMIRA] " << terminalText(text) << "\n";
}

void ConsoleOperator::openWithSystem(const std::string& file, const std::string& params, const std::string& workDir) {
    if (std::string why = m_platform.openWithSystem(file, params, workDir); !why.empty())
        throw AppError(why);
}

bool ConsoleOperator::codeMappingPrompt(const std::string& customer, const std::string& registry,
                                        const std::string& customerCode) {
    m_err << "Código " << customerCode << " do cliente " << customer << " sem vínculo na tabela " << registry
          << ". Informe-o com: pelomira-cli mapping set " << customer << " " << registry << " " << customerCode
          << " CODIGO_MERLIN\n";
    return false;
}
