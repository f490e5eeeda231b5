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
#include <iostream>

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

void Logs::writeRecord(const std::string& fileName, const std::string& text, const std::string& separator) {
    const std::string path = joinPath(m_platform.programFolder(), fileName);
    const bool isNew = !fileExists(path);
    std::FILE* f = std::fopen(path.c_str(), "ab");
    if (!f)
        throw AppError("Não foi possível abrir o arquivo " + path + ": " + systemErrorText(errno));
    std::string out;
    if (isNew)
        out += std::string(Header) + "\r\n";
    const std::string procedure = trim(replaceNoCase(text, separator, ""));
    out += upperText(trim(m_platform.computerName())) + separator + upperText(trim(m_platform.registeredUserName())) +
           separator + procedure + separator + trim(dateTimeText(m_clock())) + "\r\n";
    const bool written = std::fwrite(out.data(), 1, out.size(), f) == out.size();
    const int writeErrno = errno;
    const bool closed = std::fclose(f) == 0;
    if (!written || !closed)
        throw AppError("Não foi possível gravar o arquivo " + path + ": " +
                       std::strerror(written ? errno : writeErrno));
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
