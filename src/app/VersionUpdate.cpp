#include "app/VersionUpdate.h"

#include "base/AppError.h"
#include "base/Logs.h"
#include "base/Operator.h"
#include "base/Settings.h"
#include "base/TextUtils.h"
#include "platform/Paths.h"
#include "platform/Platform.h"
#include "platform/SystemError.h"

#include <algorithm>
#include <filesystem>
#include <optional>
#include <vector>

namespace fs = std::filesystem;

namespace {

// The character at position pos (from 1) of a UTF-8 text; empty outside the text.
std::string charAt(const std::string& text, long long pos) {
    if (pos < 1)
        return std::string();
    return charSub(text, static_cast<size_t>(pos - 1), 1);
}

int digitAt(const std::string& text, long long pos) {
    return static_cast<int>(toInteger(charAt(text, pos)));
}

std::optional<fs::file_time_type> modificationTime(const std::string& path) {
    std::error_code ec;
    const auto t = fs::last_write_time(path, ec);
    if (ec)
        return std::nullopt;
    return t;
}

struct Listed {
    std::string name;
    fs::file_time_type time;
};

} // namespace

VersionUpdate::VersionUpdate(Platform& platform, Settings& settings, Operator& op, Logs& logs)
    : m_platform(platform), m_settings(settings), m_op(op), m_logs(logs) {}

std::string VersionUpdate::chooseCandidate(const std::string& folder) {
    std::vector<Listed> files;
    std::error_code ec;
    if (!folder.empty() && fs::is_directory(folder, ec)) {
        fs::directory_iterator it(folder, ec);
        if (ec)
            throw AppError("Não foi possível ler a pasta " + folder + ": " + systemErrorText(ec));
        for (; it != fs::directory_iterator(); it.increment(ec)) {
            if (ec)
                throw AppError("Não foi possível ler a pasta " + folder + ": " + systemErrorText(ec));
            const std::string name = it->path().filename().string();
            std::error_code typeEc;
            if (it->is_directory(typeEc) || !endsWith(foldCase(name), ".exe"))
                continue;
            const auto time = modificationTime(it->path().string());
            if (!time)
                throw AppError("Não foi possível ler a data do arquivo " + it->path().string());
            files.push_back({name, *time});
        }
    }
    // The directory order of Linux file systems follows no rule; name order makes the choice
    // between installers of the same time repeatable.
    std::sort(files.begin(), files.end(), [](const Listed& a, const Listed& b) {
        const std::string fa = foldCase(a.name), fb = foldCase(b.name);
        return fa != fb ? fa < fb : a.name < b.name;
    });

    std::string candidate = DefaultCandidate;
    // The starting candidate is a bare name, so its time is that of a file of that name in the current
    // folder, when there is one; otherwise any installer is newer.
    std::optional<fs::file_time_type> candidateTime = modificationTime(DefaultCandidate);
    std::string last;
    for (const auto& f : files) {
        if (upperText(charSub(f.name, 0, 9)) == InstallerPrefix && (!candidateTime || f.time >= *candidateTime)) {
            candidate = joinPath(folder, f.name);
            candidateTime = f.time;
        }
        last = joinPath(folder, f.name);
    }
    if (!files.empty() && candidate == DefaultCandidate)
        candidate = last;
    return candidate;
}

bool VersionUpdate::isInstallerPath(const std::string& path) {
    const long long length = static_cast<long long>(charCount(path));
    if (length < 21)
        return false;
    return upperText(charSub(path, static_cast<size_t>(length - 21), 9)) == InstallerPrefix;
}

std::array<int, 4> VersionUpdate::installerVersion(const std::string& path) {
    const long long length = static_cast<long long>(charCount(path));
    return {digitAt(path, length - 10), digitAt(path, length - 8), digitAt(path, length - 6),
            digitAt(path, length - 4)};
}

std::string VersionUpdate::installerVersionText(const std::string& path) {
    const long long length = static_cast<long long>(charCount(path));
    if (length < 11)
        return std::string();
    return charSub(path, static_cast<size_t>(length - 11), 7);
}

std::array<int, 4> VersionUpdate::runningVersion(const std::string& versionText) {
    return {digitAt(versionText, 1), digitAt(versionText, 3), digitAt(versionText, 5), digitAt(versionText, 7)};
}

std::string VersionUpdate::questionText(const std::string& runningVersion, const std::string& installerPath) {
    return "Versão do PELOMIRA no terminal: " + trim(runningVersion) + "\r" +
           "Versão atual do PELOMIRA: " + installerVersionText(installerPath) + "\r" +
           "Deseja atualizar o PELOMIRA agora ?";
}

bool VersionUpdate::check() {
    try {
        if (m_platform.osVersionName().find("Windows Vista") != std::string::npos)
            return false;
        const std::string folder = m_settings.read(Settings::Dados, Settings::KeyAtualiza);
        const std::string candidate = chooseCandidate(folder);
        if (!isInstallerPath(candidate))
            return false;
        const std::string running = m_platform.programVersion();
        // The first pair of numbers that differs decides, major first.
        if (!(installerVersion(candidate) > runningVersion(running)))
            return false;
        if (!m_op.askYesNo(questionText(running, candidate), QuestionCaption, MessageIcon::Question))
            return false;
        return start(candidate);
    } catch (const std::exception& e) {
        m_logs.reportFailure(FailureHeadline, e.what(), FailureProcedure);
        return false;
    }
}

bool VersionUpdate::start(const std::string& installer) {
    m_op.message(RestartText, RestartCaption, MessageIcon::Information);
    try {
        m_op.openWithSystem(installer, InstallerParameters, folderOf(installer));
    } catch (const std::exception& e) {
        // Ending without an installer running would leave the operator with no program and no
        // update; say why and go on with the version at hand.
        m_logs.reportFailure(FailureHeadline, e.what(), FailureProcedure);
        return false;
    }
    return true;
}
