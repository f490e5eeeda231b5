// The files this program writes, read by readers written by others (Debian's Python and Perl xBase
// modules), and the files those modules write, read by this program.
#include "DbfTestFiles.h"
#include "TestEnv.h"
#include "data/DbfCheck.h"
#include "data/DbfTable.h"

#include <gtest/gtest.h>

#include <sstream>

using namespace DbfTestFiles;

namespace {

// Debian's interpreter, where the packaged modules live (a python3 earlier on PATH may lack them).
const char* const Python = "/usr/bin/python3";

std::string nome(int i) {
    static const char* const names[] = {"Ação Comércio", "Pão & Cia \"Ltda\"", "Ünica d'Água", "PLAIN"};
    return std::string(names[i % 4]) + " " + std::to_string(i);
}

std::string reg(int i) {
    return "R" + std::to_string(i * 7919 % 1000);
}

// A table of 400 records (every tenth deleted) with a memo field and two indices.
struct Written {
    TestEnv env;
    std::string dbf = env.path("ITENS.DBF");
    std::string byReg = env.path("ITREG.NTX");
    std::string byName = env.path("ITNOM.NTX");
    Written() {
        makeTable(dbf, {{byReg, "UPPER(REGISTRO)+DTOS(DATA)"}, {byName, "NOME"}});
        DbfTable t;
        t.open(dbf, {byReg, byName});
        for (int i = 0; i < 400; ++i) {
            t.append();
            t.setText("REGISTRO", reg(i));
            t.setText("NOME", nome(i));
            t.setText("VALOR", std::to_string(i) + ".25");
            t.setText("DATA", i % 3 ? "2026-0" + std::to_string(1 + i % 9) + "-1" + std::to_string(i % 10) : "");
            t.setBool("ATIVO", i % 2 == 0);
            t.setText("OBS", i % 5 ? "memo " + std::to_string(i) + "\r\nção|" + std::string(i, 'x') : "");
            t.post();
            if (i % 10 == 9)
                t.deleteRecord();
        }
    }
};

} // namespace

TEST(NorvikReaders, PythonReadsOurTableAndMemosValueForValue) {
    Written w;
    const auto r = runScript(w.env, Python, "read.py", R"(
import sys
from dbfread import DBF
for rec in DBF(sys.argv[1], encoding='cp850', char_decode_errors='strict'):
    d = rec['DATA']
    print('|'.join([rec['REGISTRO'], rec['NOME'], '%.2f' % rec['VALOR'], d.strftime('%d/%m/%Y') if d else '',
                    'T' if rec['ATIVO'] else 'F', repr(rec['OBS'] or '')]))
)",
                             w.dbf);
    ASSERT_EQ(r.status, 0) << r.output;
    std::ostringstream expected;
    DbfTable t;
    t.open(w.dbf);
    for (bool more = t.first(); more; more = t.next()) {
        std::string obs = t.text("OBS");
        std::string quoted = "'";
        for (char c : obs)
            quoted += c == '\r' ? std::string("\\r") : c == '\n' ? std::string("\\n") : std::string(1, c);
        quoted += "'";
        expected << t.text("REGISTRO") << '|' << t.text("NOME") << '|' << t.text("VALOR") << '|' << t.text("DATA")
                 << '|' << t.text("ATIVO") << '|' << quoted << '\n';
    }
    EXPECT_EQ(r.output, expected.str());
    EXPECT_NE(r.output.find("Ação Comércio 4|"), std::string::npos);
    EXPECT_NE(r.output.find("PLAIN 35|"), std::string::npos);
    EXPECT_EQ(r.output.find("PLAIN 39|"), std::string::npos) << "a deleted record was shown";
}

