#include "OrientadorWorld.h"
#include "base/AppError.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <filesystem>

namespace {

// A plain SQLite connection of another program, holding the file as its statements leave it.
struct OtherProgram {
    sqlite3* db = nullptr;
    explicit OtherProgram(const std::string& path) { sqlite3_open(path.c_str(), &db); }
    ~OtherProgram() { sqlite3_close(db); }
    int exec(const std::string& sql) { return sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr); }
};

} // namespace

TEST(OrientadorDatabase, ConnectionStringsAreBuiltExactlyAndParsedBack) {
    const std::string prep = OrientadorDatabase::preparationConnectionString("/dados/Import.prd", " IMPORT ");
    EXPECT_EQ(prep, "Provider=Microsoft.Jet.OLEDB.4.0;Data Source=/dados/Import.prd\\IMPORT.mdb;"
                    "Persist Security Info=False");
    const std::string file = OrientadorDatabase::fileConnectionString("C:\\SISCOPRD\\Import.prd", "TABSISCO.MDB");
    EXPECT_EQ(file, "Provider=Microsoft.Jet.OLEDB.4.0;Data Source=C:\\SISCOPRD\\Import.prd\\TABSISCO.MDB;"
                    "Persist Security Info=False");
    EXPECT_EQ(OrientadorDatabase::dataSourceOf(prep), "/dados/Import.prd\\IMPORT.mdb");
    EXPECT_EQ(OrientadorDatabase::dataSourceOf(file), "C:\\SISCOPRD\\Import.prd\\TABSISCO.MDB");
    EXPECT_EQ(OrientadorDatabase::dataSourceOf("provider=x; data source = \"/a b/c\\D.MDB\" ;"), "/a b/c\\D.MDB");
    EXPECT_NE(errorOf([] { OrientadorDatabase::dataSourceOf("Provider=Microsoft.Jet.OLEDB.4.0;"); }), "");
}

TEST(OrientadorDatabase, LinuxFolderPlusBackslashNameResolvesRegardlessOfCase) {
    OrientadorWorld w;
    // "IMPORT.mdb" of the preparation string finds IMPORT.MDB.
    EXPECT_EQ(OrientadorDatabase::resolveDataSource(*w.platform, w.folder + "\\IMPORT.mdb"), w.file("IMPORT.MDB"));
    // A file the Orientador spelled otherwise, and a folder setting that ends with a separator.
    std::filesystem::rename(w.file("REGIMP.MDB"), w.file("RegImp.mdb"));
    EXPECT_EQ(OrientadorDatabase::resolveDataSource(*w.platform, w.folder + "/\\REGIMP.MDB"), w.folder + "/RegImp.mdb");

    OrientadorDatabase db;
    db.setConnectionString(OrientadorDatabase::preparationConnectionString(w.folder, "REGIMP"));
    db.connect(*w.platform);
    EXPECT_TRUE(db.connected());
    EXPECT_EQ(db.fileName(), "RegImp.mdb");
    EXPECT_NE(errorOf([&] { db.setConnectionString("x"); }).find("aberta"), std::string::npos);
    db.disconnect();
    EXPECT_FALSE(db.connected());

    const std::string noFolder =
        errorOf([&] { OrientadorDatabase::resolveDataSource(*w.platform, w.env.path("nada") + "\\IMPORT.MDB"); });
    EXPECT_NE(noFolder.find("pasta do Orientador - SISCOMEX não foi encontrada"), std::string::npos) << noFolder;
    const std::string noFile =
        errorOf([&] { OrientadorDatabase::resolveDataSource(*w.platform, w.folder + "\\LIDSI2.MDB"); });
    EXPECT_NE(noFile.find("O arquivo LIDSI2.MDB não foi encontrado"), std::string::npos) << noFile;
    const std::string noSetting =
        errorOf([&] { OrientadorDatabase::resolveDataSource(*w.platform, std::string("\\IMPORT.MDB")); });
    EXPECT_NE(noSetting.find("não está informada"), std::string::npos) << noSetting;
}

TEST(OrientadorDatabase, AccessAndForeignFilesAreRefusedWithAClearMessage) {
    OrientadorWorld w;
    auto refusal = [&](const std::string& content) {
        TestEnv::writeFile(w.file("DSI.MDB"), content);
        OrientadorDatabase db;
        db.setConnectionString(OrientadorDatabase::fileConnectionString(w.folder, "DSI.MDB"));
        const std::string e = errorOf([&] { db.connect(*w.platform); });
        EXPECT_FALSE(db.connected());
        return e;
    };
    const std::string jet =
        refusal(std::string("\x00\x01\x00\x00Standard Jet DB\x00\x01\x00\x00\x00", 24) + std::string(2000, '\x11'));
    EXPECT_NE(jet.find("Microsoft Access"), std::string::npos) << jet;
    EXPECT_NE(jet.find("não podem ser lidos"), std::string::npos) << jet;
    const std::string ace = refusal(std::string("\x00\x01\x00\x00Standard ACE DB\x00", 20) + std::string(500, 'x'));
    EXPECT_NE(ace.find("Microsoft Access"), std::string::npos) << ace;
    EXPECT_NE(refusal("CODIGO;NOME\r\n1;BRASIL\r\n").find("não é um banco de dados"), std::string::npos);
    EXPECT_NE(refusal("").find("vazio"), std::string::npos);
}

