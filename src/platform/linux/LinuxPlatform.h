#pragma once

#include "platform/Platform.h"

/// Platform on Linux. Folders come from PELOMIRA_WINDIR / PELOMIRA_HOME when set (tests point them
/// at temporary folders), else ~/.config/pelomira and the executable's folder.
class LinuxPlatform : public Platform {
public:
    std::string windowsFolder() const override;
    std::string programFolder() const override;
    std::string homeFolder() const override;
    std::string computerName() const override;
    std::string registeredUserName() const override;
    std::string osVersionName() const override;
    std::string programVersion() const override;
    int countProcesses(const std::string& exeName) const override;
    bool runProgram(const std::string& commandLine, const std::string& workDir) override;
    std::string openWithSystem(const std::string& file, const std::string& params, const std::string& workDir) override;
    std::optional<std::string> findFileNoCase(const std::string& folder, const std::string& name) const override;
};
