#pragma once

#include <chrono>
#include <functional>
#include <string>

class Operator;
class Platform;

/// The activity log PELOMIRA_LOG.CSV and the error log ERRO.CSV in the program folder, and the
/// failure report every operation shares (message box + ERRO.CSV line).
class Logs {
public:
    static constexpr const char* ActivityFile = "PELOMIRA_LOG.CSV";
    static constexpr const char* ErrorFile = "ERRO.CSV";
    static constexpr const char* Header = "TERMINAL;USUARIO;PROCEDIMENTO;DATA/HORA";
    static constexpr const char* SupportLine = "Por favor entre em contato com o suporte técnico";
    static constexpr const char* LogFailureHeadline = "OCORREU UM ERRO NA GERAÇÃO/GRAVAÇÃO DO ARQUIVO DE LOG";
    static constexpr const char* LogFailureCaption = "Erro na gravação";
    static constexpr const char* LogFailureProcedure = "Erro na gravação do LOG - Erro: ";

    using Clock = std::function<std::chrono::system_clock::time_point()>;

    Logs(const Platform& platform, Operator& op);

    /// Appends one record to fileName in the program folder, writing the header when the file is new.
    /// Every separator is removed from text. A failure to write is reported to the operator and noted
    /// in ERRO.CSV; it never reaches the caller.
    void WriteLog(const std::string& fileName, const std::string& text, const std::string& separator = ";");
    /// A record in PELOMIRA_LOG.CSV.
    void activity(const std::string& text);
    /// "Procedimento: " + procedure + " - Erro: " + failure, trimmed, in ERRO.CSV.
    void error(const std::string& procedure, const std::string& failure);
    /// The failure report: message box (caption "Pelomira", error icon) with headline, the support
    /// line and either "ERRO: " + failure, or, when shownProcedure is not empty, the procedure block;
    /// then the ERRO.CSV line for logProcedure.
    void reportFailure(const std::string& headline, const std::string& failure, const std::string& logProcedure,
                       const std::string& shownProcedure = std::string());

    /// The text of the DATA/HORA field for a moment: dd/mm/yyyy hh:mm:ss, without the time at midnight.
    static std::string dateTimeText(std::chrono::system_clock::time_point when);
    /// Replaces the clock (tests).
    void setClock(Clock clock) { m_clock = std::move(clock); }

    Operator& op() { return m_op; }

private:
    void writeRecord(const std::string& fileName, const std::string& text, const std::string& separator);

    const Platform& m_platform;
    Operator& m_op;
    Clock m_clock;
    bool m_reportingLogFailure = false;
};
