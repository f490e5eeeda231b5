#include "data/RecordSet.h"
#include "base/AppError.h"
#include "data/DataProvider.h"
#include "data/RecordCommand.h"

#include <gtest/gtest.h>

#include <optional>

namespace {

using Cell = std::optional<std::string>;

// Rows of a flat table; std::nullopt is a null value.
std::shared_ptr<RecordTable> makeTable(const std::vector<std::string>& fields,
                                       const std::vector<std::vector<Cell>>& rows) {
    auto schema = std::make_shared<RecordSchema>();
    for (const auto& f : fields)
        schema->addValueField(f);
    auto table = std::make_shared<RecordTable>(schema);
    for (const auto& cells : rows) {
        auto row = table->newRow();
        for (std::size_t i = 0; i < cells.size(); ++i)
            if (cells[i])
                row.set(static_cast<int>(i), *cells[i]);
        table->append(std::move(row));
    }
    return table;
}

// A provider handing out fixed rows, as the XML providers hand out transformed ones.
class TableProvider : public DataProvider {
public:
    explicit TableProvider(std::shared_ptr<RecordTable> table) : m_table(std::move(table)) {}
    const std::string& name() const override { return m_name; }
    std::shared_ptr<RecordTable> provide() override { return m_table; }

private:
    std::string m_name = "XMLTPAux";
    std::shared_ptr<RecordTable> m_table;
};

// Processes with nested additions, each addition with nested taxes.
std::shared_ptr<RecordTable> processes() {
    auto taxSchema = std::make_shared<RecordSchema>();
    taxSchema->addValueField("ID_TRIBUTO");
    auto addSchema = std::make_shared<RecordSchema>();
    addSchema->addValueField("ID_ADICAO");
    addSchema->addNestedField("TRIBUTO", taxSchema);
    auto procSchema = std::make_shared<RecordSchema>();
    procSchema->addValueField("ID_PROCESSO");
    procSchema->addNestedField("ADICAO", addSchema);
    auto table = std::make_shared<RecordTable>(procSchema);
    const std::vector<std::pair<std::string, std::vector<std::string>>> data = {{"P1", {"001", "002"}},
                                                                                {"P2", {"001", "002", "003"}}};
    for (const auto& [id, additions] : data) {
        auto row = table->newRow();
        row.set(0, id);
        auto adds = std::make_shared<RecordTable>(addSchema);
        for (const auto& a : additions) {
            auto add = adds->newRow();
            add.set(0, a);
            auto taxes = std::make_shared<RecordTable>(taxSchema);
            for (const char* t : {"0001", "0002"}) {
                auto tax = taxes->newRow();
                tax.set(0, id + "-" + a + "-" + t);
                taxes->append(std::move(tax));
            }
            add.setNested(0, taxes);
            adds->append(std::move(add));
        }
        row.setNested(0, adds);
        table->append(std::move(row));
    }
    return table;
}

std::vector<std::string> column(RecordSet& rs, const std::string& field) {
    std::vector<std::string> out;
    for (rs.first(); !rs.eof(); rs.next())
        out.push_back(rs.text(field));
    return out;
}

} // namespace

TEST(RecordSetTest, CursorMovesLikeADataSet) {
    RecordSet rs("cdsTeste");
    rs.setData(makeTable({"ID"}, {{"a"}, {"b"}, {"c"}}));
    EXPECT_TRUE(rs.active());
    EXPECT_EQ(rs.recordCount(), 3u);
    EXPECT_TRUE(rs.bof());
    EXPECT_FALSE(rs.eof());
    EXPECT_EQ(rs.text("ID"), "a");
    rs.next();
    rs.next();
    EXPECT_EQ(rs.text("ID"), "c");
    EXPECT_FALSE(rs.eof());
    rs.next(); // past the last row: eof, still on the last row
    EXPECT_TRUE(rs.eof());
    EXPECT_EQ(rs.text("ID"), "c");
    rs.prior();
    EXPECT_FALSE(rs.eof());
    EXPECT_EQ(rs.text("ID"), "b");
    rs.prior();
    rs.prior(); // before the first: bof
    EXPECT_TRUE(rs.bof());
    EXPECT_EQ(rs.text("ID"), "a");
    rs.last();
    EXPECT_TRUE(rs.eof());
    EXPECT_EQ(rs.text("ID"), "c");
    rs.moveTo(1);
    EXPECT_EQ(rs.text("ID"), "b");
    EXPECT_EQ(rs.position(), 1u);
    EXPECT_THROW(rs.moveTo(3), AppError);
    EXPECT_TRUE(rs.locate("ID", "c"));
    EXPECT_EQ(rs.position(), 2u);
    EXPECT_FALSE(rs.locate("ID", "z"));
    EXPECT_EQ(rs.position(), 2u);
}