TEST(OrientadorDatabase, AFileAnotherProgramHoldsGivesTheLockedMessage) {
    OrientadorWorld w;
    w.addRow("IMPORT.MDB", "DECLARAÇÃO_IMPORTAÇÃO", {{"NR_DECL_IMP_MICRO", "00001/26"}, {"NR_IDENT_USUARIO", "111"}});
    const std::string lockedText =
        "está bloqueado por outro programa; o Orientador - SISCOMEX pode estar com ele aberto";

    {
        // Holding the whole file of a rollback journal (a folder made before the write-ahead log; with
        // the log, readers are never held up): not even the catalogue can be read.
        OtherProgram other(w.file("IMPORT.MDB"));
        ASSERT_EQ(other.exec("PRAGMA journal_mode=DELETE"), SQLITE_OK);
        ASSERT_EQ(other.exec("BEGIN EXCLUSIVE"), SQLITE_OK);
        OrientadorDatabase db;
        db.setBusyTimeout(100);
        db.setConnectionString(OrientadorDatabase::fileConnectionString(w.folder, "IMPORT.MDB"));
        const std::string e = errorOf([&] { db.connect(*w.platform); });
        EXPECT_NE(e.find(lockedText), std::string::npos) << e;
        EXPECT_FALSE(db.connected());
    }
    {
        // Writing: reading goes on, the write waits and then says why it failed; the row stays pending.
        OtherProgram other(w.file("IMPORT.MDB"));
        ASSERT_EQ(other.exec("BEGIN IMMEDIATE"), SQLITE_OK);
        auto db = w.connect("IMPORT.MDB");
        db->setBusyTimeout(100);
        OrientadorTable t(*db);
        t.setTableName("DECLARAÇÃO_IMPORTAÇÃO");
        t.open();
        EXPECT_EQ(t.recordCount(), 1);
        t.insert();
        t.setText("NR_IDENT_USUARIO", "222");
        const std::string e = errorOf([&] { t.post(); });
        EXPECT_NE(e.find("IMPORT.MDB " + lockedText), std::string::npos) << e;
        EXPECT_EQ(t.state(), OrientadorTable::State::Insert);
        EXPECT_NE(errorOf([&] { t.locate("NR_IDENT_USUARIO", "111"); }).find(lockedText), std::string::npos);
        ASSERT_EQ(other.exec("COMMIT"), SQLITE_OK);
        t.post();
        EXPECT_EQ(t.recordCount(), 2);
    }
}

TEST(OrientadorDatabase, OneOpenTableAtATimeAndDisconnectClosesIt) {
    OrientadorWorld w;
    auto db = w.connect("REGIMP.MDB");
    OrientadorTable a(*db), b(*db);
    a.setTableName("OPERAÇÃO_COM_TRATAMENTO");
    a.open();
    b.setTableName("DESTAQUE_NCM");
    EXPECT_NE(errorOf([&] { b.open(); }).find("OPERAÇÃO_COM_TRATAMENTO"), std::string::npos);
    EXPECT_FALSE(b.active());
    a.insert();
    a.setText("NR_TRAT_IMP_MICRO", "00001/26");
    db->disconnect();
    EXPECT_FALSE(a.active());
    // The pending row went with the closed table, and the other cursor may open now.
    db->connect(*w.platform);
    b.open();
    b.close();
    a.open();
    EXPECT_EQ(a.recordCount(), 0);
    EXPECT_NE(errorOf([&] {
                  OrientadorTable c(*db);
                  c.setTableName("X");
                  c.open();
              }),
              "");
}

TEST(OrientadorFolder, CreatesEveryTableRefusesToOverwriteAndReplacesOnRequest) {
    OrientadorWorld w(true);
    // Every table the transfers, the scan and the export name is there, with its key fields.
    auto db = w.connect("TABSISCO.MDB");
    OrientadorTable t(*db);
    t.setTableName("TAB_PAIS");
    t.open();
    const long long countries = t.recordCount();
    EXPECT_GT(countries, 40);
    ASSERT_TRUE(t.locate("NM_PAIS", "brasil"));
    EXPECT_EQ(t.text("CD_PAIS"), "105");
    EXPECT_EQ(t.text("IN_MERCOSUL"), "True");
    t.close();
    t.setTableName("TAB_CONVERSAO_CAMBIO");
    t.open();
    EXPECT_EQ(t.fieldType("DT_VIGENCIA"), OrientadorFieldType::Date);
    EXPECT_EQ(t.text("DT_VIGENCIA"), "05/01/2026");
    t.close();
    db->disconnect();

    const std::string refusal = errorOf([&] { OrientadorFolder::create(*w.platform, w.folder, {}); });
    EXPECT_NE(refusal.find("já contém arquivos do Orientador - SISCOMEX (IMPORT.MDB, REGIMP.MDB"), std::string::npos)
        << refusal;
    EXPECT_EQ(static_cast<long long>(w.column("TABSISCO.MDB", "TAB_PAIS", "CD_PAIS").size()), countries);

    w.addRow("LIDSI.MDB", "PROCESSO_ANUENTE", {{"NR_TRAT_IMP_MICRO", "LSI-1"}});
    std::filesystem::rename(w.file("LIDSI.MDB"), w.file("lidsi.mdb"));
    OrientadorFolder::Options force;
    force.force = true;
    OrientadorFolder::create(*w.platform, w.folder, force);
    EXPECT_FALSE(TestEnv::exists(w.file("lidsi.mdb")));
    EXPECT_TRUE(w.column("LIDSI.MDB", "PROCESSO_ANUENTE", "NR_TRAT_IMP_MICRO").empty());
    EXPECT_TRUE(w.column("TABSISCO.MDB", "TAB_PAIS", "CD_PAIS").empty());
    for (const auto& entry : std::filesystem::directory_iterator(w.folder))
        EXPECT_EQ(entry.path().extension(), ".MDB") << entry.path();
}
