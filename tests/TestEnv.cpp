#include "TestEnv.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace fs = std::filesystem;

TestEnv::TestEnv() {
    std::string tmpl = (fs::temp_directory_path() / "pelomira-test-XXXXXX").string();
    if (!::mkdtemp(tmpl.data()))
        throw std::runtime_error("mkdtemp failed");
    m_root = tmpl;
    fs::create_directories(windir());
    fs::create_directories(home());
    if (const char* v = std::getenv("PELOMIRA_WINDIR")) {
        m_hadWindir = true;
        m_oldWindir = v;
    }
    if (const char* v = std::getenv("PELOMIRA_HOME")) {
        m_hadHome = true;
        m_oldHome = v;
    }
    ::setenv("PELOMIRA_WINDIR", windir().c_str(), 1);
    ::setenv("PELOMIRA_HOME", home().c_str(), 1);
}

TestEnv::~TestEnv() {
    if (m_hadWindir)
        ::setenv("PELOMIRA_WINDIR", m_oldWindir.c_str(), 1);
    else
        ::unsetenv("PELOMIRA_WINDIR");
    if (m_hadHome)
        ::setenv("PELOMIRA_HOME", m_oldHome.c_str(), 1);
    else
        ::unsetenv("PELOMIRA_HOME");
    std::error_code ec;
    // Restore permissions a test may have taken away, then remove everything.
    for (auto it = fs::recursive_directory_iterator(m_root, ec); !ec && it != fs::recursive_directory_iterator();
         it.increment(ec))
        fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, ec);
    fs::remove_all(m_root, ec);
}

void TestEnv::writeFile(const std::string& path, const std::string& content) {
    fs::create_directories(fs::path(path).parent_path());
    std::ofstream out(path, std::ios::binary);
    out << content;
}

std::string TestEnv::readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

bool TestEnv::exists(const std::string& path) {
    return fs::exists(path);
}

void TestEnv::makeFolder(const std::string& path) {
    fs::create_directories(path);
}

std::string TestEnv::shareFolder() {
    return std::string(PELOMIRA_SOURCE_DIR) + "/share";
}
