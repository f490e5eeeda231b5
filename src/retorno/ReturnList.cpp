#include "retorno/ReturnList.h"

#include "data/RecordSchema.h"
#include "data/RecordSet.h"
#include "data/RecordTable.h"

#include <string_view>

namespace {

constexpr const char* True = "True";
constexpr const char* False = "False";

std::shared_ptr<RecordSchema> listSchema() {
    auto schema = std::make_shared<RecordSchema>();
    for (const std::string& name : ReturnList::fieldNames())
        schema->addValueField(name);
    return schema;
}

// A date the row does not carry is null, as an empty date field reads.
std::string_view dateValue(const std::string& text) {
    return text.empty() ? std::string_view() : std::string_view(text);
}

} // namespace

const std::vector<std::string>& ReturnList::fieldNames() {
    static const std::vector<std::string> names = {Importar,          TipoProcesso,    Registro,
                                                   NrProcesso,        DataProcesso,    NrProtocolo,
                                                   DataProcessamento, DataTransmissao, AnoRegistro};
    return names;
}

void ReturnList::empty(RecordSet& list) {
    list.close();
    list.clearFieldDefs();
    for (const std::string& name : fieldNames())
        list.addFieldDef(name);
    list.createDataSet();
}

std::shared_ptr<RecordTable> ReturnList::newTable() {
    return std::make_shared<RecordTable>(listSchema());
}

void ReturnList::append(RecordTable& table, const ReturnEntry& e, bool setTicked) {
    const std::vector<std::string_view> values = {
        setTicked ? std::string_view(e.ticked ? True : False) : std::string_view(),
        e.kind,
        e.registro,
        e.nrProcesso,
        dateValue(e.dataProcesso),
        e.nrProtocolo,
        dateValue(e.dataProcessamento),
        dateValue(e.dataTransmissao),
        e.anoRegistro,
    };
    table.append(RecordTable::Row::build(values, 0));
}

void ReturnList::install(RecordSet& list, std::shared_ptr<RecordTable> table) {
    list.close();
    list.setCommandText(std::string());
    list.setData(std::move(table));
    list.last();
}

ReturnEntry ReturnList::current(const RecordSet& list) {
    ReturnEntry e;
    e.ticked = ticked(list);
    e.kind = list.text(TipoProcesso);
    e.registro = list.text(Registro);
    e.nrProcesso = list.text(NrProcesso);
    e.dataProcesso = list.text(DataProcesso);
    e.nrProtocolo = list.text(NrProtocolo);
    e.dataProcessamento = list.text(DataProcessamento);
    e.dataTransmissao = list.text(DataTransmissao);
    e.anoRegistro = list.text(AnoRegistro);
    return e;
}

bool ReturnList::ticked(const RecordSet& list) {
    return list.text(Importar) == True;
}

void ReturnList::toggle(RecordSet& list) {
    const bool now = ticked(list);
    list.edit();
    list.setField(Importar, now ? False : True);
    list.post();
}

std::vector<ReturnEntry> ReturnList::entries(RecordSet& list) {
    std::vector<ReturnEntry> all;
    if (!list.active() || list.isEmpty())
        return all;
    const std::size_t at = list.position();
    for (std::size_t i = 0; i < list.recordCount(); ++i) {
        list.moveTo(i);
        all.push_back(current(list));
    }
    list.moveTo(at);
    return all;
}
