#include "platform/FolderCreation.h"
#include "TestEnv.h"
#include "platform/SystemErrorText.h"

#include <gtest/gtest.h>

#include <cerrno>

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
    EXPECT_EQ(createFolderTree(env.path("Samsung/XML/2026")),
              "já existe um arquivo com esse nome em " + env.path("Samsung"));
    EXPECT_FALSE(TestEnv::exists(env.path("Samsung/XML")));
    EXPECT_EQ(createFolderTree(""), "a pasta ou o arquivo não existe");
}

TEST(FolderCreation, SystemErrorsReadInPortuguese) {
    EXPECT_EQ(systemErrorText(EACCES), "permissão negada");
    EXPECT_EQ(systemErrorText(99999), "erro do sistema 99999");
}
