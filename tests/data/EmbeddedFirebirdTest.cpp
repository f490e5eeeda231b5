// The embedded engine's private configuration folder and the user's lock folder.
#include "data/EmbeddedFirebird.h"
#include "TestEnv.h"
#include "base/AppError.h"
#include "data/IntegraDatabase.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <set>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

std::string firstSetting(const std::string& configText) {
    const size_t mode = configText.find("ServerMode");
    const size_t include = configText.find("include ");
    return mode != std::string::npos && (include == std::string::npos || mode < include) ? "ServerMode" : "include";
}

// An installation as Debian lays it out: the library in the architecture folder, the root under
// firebird/<version> with lib/ pointing back at it.
std::string debianLayout(const TestEnv& env, const std::string& version, const std::string& libraryFile) {
    const std::string arch = env.path("usr/lib/arch");
    const std::string root = arch + "/firebird/" + version;
    TestEnv::writeFile(arch + "/" + libraryFile, "ELF");
    TestEnv::writeFile(root + "/firebird.conf", "# installed\n");
    TestEnv::writeFile(root + "/firebird.msg", "msg");
    TestEnv::makeFolder(root + "/plugins");
    TestEnv::makeFolder(root + "/lib");
    fs::create_symlink("../../../" + libraryFile, root + "/lib/libfbclient.so.2");
    return root;
}

} // namespace

TEST(EmbeddedFirebird, FindsTheInstallationItsClientLibraryBelongsTo) {
    TestEnv env;
    // Two versions side by side; the library in use belongs to 3.0.
    debianLayout(env, "4.0", "libfbclient.so.4.0.5");
    const std::string root = debianLayout(env, "3.0", "libfbclient.so.3.0.11");
    fs::create_symlink("libfbclient.so.3.0.11", env.path("usr/lib/arch/libfbclient.so.2"));
    EXPECT_EQ(EmbeddedFirebird::installedRootOf(env.path("usr/lib/arch/libfbclient.so.2")), root);

    // A self-contained installation: the root is the folder above lib/.
    TestEnv::writeFile(env.path("opt/fb/lib/libfbclient.so.2"), "ELF");
    TestEnv::writeFile(env.path("opt/fb/firebird.conf"), "");
    EXPECT_EQ(EmbeddedFirebird::installedRootOf(env.path("opt/fb/lib/libfbclient.so.2")), env.path("opt/fb"));

    // A library with no installation around it, and one that is not there.
    TestEnv::writeFile(env.path("alone/libfbclient.so.2"), "ELF");
    EXPECT_EQ(EmbeddedFirebird::installedRootOf(env.path("alone/libfbclient.so.2")), "");
    EXPECT_EQ(EmbeddedFirebird::installedRootOf(env.path("nada/libfbclient.so.2")), "");

    // This machine's own client library leads to its installation.
    const std::string library = EmbeddedFirebird::clientLibraryPath();
    ASSERT_FALSE(library.empty());
    const std::string installed = EmbeddedFirebird::installedRootOf(library);
    EXPECT_TRUE(TestEnv::exists(installed + "/firebird.conf")) << library << " -> " << installed;
}

TEST(EmbeddedFirebird, PrivateRootMirrorsTheInstallationAndSharesTheFile) {
    TestEnv env;
    const std::string installed = debianLayout(env, "3.0", "libfbclient.so.3.0.11");
    const std::string folder = env.path("user");
    TestEnv::makeFolder(folder);

    const std::string root = EmbeddedFirebird::privateRoot(folder, installed);
    EXPECT_TRUE(EmbeddedFirebird::isPrivateRoot(root));
    EXPECT_EQ(fs::read_symlink(root + "/plugins").string(), installed + "/plugins");
    EXPECT_EQ(fs::read_symlink(root + "/firebird.msg").string(), installed + "/firebird.msg");
    EXPECT_FALSE(fs::is_symlink(root + "/firebird.conf"));
    const std::string config = TestEnv::readFile(root + "/firebird.conf");
    EXPECT_NE(config.find("ServerMode = SuperClassic\n"), std::string::npos) << config;
    EXPECT_NE(config.find("include " + installed + "/firebird.conf\n"), std::string::npos) << config;
    // The engine keeps the first value of a key: the mode comes before the installed configuration.
    EXPECT_EQ(firstSetting(config), "ServerMode");

    // The same installation: the same root, untouched.
    EXPECT_EQ(EmbeddedFirebird::privateRoot(folder, installed), root);

    // A package upgrade that changes the installation gets a new root; the old one stays for the
    // processes still running on it.
    TestEnv::writeFile(installed + "/fbtrace.conf", "");
    const std::string upgraded = EmbeddedFirebird::privateRoot(folder, installed);
    EXPECT_NE(upgraded, root);
    EXPECT_TRUE(fs::is_symlink(upgraded + "/fbtrace.conf"));
    EXPECT_TRUE(EmbeddedFirebird::isPrivateRoot(root));
    const std::string moved = debianLayout(env, "3.1", "libfbclient.so.3.1.0");
    EXPECT_NE(EmbeddedFirebird::privateRoot(folder, moved), upgraded);

    // A folder we may not write is reported, not half made.
    ::chmod(folder.c_str(), 0500);
    if (::access(folder.c_str(), W_OK) != 0) {
        TestEnv::writeFile(installed + "/new.conf", "");
        EXPECT_THROW(EmbeddedFirebird::privateRoot(folder, installed), AppError);
    }
    ::chmod(folder.c_str(), 0700);
}