TEST(RecordSetTest, EmptySetHasFieldsButNoRow) {
    RecordSet rs("cdsVazio");
    rs.setData(makeTable({"ID_PROCESSO", "MENSAGEM"}, {}));
    EXPECT_TRUE(rs.isEmpty());
    EXPECT_TRUE(rs.eof());
    EXPECT_TRUE(rs.bof());
    EXPECT_TRUE(rs.hasField("mensagem"));
    EXPECT_FALSE(rs.value("ID_PROCESSO").has_value());
    EXPECT_EQ(rs.text("MENSAGEM"), "");
    rs.next();
    EXPECT_TRUE(rs.eof());
}

TEST(RecordSetTest, NullIsDistinctFromEmpty) {
    RecordSet rs("cdsTeste");
    rs.setData(makeTable({"A", "B", "C"}, {{std::nullopt, "", "x"}}));
    EXPECT_TRUE(rs.isNull("A"));
    EXPECT_FALSE(rs.isNull("B"));
    EXPECT_EQ(rs.value("B"), std::optional<std::string>(""));
    EXPECT_EQ(rs.text("A"), "");
    EXPECT_EQ(rs.text("c"), "x") << "field names are found without regard to case";
}

TEST(RecordSetTest, MissingFieldAndClosedSetNameTheSet) {
    RecordSet rs("cdsXMLPrincipal");
    try {
        rs.text("ID_PROCESSO");
        FAIL() << "a closed set must refuse";
    } catch (const AppError& e) {
        EXPECT_NE(std::string(e.what()).find("cdsXMLPrincipal"), std::string::npos);
    }
    rs.setData(makeTable({"ID_PROCESSO"}, {{"1"}}));
    try {
        rs.text("NAO_EXISTE");
        FAIL() << "a missing field must throw";
    } catch (const AppError& e) {
        const std::string m = e.what();
        EXPECT_NE(m.find("cdsXMLPrincipal"), std::string::npos);
        EXPECT_NE(m.find("NAO_EXISTE"), std::string::npos);
    }
    EXPECT_THROW(rs.setField("ID_PROCESSO", "2"), AppError) << "browse state";
}

TEST(RecordSetTest, CommandTextNarrowsRows) {
    TableProvider provider(
        makeTable({"ID_ADICAO", "NCM"}, {{"001", "1"}, {"002", "2"}, {" 001 ", "3"}, {std::nullopt, "4"}}));
    RecordSet rs("cdsXMLTPAux");
    rs.setProvider(&provider);
    EXPECT_EQ(rs.providerName(), "XMLTPAux");

    rs.setCommandText("SELECT * FROM ITEM WHERE ID_ADICAO = '001'");
    rs.open();
    EXPECT_EQ(column(rs, "NCM"), (std::vector<std::string>{"1", "3"})) << "the field is compared trimmed";

    rs.close();
    rs.setCommandText("select * from ITEM where ID_ADICAO='002'");
    rs.open();
    EXPECT_EQ(column(rs, "NCM"), (std::vector<std::string>{"2"}));

    rs.close();
    rs.setCommandText("SELECT * FROM PROC123");
    rs.open();
    EXPECT_EQ(rs.recordCount(), 4u);

    rs.close();
    rs.setCommandText("SELECT * FROM ITEM WHERE NAO_HA = '1'");
    EXPECT_THROW(rs.open(), AppError);
    EXPECT_FALSE(rs.active());

    rs.setCommandText("DELETE FROM ITEM");
    EXPECT_THROW(rs.open(), AppError);
    EXPECT_FALSE(rs.active());
}

TEST(RecordSetTest, CommandTextForms) {
    auto c = RecordCommand::parse("SELECT * FROM FABR_EXP WHERE ID_FABREXP='D''ARC'");
    EXPECT_EQ(c.tableName(), "FABR_EXP");
    ASSERT_TRUE(c.hasCondition());
    EXPECT_EQ(c.conditionField(), "ID_FABREXP");
    EXPECT_EQ(c.conditionValue(), "D'ARC");

    c = RecordCommand::parse("SELECT * FROM MEU ARQUIVO");
    EXPECT_EQ(c.tableName(), "MEU ARQUIVO") << "a file base name may hold blanks";
    EXPECT_FALSE(c.hasCondition());

    c = RecordCommand::parse("SELECT * FROM ADICAO WHERE ID_PROCESSO = 'IM 26/001 WHERE'");
    EXPECT_EQ(c.conditionValue(), "IM 26/001 WHERE");

    c = RecordCommand::parse("SELECT * FROM X WHERE N = 12");
    EXPECT_EQ(c.conditionValue(), "12");

    c = RecordCommand::parse("  ");
    EXPECT_FALSE(c.hasCondition());
    EXPECT_EQ(c.tableName(), "");

    for (const char* bad : {"SELECT ID FROM X", "SELECT * FROM", "SELECT * FROM X WHERE", "SELECT * FROM X WHERE A 'b'",
                            "SELECT * FROM X WHERE A = 'b", "SELECT * FROM X WHERE A = 'b' AND C = 'd'"})
        EXPECT_THROW(RecordCommand::parse(bad), AppError) << bad;
}

