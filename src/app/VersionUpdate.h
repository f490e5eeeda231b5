#pragma once

#include <array>
#include <string>

class Logs;
class Operator;
class Platform;
class Settings;

/// The update check run while the main window is created: looks in the update folder
/// (Dados/Atualiza) for a newer installer of the program, offers it, and on Yes starts it silently so
/// that the program can end and be replaced.
///
/// An installer's name begins with "_PELOMIRA" and ends with four one-digit numbers, each after one
/// separator character, and ".EXE" ("_PELOMIRA_1_0_3_6.EXE").
class VersionUpdate {
public:
    static constexpr const char* InstallerPrefix = "_PELOMIRA";
    /// The candidate before any file is looked at (a name without folder).
    static constexpr const char* DefaultCandidate = "PELOMIRA.EXE";
    static constexpr const char* QuestionCaption = "Atualização de Versão";
    static constexpr const char* RestartText = "Após atualizar, por favor execute novamente o PELOMIRA.";
    static constexpr const char* RestartCaption = "PELOMIRA";
    static constexpr const char* InstallerParameters = "/SILENT";
    static constexpr const char* FailureHeadline = "ERRO AO CHECAR VERSÃO";
    static constexpr const char* FailureProcedure = "Importando Dados para o NORVIK";

    VersionUpdate(Platform& platform, Settings& settings, Operator& op, Logs& logs);

    /// The whole check. True when the installer was started and the application must end now. Every
    /// failure is reported to the operator and noted in ERRO.CSV; start-up then goes on (false).
    bool check();

    /// The candidate installer of folder: among the files named "*.EXE" (any case), in name order, the
    /// newest whose name begins with "_PELOMIRA" (on equal times the later one); when none does, the
    /// last file listed; "PELOMIRA.EXE" when the folder lists no such file or does not exist. Throws
    /// AppError when the folder exists but cannot be read.
    static std::string chooseCandidate(const std::string& folder);
    /// True when the nine characters at L − 20 of path (length L, positions from 1) are "_PELOMIRA".
    static bool isInstallerPath(const std::string& path);
    /// The digits at positions L − 10, L − 8, L − 6 and L − 4. Throws AppError for a non-digit.
    static std::array<int, 4> installerVersion(const std::string& path);
    /// The seven characters from L − 10 ("1_0_3_6"), as the operator is shown them.
    static std::string installerVersionText(const std::string& path);
    /// Characters 1, 3, 5 and 7 of the running version text. Throws AppError for a non-digit.
    static std::array<int, 4> runningVersion(const std::string& versionText);
    /// The question asked before updating.
    static std::string questionText(const std::string& runningVersion, const std::string& installerPath);

private:
    bool start(const std::string& installer);

    Platform& m_platform;
    Settings& m_settings;
    Operator& m_op;
    Logs& m_logs;
};
