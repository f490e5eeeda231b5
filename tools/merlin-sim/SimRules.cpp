#include "SimRules.h"

#include <fstream>
#include <stdexcept>

namespace {

std::string trimmed(const std::string& s) {
    const auto first = s.find_first_not_of(" \t\r\n");
    if (first == std::string::npos)
        return std::string();
    const auto last = s.find_last_not_of(" \t\r\n");
    return s.substr(first, last - first + 1);
}

long number(const std::string& word, const std::string& text) {
    if (text.empty() || text.find_first_not_of("0123456789") != std::string::npos || text.size() > 9)
        throw std::invalid_argument("número inválido em \"" + word + "\"");
    return std::stol(text);
}

bool knownOperation(const std::string& op) {
    return op == "process" || op == "retorno" || op == "soap";
}

} // namespace

SimDirective SimRules::parseDirectives(const std::string& text) {
    SimDirective d;
    std::string word;
    auto apply = [&d](const std::string& w) {
        if (w.empty())
            return;
        using M = SimDirective::Mode;
        if (w == "accept" || w == "ok")
            d.mode = M::Normal;
        else if (w == "refuse")
            d.mode = M::Refuse;
        else if (w == "notfound")
            d.mode = M::NotFound;
        else if (w == "garbage")
            d.mode = M::Garbage;
        else if (w == "html")
            d.mode = M::Html;
        else if (w == "empty")
            d.mode = M::Empty;
        else if (w == "fault")
            d.mode = M::Fault;
        else if (w == "strict")
            d.strict = true;
        else if (w == "silent")
            d.delayMs = 3600L * 1000L;
        else if (w.rfind("delay:", 0) == 0)
            d.delayMs = number(w, w.substr(6));
        else if (w.rfind("error:", 0) == 0) {
            d.mode = M::Error;
            d.status = static_cast<int>(number(w, w.substr(6)));
            if (d.status < 100 || d.status > 599)
                throw std::invalid_argument("estado HTTP fora de 100..599 em \"" + w + "\"");
        } else
            throw std::invalid_argument("diretiva desconhecida \"" + w + "\"");
    };
    for (const char c : text) {
        if (c == ' ' || c == ',' || c == '\t') {
            apply(word);
            word.clear();
        } else {
            word += c;
        }
    }
    apply(word);
    return d;
}

void SimRules::add(const std::string& rule) {
    const auto eq = rule.find('=');
    if (eq == std::string::npos)
        throw std::invalid_argument("regra sem \"=\": \"" + rule + "\"");
    const std::string left = trimmed(rule.substr(0, eq));
    const std::string right = rule.substr(eq + 1);

    const auto dot = left.find(".reason");
    if (dot != std::string::npos && dot + 7 == left.size()) {
        const std::string op = left.substr(0, dot);
        if (op != "retorno" && op != "soap")
            throw std::invalid_argument("textos de recusa só para retorno ou soap: \"" + rule + "\"");
        std::vector<std::string> texts;
        std::string item;
        for (const char c : right + "|") {
            if (c == '|') {
                if (!trimmed(item).empty())
                    texts.push_back(trimmed(item));
                item.clear();
            } else {
                item += c;
            }
        }
        m_reasons[op] = texts;
        return;
    }

    const auto at = left.find('@');
    const std::string op = at == std::string::npos ? left : left.substr(0, at);
    if (!knownOperation(op))
        throw std::invalid_argument("operação desconhecida \"" + op + "\" (process, retorno ou soap)");
    m_directives[left] = parseDirectives(right);
}

void SimRules::addFile(const std::string& path, std::vector<std::string>& problems) {
    std::ifstream in(path);
    std::string line;
    while (std::getline(in, line)) {
        const std::string t = trimmed(line);
        if (t.empty() || t[0] == '#')
            continue;
        try {
            add(t);
        } catch (const std::invalid_argument& e) {
            problems.push_back(path + ": " + e.what());
        }
    }
}

SimDirective SimRules::directive(const std::string& operation, const std::string& key) const {
    if (auto it = m_directives.find(operation + "@" + key); it != m_directives.end())
        return it->second;
    if (auto it = m_directives.find(operation); it != m_directives.end())
        return it->second;
    return SimDirective();
}

std::vector<std::string> SimRules::reasons(const std::string& operation) const {
    const auto it = m_reasons.find(operation);
    return it == m_reasons.end() ? std::vector<std::string>() : it->second;
}