TEST(RecordSetTest, ChildFollowsParentFromItsFirstRow) {
    TableProvider provider(processes());
    RecordSet principal("cdsXMLPrincipal"), aux("cdsXMLTPAux"), aux2("cdsXMLTPAux2");
    principal.setProvider(&provider);
    principal.open();
    aux.bindToNested(principal, "adicao");
    aux2.bindToNested(aux, "TRIBUTO");
    EXPECT_EQ(aux.nestedFieldName(), "ADICAO");
    EXPECT_EQ(aux.recordCount(), 2u);
    EXPECT_EQ(aux2.text("ID_TRIBUTO"), "P1-001-0001");

    aux.next();
    EXPECT_EQ(aux2.text("ID_TRIBUTO"), "P1-002-0001") << "grandchild follows the child";
    aux2.next();

    principal.next();
    EXPECT_EQ(aux.recordCount(), 3u);
    EXPECT_TRUE(aux.bof());
    EXPECT_EQ(aux.text("ID_ADICAO"), "001") << "child back at its first row";
    EXPECT_EQ(aux2.text("ID_TRIBUTO"), "P2-001-0001");

    // A child's command text narrows the nested rows of each parent row.
    aux.close();
    aux.setCommandText("SELECT * FROM ADICAO WHERE ID_ADICAO = '003'");
    aux.open();
    EXPECT_EQ(column(aux, "ID_ADICAO"), (std::vector<std::string>{"003"}));
    principal.first();
    EXPECT_TRUE(aux.isEmpty()) << "P1 has no addition 003";
    aux.setCommandText("SELECT * FROM ADICAO WHERE ID_ADICAO = '002'");
    aux.open(); // on an open set: the new text applies at once
    EXPECT_EQ(column(aux, "ID_ADICAO"), (std::vector<std::string>{"002"}));

    // A text left over from a binding to another set does not narrow this one.
    principal.next();
    aux2.close();
    aux2.setCommandText("SELECT * FROM ADICAO WHERE ID_ADICAO = '003'");
    aux2.bindToNested(aux, "TRIBUTO");
    EXPECT_EQ(aux2.recordCount(), 2u);

    // Editing the parent row keeps its nested rows.
    principal.edit();
    principal.setField("ID_PROCESSO", "P2 editado");
    principal.post();
    aux.unbindNested();
    aux.setCommandText("");
    aux.bindToNested(principal, "ADICAO");
    EXPECT_EQ(principal.text("ID_PROCESSO"), "P2 editado");
    EXPECT_EQ(aux.recordCount(), 3u);

    principal.close();
    EXPECT_FALSE(aux.active());
    EXPECT_FALSE(aux2.active());
    EXPECT_THROW(aux.open(), AppError) << "parent closed";
    EXPECT_THROW(aux.bindToNested(principal, "ADICAO"), AppError);

    principal.open();
    EXPECT_THROW(aux.bindToNested(principal, "ID_PROCESSO"), AppError) << "not a nested field";
    EXPECT_THROW(aux.bindToNested(principal, "NAO_HA"), AppError);
    EXPECT_THROW(principal.bindToNested(aux2, "TRIBUTO"), AppError) << "circular";
}

TEST(RecordSetTest, ChildOfEmptyParentIsEmpty) {
    auto t = processes();
    TableProvider provider(std::make_shared<RecordTable>(t->schema()));
    RecordSet principal("p"), aux("a");
    principal.setProvider(&provider);
    principal.open();
    aux.bindToNested(principal, "ADICAO");
    EXPECT_TRUE(aux.isEmpty());
    EXPECT_TRUE(aux.hasField("ID_ADICAO"));
    EXPECT_FALSE(aux.value("ID_ADICAO").has_value());
}

TEST(RecordSetTest, DestroyingAParentLeavesChildrenClosed) {
    TableProvider provider(processes());
    RecordSet aux("a");
    {
        RecordSet principal("p");
        principal.setProvider(&provider);
        principal.open();
        aux.bindToNested(principal, "ADICAO");
    }
    EXPECT_FALSE(aux.active());
    EXPECT_EQ(aux.parentSet(), nullptr);
    EXPECT_THROW(aux.open(), AppError);
}

