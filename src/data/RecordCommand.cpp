#include "data/RecordCommand.h"

#include "base/AppError.h"

#include <cctype>

namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

char upper(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

// True when text at pos starts with the keyword (case ignored) followed by a blank or the end.
bool keywordAt(const std::string& text, std::size_t pos, const char* keyword) {
    std::size_t i = 0;
    for (; keyword[i] != '\0'; ++i)
        if (pos + i >= text.size() || upper(text[pos + i]) != keyword[i])
            return false;
    return pos + i == text.size() || isBlank(text[pos + i]);
}

std::size_t skipBlanks(const std::string& text, std::size_t pos) {
    while (pos < text.size() && isBlank(text[pos]))
        ++pos;
    return pos;
}

std::string trimmed(const std::string& s) {
    std::size_t b = 0, e = s.size();
    while (b < e && isBlank(s[b]))
        ++b;
    while (e > b && isBlank(s[e - 1]))
        --e;
    return s.substr(b, e - b);
}

[[noreturn]] void refuse(const std::string& text, const std::string& why) {
    throw AppError("Comando do conjunto de registros não reconhecido (" + why + "): " + text);
}

} // namespace

RecordCommand RecordCommand::parse(const std::string& text) {
    RecordCommand cmd;
    const std::string t = trimmed(text);
    if (t.empty())
        return cmd;
    std::size_t pos = 0;
    if (!keywordAt(t, pos, "SELECT"))
        refuse(text, "esperado SELECT");
    pos = skipBlanks(t, pos + 6);
    if (pos >= t.size() || t[pos] != '*')
        refuse(text, "esperado *");
    pos = skipBlanks(t, pos + 1);
    if (!keywordAt(t, pos, "FROM"))
        refuse(text, "esperado FROM");
    pos = skipBlanks(t, pos + 4);

    // The name runs up to a blank-delimited WHERE (a file name may hold blanks).
    std::size_t where = std::string::npos;
    for (std::size_t i = pos; i < t.size(); ++i)
        if (isBlank(t[i]) && keywordAt(t, skipBlanks(t, i), "WHERE")) {
            where = i;
            break;
        }
    cmd.m_table = trimmed(t.substr(pos, where == std::string::npos ? std::string::npos : where - pos));
    if (cmd.m_table.empty())
        refuse(text, "falta o nome depois de FROM");
    if (where == std::string::npos)
        return cmd;

    pos = skipBlanks(t, skipBlanks(t, where) + 5);
    const std::size_t fieldStart = pos;
    while (pos < t.size() && (std::isalnum(static_cast<unsigned char>(t[pos])) || t[pos] == '_'))
        ++pos;
    if (pos == fieldStart)
        refuse(text, "falta o campo depois de WHERE");
    cmd.m_field = t.substr(fieldStart, pos - fieldStart);
    pos = skipBlanks(t, pos);
    if (pos >= t.size() || t[pos] != '=')
        refuse(text, "esperado =");
    pos = skipBlanks(t, pos + 1);
    if (pos >= t.size())
        refuse(text, "falta o valor depois de =");
    if (t[pos] == '\'') {
        std::string value;
        ++pos;
        bool closed = false;
        while (pos < t.size()) {
            if (t[pos] == '\'') {
                if (pos + 1 < t.size() && t[pos + 1] == '\'') {
                    value += '\'';
                    pos += 2;
                    continue;
                }
                closed = true;
                ++pos;
                break;
            }
            value += t[pos++];
        }
        if (!closed)
            refuse(text, "aspas sem fechamento");
        pos = skipBlanks(t, pos);
        if (pos < t.size() && t[pos] == ';')
            pos = skipBlanks(t, pos + 1);
        if (pos != t.size())
            refuse(text, "texto depois do valor");
        cmd.m_value = value;
    } else {
        std::string value = t.substr(pos);
        if (!value.empty() && value.back() == ';')
            value.pop_back();
        cmd.m_value = trimmed(value);
    }
    return cmd;
}
