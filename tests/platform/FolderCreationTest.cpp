#include "platform/FolderCreation.h"
#include "TestEnv.h"

#include <gtest/gtest.h>

TEST(FolderCreation, MakesEveryMissingLevel) {
    TestEnv env;
    EXPECT_EQ(createFolderTree(env.path("Honeywell/XML/")), "");
    EXPECT_TRUE(TestEnv::exists(env.path("Honeywell/XML")));
    EXPECT_EQ(createFolderTree(env.path("Honeywell//XML")), ""); // there already, doubled separator
    EXPECT_EQ(createFolderTree(env.path("Honeywell/XML/a b/ção")), "");
    EXPECT_TRUE(TestEnv::exists(env.path("Honeywell/XML/a b/ção")));
}

TEST(FolderCreation, NamesTheLevelThatCannotBeMadeInPortuguese) {
    TestEnv env;
    TestEnv::writeFile(env.path("Samsung"), "a file where a folder should be");
    EXPECT_EQ(createFolderTree(env.path("Samsung/XML/2026")), "já existe um arquivo com o nome " + env.path("Samsung"));
    EXPECT_FALSE(TestEnv::exists(env.path("Samsung/XML")));
    EXPECT_EQ(createFolderTree(""), "arquivo ou pasta não encontrado");
    // Refused even to root: the system's reason in Portuguese, naming the level.
    const std::string why = createFolderTree("/sys/pelomira-test/XML");
    EXPECT_TRUE(why.ends_with(" em /sys/pelomira-test")) << why;
    EXPECT_EQ(why.find("Operation"), std::string::npos) << why;
}
