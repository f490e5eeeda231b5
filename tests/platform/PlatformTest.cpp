#include "platform/Platform.h"
#include "TestEnv.h"
#include "base/AppError.h"
#include "base/TextUtils.h"
#include "platform/Paths.h"
#include "platform/WholeFile.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <csignal>
#include <filesystem>
#include <grp.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

TEST(Platform, FoldersComeFromTheEnvironment) {
    TestEnv env;
    auto platform = Platform::createNative();
    EXPECT_EQ(platform->windowsFolder(), env.windir());
    EXPECT_EQ(platform->programFolder(), env.home());
    EXPECT_FALSE(platform->computerName().empty());
    EXPECT_FALSE(platform->registeredUserName().empty());
    EXPECT_EQ(platform->osVersionName().find("Windows Vista"), std::string::npos);
    EXPECT_EQ(platform->programVersion().size() >= 7, true);
}

TEST(Platform, PathsJoinWithOneSeparator) {
    EXPECT_EQ(joinPath("/a", "b"), "/a/b");
    EXPECT_EQ(joinPath("/a/", "b"), "/a/b");
    EXPECT_EQ(joinPath("C:\\x\\", "DI.EXE"), "C:\\x\\DI.EXE");
    EXPECT_EQ(joinPath("/a", "\\b"), "/a/b");
    EXPECT_EQ(fileNameOf("C:\\dir\\proc123.xml"), "proc123.xml");
    EXPECT_EQ(fileNameOf("/dir/proc123.xml"), "proc123.xml");
}

TEST(Platform, FindsFilesRegardlessOfCase) {
    TestEnv env;
    auto platform = Platform::createNative();
    TestEnv::writeFile(env.path("orientador/tabsisco.mdb"), "x");
    const auto found = platform->findFileNoCase(env.path("orientador"), "TABSISCO.MDB");
    ASSERT_TRUE(found.has_value());
    EXPECT_EQ(*found, env.path("orientador/tabsisco.mdb"));
    EXPECT_FALSE(platform->findFileNoCase(env.path("orientador"), "DI.XTR").has_value());
}