TEST(RecordSetTest, OrderIsStableAndRemovable) {
    RecordSet rs("cdsXMLAux");
    rs.setData(makeTable({"ID_ADICAO", "ID_ITEM"},
                         {{"002", "1"}, {"001", "2"}, {"002", "3"}, {std::nullopt, "4"}, {"001", "5"}}));
    rs.moveTo(2); // item 3
    rs.setIndexFieldNames("ID_ADICAO");
    EXPECT_EQ(rs.text("ID_ITEM"), "3") << "the cursor stays on its row";
    EXPECT_EQ(column(rs, "ID_ITEM"), (std::vector<std::string>{"4", "2", "5", "1", "3"}));
    rs.setIndexFieldNames("");
    EXPECT_EQ(column(rs, "ID_ITEM"), (std::vector<std::string>{"1", "2", "3", "4", "5"}));
    EXPECT_THROW(rs.setIndexFieldNames("NAO_HA"), AppError);
}

TEST(RecordSetTest, AppendEditPostCancel) {
    RecordSet rs("cdsUnidade");
    rs.addFieldDef("ID_UNIDADE");
    rs.addFieldDef("DESCRICAO");
    rs.createDataSet();
    EXPECT_TRUE(rs.isEmpty());
    EXPECT_EQ(rs.state(), RecordSet::State::Browse);

    rs.append();
    EXPECT_EQ(rs.state(), RecordSet::State::Insert);
    rs.setField("ID_UNIDADE", "10");
    rs.setField("DESCRICAO", "QUILOGRAMA LIQUIDO");
    EXPECT_EQ(rs.text("DESCRICAO"), "QUILOGRAMA LIQUIDO") << "the pending row is the current row";
    EXPECT_EQ(rs.recordCount(), 0u);
    rs.post();
    EXPECT_EQ(rs.state(), RecordSet::State::Browse);
    EXPECT_EQ(rs.recordCount(), 1u);

    rs.append();
    rs.setField("ID_UNIDADE", "11");
    rs.cancel();
    EXPECT_EQ(rs.recordCount(), 1u);
    EXPECT_EQ(rs.text("ID_UNIDADE"), "10");

    rs.edit();
    EXPECT_EQ(rs.state(), RecordSet::State::Edit);
    rs.setField("DESCRICAO", "");
    rs.cancel();
    EXPECT_EQ(rs.text("DESCRICAO"), "QUILOGRAMA LIQUIDO");

    rs.edit();
    rs.setField("DESCRICAO", "");
    rs.setNull("ID_UNIDADE");
    rs.post();
    EXPECT_EQ(rs.value("DESCRICAO"), std::optional<std::string>(""));
    EXPECT_TRUE(rs.isNull("ID_UNIDADE"));

    // A move while inserting posts the row first.
    rs.append();
    rs.setField("ID_UNIDADE", "12");
    rs.first();
    EXPECT_EQ(rs.recordCount(), 2u);

    // insert places the row before the current one.
    rs.moveTo(1);
    rs.insert();
    rs.setField("ID_UNIDADE", "meio");
    rs.post();
    EXPECT_EQ(column(rs, "ID_UNIDADE"), (std::vector<std::string>{"", "meio", "12"}));

    rs.moveTo(1);
    rs.deleteRecord();
    EXPECT_EQ(rs.text("ID_UNIDADE"), "12");
    EXPECT_EQ(rs.recordCount(), 2u);
    while (!rs.isEmpty())
        rs.deleteRecord();
    EXPECT_THROW(rs.deleteRecord(), AppError);
    EXPECT_THROW(rs.edit(), AppError);

    rs.append();
    rs.setField("ID_UNIDADE", "1");
    rs.post();
    rs.emptyDataSet();
    EXPECT_TRUE(rs.isEmpty());
}

TEST(RecordSetTest, ValuesOfDifferentLengthsKeepTheirNeighbours) {
    auto t = makeTable({"A", "B", "C"}, {{"um", std::nullopt, "três"}});
    auto& row = t->row(0);
    row.set(1, "um valor bem mais comprido");
    row.set(0, "");
    row.set(2, "3");
    row.set(1, "b");
    EXPECT_EQ(row.value(0), "");
    EXPECT_FALSE(row.isNull(0));
    EXPECT_EQ(row.value(1), "b");
    EXPECT_EQ(row.value(2), "3");
    row.setNull(1);
    EXPECT_TRUE(row.isNull(1));
    EXPECT_EQ(row.value(2), "3");
}

TEST(RecordSetTest, ListenersHearMovesAndOpenWithoutSourceFails) {
    RecordSet rs("cdsTemp");
    EXPECT_THROW(rs.open(), AppError);
    int calls = 0;
    const int id = rs.subscribe([&](RecordSet&) { ++calls; });
    rs.setData(makeTable({"A"}, {{"1"}, {"2"}}));
    rs.next();
    EXPECT_EQ(calls, 2);
    rs.unsubscribe(id);
    rs.first();
    EXPECT_EQ(calls, 2);
}
