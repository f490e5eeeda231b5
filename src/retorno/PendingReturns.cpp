#include "retorno/PendingReturns.h"

#include "base/AppError.h"
#include "base/TextUtils.h"
#include "data/MerlinAddress.h"
#include "platform/Platform.h"
#include "platform/SystemError.h"
#include "platform/WholeFile.h"
#include "retorno/ReturnedProcesses.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const char* const Header = "# Retornos aceitos pelo Merlin ainda não gravados na tabela GERADOS (tipo;processo;data)";

} // namespace

PendingReturns::PendingReturns(const Platform& platform) : m_path(platform.programFolder() + FileName) {}

std::string PendingReturns::encode(const std::string& text) {
    // The query encoder leaves nothing that would split a line or a field.
    return encodeQueryValue(text);
}

std::string PendingReturns::decode(const std::string& text) {
    auto digit = [](char c) -> int {
        if (c >= '0' && c <= '9')
            return c - '0';
        if (c >= 'A' && c <= 'F')
            return c - 'A' + 10;
        if (c >= 'a' && c <= 'f')
            return c - 'a' + 10;
        return -1;
    };
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%' && i + 2 < text.size() && digit(text[i + 1]) >= 0 && digit(text[i + 2]) >= 0) {
            out += static_cast<char>(digit(text[i + 1]) * 16 + digit(text[i + 2]));
            i += 2;
        } else {
            out += text[i];
        }
    }
    return out;
}

std::vector<PendingReturns::Line> PendingReturns::readLines() const {
    std::vector<Line> lines;
    std::ifstream in(m_path, std::ios::binary);
    if (!in) {
        if (errno == ENOENT)
            return lines;
        throw AppError("Não foi possível ler " + m_path + ": " + systemErrorText(errno));
    }
    std::ostringstream content;
    content << in.rdbuf();
    if (in.bad())
        throw AppError("Não foi possível ler " + m_path);
    for (std::string raw : split(content.str(), '\n')) {
        if (!raw.empty() && raw.back() == '\r')
            raw.pop_back();
        if (raw.empty() || raw[0] == '#')
            continue;
        Line line;
        line.raw = raw;
        const std::vector<std::string> fields = split(raw, ';');
        if (fields.size() == 3 && !fields[0].empty()) {
            line.understood = true;
            line.entry = {fields[0], decode(fields[1]), fields[2]};
        }
        lines.push_back(std::move(line));
    }
    return lines;
}

void PendingReturns::writeLines(const std::vector<Line>& lines) const {
    if (lines.empty()) {
        if (::unlink(m_path.c_str()) != 0 && errno != ENOENT)
            throw AppError("Não foi possível atualizar " + m_path + ": " + systemErrorText(errno));
        return;
    }
    std::string text = std::string(Header) + "\n";
    for (const Line& line : lines)
        text += (line.understood ? line.entry.kind + ";" + encode(line.entry.identifier) + ";" + line.entry.monthDayYear
                                 : line.raw) +
                "\n";
    // A crash leaves the old list or the new one.
    if (const int e = replaceFileWhole(m_path, text, 0644))
        throw AppError("Não foi possível gravar " + m_path + ": " + systemErrorText(e));
}

std::vector<PendingReturns::Entry> PendingReturns::entries() const {
    std::vector<Entry> all;
    for (const Line& line : readLines())
        if (line.understood)
            all.push_back(line.entry);
    return all;
}

void PendingReturns::add(const Entry& entry) {
    std::vector<Line> lines = readLines();
    const std::string wanted = ReturnedProcesses::key(entry.kind, entry.identifier);
    for (const Line& line : lines)
        if (line.understood && ReturnedProcesses::key(line.entry.kind, line.entry.identifier) == wanted)
            return;
    Line line;
    line.understood = true;
    line.entry = {entry.kind, trim(entry.identifier), entry.monthDayYear};
    lines.push_back(std::move(line));
    writeLines(lines);
}

PendingReturns::FlushResult PendingReturns::flush(ReturnedProcesses& returned) {
    FlushResult result;
    std::vector<Line> lines = readLines();
    std::vector<Line> kept;
    for (Line& line : lines) {
        if (!line.understood) {
            kept.push_back(std::move(line));
            continue;
        }
        const Entry& e = line.entry;
        try {
            if (!returned.contains(e.kind, e.identifier))
                returned.record(e.kind, e.identifier, e.monthDayYear);
            ++result.written;
        } catch (const std::exception& ex) {
            result.failures.push_back(e.kind + " - " + e.identifier + ": " + ex.what());
            kept.push_back(std::move(line));
        }
    }
    if (result.written > 0)
        writeLines(kept);
    return result;
}
