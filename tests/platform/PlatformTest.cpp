#include "TestEnv.h"
#include "app/AppError.h"
#include "platform/Paths.h"
#include "platform/Platform.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <thread>

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
    // Two copies of sleep under a name of our own, one of them spelled in other case.
    const std::string a = env.path("PeloTesteX"), b = env.path("other/pelotestex");
    TestEnv::makeFolder(env.path("other"));
    std::filesystem::copy_file("/bin/sleep", a);
    std::filesystem::copy_file("/bin/sleep", b);
    std::filesystem::copy_file("/bin/sleep", env.path("PeloTesteX-copy"));
    ASSERT_TRUE(platform->runProgram(a + " 5", env.root()));
    ASSERT_TRUE(platform->runProgram(b + " 5", env.root()));
    ASSERT_TRUE(platform->runProgram(env.path("PeloTesteX-copy") + " 5", env.root()));
    int count = 0;
    for (int i = 0; i < 50 && count < 2; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        count = platform->countProcesses("PELOTESTEX");
    }
    EXPECT_EQ(count, 2);
    ::system("pkill -f pelotestex; pkill -f PeloTesteX");
}

TEST(Platform, OpeningAWindowsProgramFailsClearly) {
    TestEnv env;
    auto platform = Platform::createNative();
    TestEnv::writeFile(env.path("DI.EXE"), "MZ");
    EXPECT_THROW(platform->openWithSystem(env.path("DI.EXE"), "", env.root()), AppError);
    EXPECT_THROW(platform->openWithSystem(env.path("NADA.EXE"), "", env.root()), AppError);
    EXPECT_FALSE(platform->runProgram(env.path("nada-aqui"), env.root()));
}
