#pragma once

#include <string>

/// A private world for one test: a fresh temporary folder with windir/ (PELOMIRA_WINDIR, where
/// PELOMIRA.INI lives) and home/ (PELOMIRA_HOME, the program folder), removed afterwards. The
/// variables are restored when the object goes away, so no test touches the real home.
class TestEnv {
public:
    TestEnv();
    ~TestEnv();
    TestEnv(const TestEnv&) = delete;
    TestEnv& operator=(const TestEnv&) = delete;

    const std::string& root() const { return m_root; }
    std::string windir() const { return m_root + "/windir"; }
    /// The program folder, with a trailing separator as the platform gives it.
    std::string home() const { return m_root + "/home/"; }
    /// root + "/" + relative
    std::string path(const std::string& relative) const { return m_root + "/" + relative; }

    static void writeFile(const std::string& path, const std::string& content);
    static std::string readFile(const std::string& path);
    static bool exists(const std::string& path);
    static void makeFolder(const std::string& path);
    /// The repository's share/ folder.
    static std::string shareFolder();

private:
    std::string m_root;
    std::string m_oldWindir, m_oldHome;
    bool m_hadWindir = false, m_hadHome = false;
};