TEST(EmbeddedFirebird, ManyMakingTheRootAtOnceAllGetTheSameWholeOne) {
    TestEnv env;
    const std::string installed = debianLayout(env, "3.0", "libfbclient.so.3.0.11");
    const std::string folder = env.path("user");
    TestEnv::makeFolder(folder);
    std::vector<std::string> roots(12);
    std::vector<std::string> failures(roots.size());
    std::vector<std::thread> makers;
    for (size_t i = 0; i < roots.size(); ++i)
        makers.emplace_back([&, i] {
            try {
                roots[i] = EmbeddedFirebird::privateRoot(folder, installed);
            } catch (const std::exception& e) {
                failures[i] = e.what();
            }
        });
    for (auto& t : makers)
        t.join();
    EXPECT_EQ(std::set<std::string>(failures.begin(), failures.end()), std::set<std::string>{""});
    EXPECT_EQ(std::set<std::string>(roots.begin(), roots.end()).size(), 1u);
    // Nothing left behind but the one root.
    std::vector<std::string> left;
    for (const auto& e : fs::directory_iterator(folder))
        left.push_back(e.path().string());
    EXPECT_EQ(left, std::vector<std::string>{roots[0]});
}

TEST(EmbeddedFirebird, UserFolderIsThisUsersAlone) {
    TestEnv env;
    const unsigned uid = ::getuid();
    const std::string folder = EmbeddedFirebird::userFolder(env.root(), uid);
    EXPECT_EQ(folder, env.root() + "/pelomira-firebird-" + std::to_string(uid));
    struct stat st {};
    ASSERT_EQ(::stat(folder.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0700u);
    // Opened up by someone: closed again.
    ::chmod(folder.c_str(), 0777);
    EXPECT_EQ(EmbeddedFirebird::userFolder(env.root(), uid), folder);
    ::stat(folder.c_str(), &st);
    EXPECT_EQ(st.st_mode & 0777, 0700u);

    // A link put in its place (in /tmp anyone can make one first) is refused.
    TestEnv::makeFolder(env.path("elsewhere"));
    fs::create_symlink(env.path("elsewhere"), env.root() + "/pelomira-firebird-" + std::to_string(uid + 1));
    try {
        EmbeddedFirebird::userFolder(env.root(), uid + 1);
        FAIL() << "a link was taken as the user's folder";
    } catch (const AppError& e) {
        EXPECT_NE(std::string(e.what()).find("não é uma pasta deste usuário"), std::string::npos) << e.what();
    }
    // A folder of another user (made here as that user's would be).
    if (::getuid() == 0) {
        const std::string theirs = env.root() + "/pelomira-firebird-" + std::to_string(uid + 2);
        TestEnv::makeFolder(theirs);
        ASSERT_EQ(::chown(theirs.c_str(), 65534, 65534), 0);
        EXPECT_THROW(EmbeddedFirebird::userFolder(env.root(), uid + 2), AppError);
    }
}

TEST(EmbeddedFirebird, ThisProcessRunsOnAPrivateRootAndTheUsersLockFolder) {
    TestEnv env;
    // Any use of the client library prepares the process first.
    IntegraDatabase::create(env.path("X.FDB"), "CREATE TABLE A (X INTEGER)", false);
    const EmbeddedFirebird::Setup& setup = EmbeddedFirebird::prepare();
    ASSERT_EQ(setup.failure, "");
    EXPECT_TRUE(EmbeddedFirebird::isPrivateRoot(setup.root)) << setup.root;
    EXPECT_EQ(std::string(std::getenv("FIREBIRD")), setup.root);
    EXPECT_EQ(std::string(std::getenv("FIREBIRD_LOCK")), setup.lockFolder);
    EXPECT_TRUE(TestEnv::exists(setup.lockFolder));
    EXPECT_NE(TestEnv::readFile(setup.root + "/firebird.conf").find("ServerMode = SuperClassic"), std::string::npos);
}
