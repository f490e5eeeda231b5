#include "data/NtxIndex.h"
#include "DbfTestFiles.h"
#include "TestEnv.h"
#include "base/AppError.h"
#include "data/DbfCheck.h"
#include "data/DbfHeader.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <random>
#include <set>

using namespace DbfTestFiles;

namespace {

// Wide keys keep pages small (8 entries), so a few hundred keys already make a tree four levels deep.
const std::vector<DbfField> WideFields = DbfHeader::forFields({field("K", 'C', 100)}).fields;

std::string key(int n) {
    std::string k = std::to_string(n);
    k.insert(0, 6 - k.size(), '0');
    k.resize(100, ' ');
    return k;
}

std::vector<NtxIndex::Entry> all(NtxIndex& index) {
    std::vector<NtxIndex::Entry> out;
    index.forEach([&](const NtxIndex::Entry& e) { out.push_back(e); });
    return out;
}

std::vector<NtxIndex::Entry> sorted(const std::multiset<std::pair<std::string, std::uint32_t>>& model) {
    std::vector<NtxIndex::Entry> out;
    for (const auto& [k, r] : model)
        out.push_back({k, r});
    return out;
}

} // namespace

TEST(NorvikNtxIndex, RandomInsertsAndRemovalsKeepTheTreeEqualToAModel) {
    TestEnv env;
    const std::string path = env.path("T.NTX");
    NtxIndex::create(path, "K", WideFields, {});
    NtxIndex index;
    index.open(path, WideFields, true, 1000);

    std::mt19937 rng(12345);
    std::multiset<std::pair<std::string, std::uint32_t>> model;
    std::uint32_t recno = 0;
    for (int round = 0; round < 6; ++round) {
        index.beginWrite();
        for (int i = 0; i < 150; ++i) {
            // Few distinct keys, so equal keys stretch over several pages.
            const std::string k = key(static_cast<int>(rng() % 60));
            index.insert(k, ++recno);
            model.insert({k, recno});
        }
        for (int i = 0; i < 100 && !model.empty(); ++i) {
            auto it = model.begin();
            std::advance(it, rng() % model.size());
            ASSERT_TRUE(index.remove(it->first, it->second));
            model.erase(it);
        }
        index.endWrite();
        ASSERT_EQ(all(index), sorted(model)) << "round " << round;
    }
    // Emptied completely, the tree is one empty page and takes new keys again.
    index.beginWrite();
    for (const auto& [k, r] : model)
        ASSERT_TRUE(index.remove(k, r));
    EXPECT_FALSE(index.remove(key(1), 1));
    index.insert(key(7), 7);
    index.endWrite();
    EXPECT_EQ(all(index), (std::vector<NtxIndex::Entry>{{key(7), 7}}));
    // Pages freed on the way were reused: the file did not keep growing.
    EXPECT_LT(std::filesystem::file_size(path), 200u * NtxIndex::PageSize);
}

TEST(NorvikNtxIndex, SeekFindsExactPartialAndSoftKeys) {
    TestEnv env;
    const std::string path = env.path("S.NTX");
    std::vector<NtxIndex::Entry> entries;
    for (int n = 0; n < 500; n += 2)
        entries.push_back({key(n), static_cast<std::uint32_t>(n + 1)});
    NtxIndex::create(path, "K", WideFields, entries);
    NtxIndex index;
    index.open(path, WideFields, false, 1000);

    EXPECT_EQ(index.seek(key(246))->recno, 247u);
    EXPECT_FALSE(index.seek(key(247)).has_value());
    EXPECT_EQ(index.seek(key(247), true)->recno, 249u);
    EXPECT_FALSE(index.seek(key(999), true).has_value());
    EXPECT_EQ(index.seek("0001")->recno, 101u); // "000100" is the first key starting with "0001"
    const auto run = index.withPrefix("00004");
    ASSERT_EQ(run.size(), 5u); // 000040 … 000048
    EXPECT_EQ(run.front().recno, 41u);
    EXPECT_EQ(run.back().recno, 49u);
    EXPECT_EQ(all(index), entries);
}

TEST(NorvikNtxIndex, KeyExpressionsBuildTheKeysOfTheRecord) {
    TestEnv env;
    const std::vector<DbfField> fields = DbfHeader::forFields({field("COD", 'C', 3), field("NOME", 'C', 10),
                                                               field("DATA", 'D', 8), field("QTDE", 'N', 7, 2)})
                                             .fields;
    auto image = [&](const std::string& cod, const std::string& nome, const std::string& data,
                     const std::string& qtde) {
        std::string r = " " + cod + nome + data + qtde;
        return r;
    };
    const std::string rec = image("001", "Acao bem  ", "20260315", "  12.50");
    auto keyOf = [&](const std::string& expression) {
        const std::string path = env.path("E.NTX");
        NtxIndex::create(path, expression, fields, {});
        NtxIndex index;
        index.open(path, fields, false, 1000);
        return index.keyOf(rec);
    };
    EXPECT_EQ(keyOf("COD+DTOS(DATA)"), "00120260315");
    EXPECT_EQ(keyOf("UPPER(NOME)"), "ACAO BEM  ");
    EXPECT_EQ(keyOf("STR(QTDE,10,3)"), "    12.500");
    EXPECT_EQ(keyOf("QTDE"), "  12.50");
    EXPECT_EQ(keyOf("LEFT(NOME,3)+SUBSTR(COD,2,2)"), "Aca01");
    EXPECT_EQ(keyOf("X->COD + DTOS(DATA)"), "00120260315");

    for (const char* bad :
         {"TRIM(NOME)", "COD+", "NADA", "COD+QTDE", "DTOS(COD)", "SUBSTR(NOME,0,2)", "COD+DATA", ""}) {
        EXPECT_THROW(NtxIndex::create(env.path("B.NTX"), bad, fields, {}), AppError) << bad;
    }
}

TEST(NorvikNtxIndex, AnIndexWhoseExpressionTheProgramCannotBuildIsRefusedOnOpen) {
    TestEnv env;
    const std::vector<DbfField> fields = DbfHeader::forFields({field("COD", 'C', 3), field("NOME", 'C', 10)}).fields;
    const std::string path = env.path("F.NTX");
    NtxIndex::create(path, "COD+NOME", fields, {});
    // The expression text is patched to a function of the workstations that is not supported here.
    std::string bytes = TestEnv::readFile(path);
    const std::string other = "DESCEND(COD)";
    bytes.replace(22, other.size() + 1, other + std::string(1, '\0'));
    TestEnv::writeFile(path, bytes);
    NtxIndex index;
    try {
        index.open(path, fields, true, 1000);
        FAIL() << "opened";
    } catch (const AppError& e) {
        EXPECT_NE(std::string(e.what()).find("DESCEND(COD)"), std::string::npos) << e.what();
        EXPECT_NE(std::string(e.what()).find("F.NTX"), std::string::npos) << e.what();
    }
}