TEST(Platform, CountsProcessesByExecutableNameWithoutCase) {
    TestEnv env;
    auto platform = Platform::createNative();
    // Two copies of sleep under a name of our own (unique to this run), one spelled in other case,
    // and a third under a longer name that must not count.
    const std::string name = "PeloT" + std::to_string(::getpid());
    const std::string a = env.path(name), b = env.path("other/" + foldCase(name)), c = env.path(name + "-copia");
    TestEnv::makeFolder(env.path("other"));
    for (const auto& target : {a, b, c})
        std::filesystem::copy_file("/bin/sleep", target);
    for (const auto& target : {a, b, c})
        ASSERT_TRUE(platform->runProgram(target + " 3", env.root()));
    int count = 0;
    for (int i = 0; i < 100 && count < 2; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        count = platform->countProcesses(upperText(name));
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_EQ(platform->countProcesses(upperText(name)), 2);
    (void)!::system(("pkill -f " + name + " ; pkill -f " + foldCase(name)).c_str());
}

TEST(Platform, CountsOnlyTheCurrentUsersProcesses) {
    if (::getuid() != 0)
        GTEST_SKIP() << "starting a process of another user needs root";
    TestEnv env;
    auto platform = Platform::createNative();
    // The same program run by this user and by another one (nobody).
    const std::string name = "PeloU" + std::to_string(::getpid());
    const std::string program = env.path(name);
    std::filesystem::copy_file("/bin/sleep", program);
    std::filesystem::permissions(env.root(), std::filesystem::perms::others_exec, std::filesystem::perm_options::add);
    std::vector<pid_t> children;
    for (const bool other : {false, true}) {
        const pid_t pid = ::fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            if (other && (::setgroups(0, nullptr) != 0 || ::setgid(65534) != 0 || ::setuid(65534) != 0))
                ::_exit(126);
            ::execl(program.c_str(), program.c_str(), "5", static_cast<char*>(nullptr));
            ::_exit(127);
        }
        children.push_back(pid);
    }
    // Both must be running the program before counting.
    for (int i = 0; i < 200; ++i) {
        int ready = 0;
        for (pid_t pid : children) {
            const std::string comm = TestEnv::readFile("/proc/" + std::to_string(pid) + "/comm");
            ready += comm.rfind(name.substr(0, 15), 0) == 0 ? 1 : 0;
        }
        if (ready == 2)
            break;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    EXPECT_EQ(platform->countProcesses(name), 1);
    for (pid_t pid : children) {
        ::kill(pid, SIGKILL);
        ::waitpid(pid, nullptr, 0);
    }
}

TEST(Platform, OpeningAWindowsProgramFailsClearly) {
    TestEnv env;
    auto platform = Platform::createNative();
    TestEnv::writeFile(env.path("DI.EXE"), "MZ");
    EXPECT_NE(platform->openWithSystem(env.path("DI.EXE"), "", env.root()), "");
    EXPECT_NE(platform->openWithSystem(env.path("NADA.EXE"), "", env.root()), "");
    EXPECT_FALSE(platform->runProgram(env.path("nada-aqui"), env.root()));
}

TEST(Platform, ACopyWithSettingsOfItsOwnIsAnotherInstallation) {
    TestEnv env;
    auto platform = Platform::createNative();
    const std::string name = "PeloW" + std::to_string(::getpid());
    const std::string program = env.path(name);
    std::filesystem::copy_file("/bin/sleep", program);
    // One copy with this test's settings folder (inherited), one with a folder of its own.
    ASSERT_TRUE(platform->runProgram(program + " 3", env.root()));
    const std::string command = "PELOMIRA_WINDIR=" + env.path("outra") + " " + program + " 3 &";
    ASSERT_EQ(std::system(command.c_str()), 0);
    int seen = 0;
    for (int i = 0; i < 100; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        seen = std::system(("test $(pgrep -c -x " + name + ") -ge 2").c_str()) == 0 ? 2 : 0;
        if (seen == 2)
            break;
    }
    ASSERT_EQ(seen, 2);
    EXPECT_EQ(platform->countProcesses(name), 1);
    (void)!::system(("pkill -x " + name).c_str());
}

TEST(Platform, AFileIsReplacedWholeWithItsModeOrNotAtAll) {
    TestEnv env;
    const std::string path = env.path("lista.txt");
    TestEnv::writeFile(path, "antigo\n");
    EXPECT_EQ(replaceFileWhole(path, "novo\n", 0640), 0);
    EXPECT_EQ(TestEnv::readFile(path), "novo\n");
    EXPECT_EQ(std::filesystem::status(path).permissions() & std::filesystem::perms::all,
              std::filesystem::perms::owner_read | std::filesystem::perms::owner_write |
                  std::filesystem::perms::group_read);
    // A name that cannot be taken (a folder stands there): the error comes back, the folder and its
    // neighbours stay as they were, and no work file is left beside it.
    std::filesystem::create_directories(env.path("pasta/dentro"));
    EXPECT_NE(replaceFileWhole(env.path("pasta"), "x", 0644), 0);
    EXPECT_TRUE(std::filesystem::is_directory(env.path("pasta/dentro")));
    for (const auto& e : std::filesystem::directory_iterator(env.root()))
        EXPECT_FALSE(startsWith(e.path().filename().string(), "pasta.")) << e.path();
    EXPECT_EQ(replaceFileWhole(env.path("nada/lista.txt"), "x", 0644), ENOENT);
}

TEST(Platform, AFileIsCopiedWholeWhileOthersLookAtTheName) {
    TestEnv env;
    const std::string from = env.path("programa"), to = env.path("pasta/PROGRAMA.EXE");
    std::filesystem::create_directories(env.path("pasta"));
    std::string bytes(8 << 20, '\0');
    for (std::size_t i = 0; i < bytes.size(); ++i)
        bytes[i] = static_cast<char>(i * 131 % 251);
    TestEnv::writeFile(from, bytes);

    // Whoever looks at the name while copies are made finds nothing or the whole file.
    std::atomic<bool> done{false};
    std::atomic<int> partial{0};
    std::thread watcher([&] {
        while (!done) {
            std::error_code ec;
            const auto size = std::filesystem::file_size(to, ec);
            if (!ec && size != bytes.size())
                ++partial;
        }
    });
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(copyFileWhole(from, to, 0755), 0);
    done = true;
    watcher.join();
    EXPECT_EQ(partial, 0);
    EXPECT_EQ(TestEnv::readFile(to), bytes);
    EXPECT_EQ(std::filesystem::status(to).permissions() & std::filesystem::perms::all,
              std::filesystem::perms::owner_all | std::filesystem::perms::group_read |
                  std::filesystem::perms::group_exec | std::filesystem::perms::others_read |
                  std::filesystem::perms::others_exec);

    // A source that is not there: the error, and nothing beside the name.
    EXPECT_EQ(copyFileWhole(env.path("nada"), env.path("pasta/OUTRO.EXE"), 0755), ENOENT);
    for (const auto& e : std::filesystem::directory_iterator(env.path("pasta")))
        EXPECT_EQ(e.path().filename().string(), "PROGRAMA.EXE");
}
