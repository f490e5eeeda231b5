#include "base/Logs.h"

#include "base/AppError.h"
#include "base/Operator.h"
#include "base/TextUtils.h"
#include "platform/Paths.h"
#include "platform/Platform.h"
#include "platform/SystemError.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <iostream>
#include <sys/stat.h>
#include <unistd.h>

Logs::Logs(const Platform& platform, Operator& op)
    : m_platform(platform), m_op(op), m_clock([] { return std::chrono::system_clock::now(); }) {}

std::string Logs::dateTimeText(std::chrono::system_clock::time_point when) {
    const std::time_t t = std::chrono::system_clock::to_time_t(when);
    std::tm tm{};
    localtime_r(&t, &tm);
    char buf[64];
    if (tm.tm_hour == 0 && tm.tm_min == 0 && tm.tm_sec == 0)
        std::snprintf(buf, sizeof buf, "%02d/%02d/%04d", tm.tm_mday, tm.tm_mon + 1, tm.tm_year + 1900);
    else
        std::snprintf(buf, sizeof buf, "%02d/%02d/%04d %02d:%02d:%02d", tm.tm_mday, tm.tm_mon + 1, tm.tm_year + 1900,
                      tm.tm_hour, tm.tm_min, tm.tm_sec);
    return buf;
}

namespace {

// A record stays one line of readable length whatever the text it notes holds.
constexpr size_t MaxProcedureChars = 2000;

std::string oneLine(std::string text) {
    for (char& c : text)
        if (c == '\r' || c == '\n' || c == '\t' || c == '\0')
            c = ' ';
    if (charCount(text) > MaxProcedureChars)
        text = charSub(text, 0, MaxProcedureChars) + "…";
    return text;
}

} // namespace

void Logs::writeRecord(const std::string& fileName, const std::string& text, const std::string& separator) {
    const std::string path = joinPath(m_platform.programFolder(), fileName);
    const bool existed = fileExists(path);
    const int fd = ::open(path.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0644);
    if (fd < 0)
        throw AppError("Não foi possível abrir o arquivo " + path + ": " + systemErrorText(errno));
    // An empty file gets the header too: a first write that failed on a full disk left one behind.
    struct stat st {};
    const off_t sizeBefore = ::fstat(fd, &st) == 0 ? st.st_size : 0;
    std::string out;
    if (sizeBefore == 0)
        out += std::string(Header) + "\r\n";
    const std::string procedure = oneLine(trim(replaceNoCase(text, separator, "")));
    out += upperText(trim(m_platform.computerName())) + separator + upperText(trim(m_platform.registeredUserName())) +
           separator + procedure + separator + trim(dateTimeText(m_clock())) + "\r\n";
    // One write call: records of two programs appending at once do not interleave.
    ssize_t n = -1;
    do
        n = ::write(fd, out.data(), out.size());
    while (n < 0 && errno == EINTR);
    const int writeErrno = n < 0 ? errno : ENOSPC;
    const bool written = n == static_cast<ssize_t>(out.size());
    if (!written) {
        // No half record: the file goes back to what it was (or away, when this write created it).
        if (!existed)
            ::unlink(path.c_str());
        else if (::ftruncate(fd, sizeBefore) != 0)
            std::cerr << "Pelomira: " << path << ": " << systemErrorText(errno) << std::endl;
    }
    const bool closed = ::close(fd) == 0;
    if (!written || !closed)
        throw AppError("Não foi possível gravar o arquivo " + path + ": " +
                       systemErrorText(written ? errno : writeErrno));
}

void Logs::WriteLog(const std::string& fileName, const std::string& text, const std::string& separator) {
    try {
        writeRecord(fileName, text, separator);
    } catch (const std::exception& e) {
        // A failing ERRO.CSV while reporting a failing log must not start the report again.
        if (m_reportingLogFailure) {
            std::cerr << "Pelomira: " << LogFailureProcedure << e.what() << std::endl;
            return;
        }
        m_reportingLogFailure = true;
        m_op.message(std::string(LogFailureHeadline) + "\r" + SupportLine + "\r" + "ERRO: " + e.what(),
                     LogFailureCaption, MessageIcon::Error);
        WriteLog(ErrorFile, trim(std::string(LogFailureProcedure) + e.what()), ";");
        m_reportingLogFailure = false;
    }
}

void Logs::activity(const std::string& text) {
    WriteLog(ActivityFile, text, ";");
}

void Logs::error(const std::string& procedure, const std::string& failure) {
    WriteLog(ErrorFile, trim("Procedimento: " + procedure + " - Erro: " + failure), ";");
}

void Logs::reportFailure(const std::string& headline, const std::string& failure, const std::string& logProcedure,
                         const std::string& shownProcedure) {
    std::string text = headline + "\r" + SupportLine;
    if (shownProcedure.empty())
        text += "\rERRO: " + failure;
    else
        text += "\r\rProcedimento: " + shownProcedure + "\rERRO: " + failure;
    m_op.message(text, "Pelomira", MessageIcon::Error);
    error(logProcedure, failure);
}
