#pragma once

#include <memory>
#include <optional>
#include <string>

/// What the program asks of the operating system. One implementation per system; the Linux one
/// lives in platform/linux.
class Platform {
public:
    virtual ~Platform() = default;

    /// Folder of the shared settings files (PELOMIRA.INI, VORDA.INI), without trailing separator.
    virtual std::string windowsFolder() const = 0;
    /// Folder of the running program, with a trailing separator. Logs, TEMP.XML, XTR/ and XML/ live here.
    virtual std::string programFolder() const = 0;
    /// The user's home folder; the Linux spelling of the drive-letter defaults is placed under it.
    virtual std::string homeFolder() const = 0;
    virtual std::string computerName() const = 0;
    virtual std::string registeredUserName() const = 0;
    virtual std::string osVersionName() const = 0;
    /// major.minor.release.build of this program, each number cut to two digits.
    virtual std::string programVersion() const = 0;
    /// Running processes of the current user whose executable is named exeName (no case difference) and
    /// whose settings folder is this process's (a copy run with settings of its own is another
    /// installation), zombies not counted.
    virtual int countProcesses(const std::string& exeName) const = 0;
    /// Starts a command line as a new process in workDir and does not wait. False when it could not start.
    virtual bool runProgram(const std::string& commandLine, const std::string& workDir) = 0;
    /// Opens a file with the system (the "OPEN" action): an executable is started with params in workDir,
    /// a document is handed to the desktop's opener. Empty when it started, else why it could not (a
    /// sentence for the operator); the operator seam turns that into the program's error.
    virtual std::string openWithSystem(const std::string& file, const std::string& params,
                                       const std::string& workDir) = 0;
    /// Full path of the entry of folder whose name equals name regardless of case, if any.
    virtual std::optional<std::string> findFileNoCase(const std::string& folder, const std::string& name) const = 0;

    /// The implementation for the system the program was built for.
    static std::unique_ptr<Platform> createNative();
};