TEST(NorvikReaders, PerlFindsEveryKeyOfOurIndicesInOrder) {
    Written w;
    // Every live record's key, as the index must list them: key order, equal keys by record number.
    auto expectedKeys = [&](std::size_t which) {
        DbfTable t;
        t.open(w.dbf, {w.byReg, w.byName});
        std::vector<std::pair<std::string, std::uint32_t>> keys;
        for (bool more = t.first(); more; more = t.next())
            keys.push_back({t.index(which).keyOf(t.recordImage()), t.recno()});
        std::sort(keys.begin(), keys.end());
        std::string out;
        for (const auto& [k, r] : keys)
            out += "[" + k + "]" + std::to_string(r) + "\n";
        return out;
    };
    const std::string script = R"(
use XBase::Index;
my $index = XBase::Index->new($ARGV[0], type => 'char') or die XBase::Index->errstr;
$index->prepare_select;
while (my ($key, $recno) = $index->fetch) { print "[$key]$recno\n"; }
)";
    const auto reg = runScript(w.env, "perl", "keys.pl", script, w.byReg);
    ASSERT_EQ(reg.status, 0) << reg.output;
    EXPECT_EQ(reg.output, expectedKeys(0));
    const auto byName = runScript(w.env, "perl", "keys.pl", script, w.byName);
    ASSERT_EQ(byName.status, 0) << byName.output;
    // Perl shows the bytes of the page; compare bytes with bytes.
    EXPECT_EQ(byName.output.size(), expectedKeys(1).size());
    EXPECT_EQ(std::count(byName.output.begin(), byName.output.end(), '\n'), 360);
    EXPECT_TRUE(DbfCheck::run(w.dbf, {w.byReg, w.byName}, 1000).empty());
}

TEST(NorvikReaders, TablesWrittenByPythonAndPerlAreReadByUs) {
    TestEnv env;
    const auto py = runScript(env, Python, "write.py", R"(
import sys, dbf
t = dbf.Table(sys.argv[1], 'NOME C(20); VALOR N(10,2); DATA D; ATIVO L; OBS M', dbf_type='db3', codepage='cp850')
t.open(dbf.READ_WRITE)
t.append(('Ação', 1.5, dbf.Date(2026, 3, 15), True, 'memo\r\nlinha'))
t.append(('Segundo', -2.25, None, False, ''))
t.append(('Apagado', 0, None, False, 'x'))
dbf.delete(t[2])
t.close()
)",
                              env.path("PY.DBF"));
    ASSERT_EQ(py.status, 0) << py.output;
    DbfTable t;
    t.open(env.path("PY.DBF"));
    ASSERT_TRUE(t.first());
    EXPECT_EQ(t.text("NOME"), "Ação");
    EXPECT_EQ(t.text("VALOR"), "1.50");
    EXPECT_EQ(t.text("DATA"), "15/03/2026");
    EXPECT_EQ(t.text("ATIVO"), "T");
    EXPECT_EQ(t.text("OBS"), "memo\r\nlinha");
    ASSERT_TRUE(t.next());
    EXPECT_EQ(t.text("VALOR"), "-2.25");
    EXPECT_EQ(t.text("OBS"), "");
    EXPECT_FALSE(t.next()); // the deleted one stays hidden
    // And we can go on writing where Python stopped: a memo after theirs, an index over both.
    t.append();
    t.setText("NOME", "Nosso");
    t.setText("OBS", "depois");
    t.post();
    ASSERT_TRUE(t.go(4));
    EXPECT_EQ(t.text("OBS"), "depois");
    ASSERT_TRUE(t.go(1));
    EXPECT_EQ(t.text("OBS"), "memo\r\nlinha");

    const auto pl = runScript(env, "perl", "write.pl", R"(
use XBase;
my $t = XBase->create(name => $ARGV[0], field_names => ['COD', 'QTDE', 'QUANDO'],
                      field_types => ['C', 'N', 'D'], field_lengths => [6, 8, 8], field_decimals => [0, 3, 0])
    or die XBase->errstr;
$t->set_record(0, 'ABC', 12.5, '20260102');
$t->set_record(1, 'DEF', 3, '');
$t->close;
)",
                              env.path("PL"));
    ASSERT_EQ(pl.status, 0) << pl.output;
    DbfTable p;
    p.open(env.path("PL.dbf"));
    ASSERT_TRUE(p.go(1));
    EXPECT_EQ(p.text("COD"), "ABC");
    EXPECT_EQ(p.text("QTDE"), "12.500");
    EXPECT_EQ(p.text("QUANDO"), "02/01/2026");
    ASSERT_TRUE(p.go(2));
    EXPECT_EQ(p.text("QTDE"), "3.000");
    EXPECT_EQ(p.recordCount(), 2u);
}
