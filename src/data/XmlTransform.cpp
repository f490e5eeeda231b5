#include "data/XmlTransform.h"

#include "base/AppError.h"
#include "data/RecordTable.h"
#include "data/XmlDocument.h"

#include <cctype>
#include <cstring>
#include <deque>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace {

struct FieldRule {
    std::string name;
    std::vector<std::string> path; // element steps below the row element; empty: the row element
    std::string attribute;         // empty: the element's text
};

// What a child element of a row feeds.
struct Target {
    enum Kind : unsigned char { Text, Attribute, Rows } kind;
    int index; // value slot (Text, Attribute) or nested slot (Rows)
};

bool isFieldName(const std::string& name) {
    if (name.empty() || !(std::isalpha(static_cast<unsigned char>(name[0])) || name[0] == '_'))
        return false;
    for (char c : name)
        if (!(std::isalnum(static_cast<unsigned char>(c)) || c == '_'))
            return false;
    return true;
}

bool matches(const pugi::xml_node& node, const std::string& step) {
    return step == "*" || std::strcmp(node.name(), step.c_str()) == 0;
}

// The text of an element: its text and CDATA joined ("" when it has none). Documents are parsed with
// the first text of an element kept as the element's value, so the usual element, one holding text
// only, has no children at all.
std::string_view textOf(const pugi::xml_node& node, std::deque<std::string>& scratch) {
    const char* value = node.value();
    const pugi::xml_node c = node.first_child();
    if (!c)
        return std::string_view(value);
    std::string joined = value;
    for (pugi::xml_node k = c; k; k = k.next_sibling())
        if (k.type() == pugi::node_pcdata || k.type() == pugi::node_cdata)
            joined += k.value();
    scratch.push_back(std::move(joined));
    return scratch.back();
}

pugi::xml_node firstMatch(const pugi::xml_node& node, const std::vector<std::string>& path, std::size_t step) {
    for (pugi::xml_node c = node.first_child(); c; c = c.next_sibling()) {
        if (c.type() != pugi::node_element || !matches(c, path[step]))
            continue;
        if (step + 1 == path.size())
            return c;
        if (pugi::xml_node found = firstMatch(c, path, step + 1))
            return found;
    }
    return pugi::xml_node();
}

void collectMatches(const pugi::xml_node& node, const std::vector<std::string>& path, std::size_t step,
                    std::vector<pugi::xml_node>& out) {
    for (pugi::xml_node c = node.first_child(); c; c = c.next_sibling()) {
        if (c.type() != pugi::node_element || !matches(c, path[step]))
            continue;
        if (step + 1 == path.size())
            out.push_back(c);
        else
            collectMatches(c, path, step + 1, out);
    }
}

} // namespace

// Which entry a child element name leads to, remembered between rows: documents written by a
// program repeat the same children in the same order, so one comparison usually replaces a lookup.
struct NameMemo {
    std::vector<std::pair<const char*, int>> byPosition; // name of the k-th child of the last row, entry
    const char* lastName = "";
    int lastEntry = -1;
};

// What one set's rows are built with during one apply: the name memo and buffers reused from row to
// row and from one parent row to the next (a set never builds rows inside its own rows).
struct RowWork {
    NameMemo memo;
    std::vector<std::string_view> values;
    std::vector<unsigned char> seen;
    std::vector<std::vector<pugi::xml_node>> pending;
    std::deque<std::string> scratch; // joined texts the values point at
};

struct XmlTransform::SetRule {
    std::string name;
    std::vector<std::string> path;
    std::shared_ptr<RecordSchema> schema = std::make_shared<RecordSchema>();
    std::vector<FieldRule> fields;              // by value slot
    std::vector<std::unique_ptr<SetRule>> sets; // by nested slot
    int id = 0;                                 // index of this set's memo during apply
    // What each child element name feeds; built once the lists above are final.
    std::vector<std::vector<Target>> entries;
    std::unordered_map<std::string_view, int> entryOf;
    std::vector<Target> anyChild;
    std::vector<int> otherFields;
    std::vector<int> otherSets;

    void addDirect(std::string_view childName, Target t) {
        auto [it, added] = entryOf.emplace(childName, static_cast<int>(entries.size()));
        if (added)
            entries.emplace_back();
        entries[it->second].push_back(t);
    }

    void index(int& nextId) {
        id = nextId++;
        for (std::size_t i = 0; i < fields.size(); ++i) {
            const FieldRule& f = fields[i];
            if (f.path.size() == 1 && f.path[0] != ".") {
                const Target t{f.attribute.empty() ? Target::Text : Target::Attribute, static_cast<int>(i)};
                if (f.path[0] == "*")
                    anyChild.push_back(t);
                else
                    addDirect(f.path[0], t);
            } else {
                otherFields.push_back(static_cast<int>(i));
            }
        }
        for (std::size_t i = 0; i < sets.size(); ++i) {
            if (sets[i]->path.size() == 1) {
                const Target t{Target::Rows, static_cast<int>(i)};
                if (sets[i]->path[0] == "*")
                    anyChild.push_back(t);
                else
                    addDirect(sets[i]->path[0], t);
            } else {
                otherSets.push_back(static_cast<int>(i));
            }
            sets[i]->index(nextId);
        }
    }

    int lookup(const char* childName) const {
        const auto it = entryOf.find(std::string_view(childName));
        return it == entryOf.end() ? -1 : it->second;
    }

    void buildRows(const std::vector<pugi::xml_node>& elements, RecordTable& table, std::vector<RowWork>& work) const;
};

void XmlTransform::SetRule::buildRows(const std::vector<pugi::xml_node>& elements, RecordTable& table,
                                      std::vector<RowWork>& work) const {
    const std::size_t valueCount = fields.size();
    const std::size_t nestedCount = sets.size();
    RowWork& w = work[static_cast<std::size_t>(id)];
    w.values.resize(valueCount);
    w.seen.resize(valueCount);
    w.pending.resize(nestedCount);
    std::vector<std::string_view>& values = w.values;
    std::vector<unsigned char>& seen = w.seen;
    std::vector<std::vector<pugi::xml_node>>& pending = w.pending;
    std::deque<std::string>& scratch = w.scratch;
    table.reserve(table.size() + elements.size());
    NameMemo& memo = w.memo;

    const auto feed = [&](const Target& t, const pugi::xml_node& child) {
        switch (t.kind) {
        case Target::Text:
            if (!seen[t.index]) {
                seen[t.index] = 1;
                values[t.index] = textOf(child, scratch);
            }
            break;
        case Target::Attribute:
            if (!seen[t.index]) {
                seen[t.index] = 1;
                if (const pugi::xml_attribute a = child.attribute(fields[t.index].attribute.c_str()))
                    values[t.index] = a.value();
            }
            break;
        case Target::Rows:
            pending[t.index].push_back(child);
            break;
        }
    };

    for (const pugi::xml_node& element : elements) {
        std::fill(values.begin(), values.end(), std::string_view()); // all null
        std::fill(seen.begin(), seen.end(), 0);
        for (auto& p : pending)
            p.clear();
        scratch.clear();

        std::size_t position = 0;
        for (pugi::xml_node child = element.first_child(); child; child = child.next_sibling(), ++position) {
            // Text children have the name "", which no entry has.
            const char* childName = child.name();
            int entry;
            if (position < memo.byPosition.size() && std::strcmp(memo.byPosition[position].first, childName) == 0)
                entry = memo.byPosition[position].second;
            else if (std::strcmp(memo.lastName, childName) == 0)
                entry = memo.lastEntry;
            else
                entry = lookup(childName);
            if (position < memo.byPosition.size())
                memo.byPosition[position] = {childName, entry};
            else
                memo.byPosition.emplace_back(childName, entry);
            memo.lastName = childName;
            memo.lastEntry = entry;
            if (entry >= 0)
                for (const Target& t : entries[static_cast<std::size_t>(entry)])
                    feed(t, child);
            if (!anyChild.empty() && child.type() == pugi::node_element)
                for (const Target& t : anyChild)
                    feed(t, child);
        }
        for (int i : otherFields) {
            const FieldRule& f = fields[i];
            pugi::xml_node node = element;
            if (!f.path.empty() && f.path[0] != ".")
                node = firstMatch(element, f.path, 0);
            if (!node)
                continue;
            if (f.attribute.empty())
                values[i] = textOf(node, scratch);
            else if (const pugi::xml_attribute a = node.attribute(f.attribute.c_str()))
                values[i] = a.value();
        }
        for (int s : otherSets)
            collectMatches(element, sets[s]->path, 0, pending[s]);

        RecordTable::Row row = RecordTable::Row::build(values, static_cast<int>(nestedCount));
        for (std::size_t s = 0; s < nestedCount; ++s) {
            if (pending[s].empty())
                continue; // an empty nested set is created when first read
            auto nested = std::make_shared<RecordTable>(sets[s]->schema);
            sets[s]->buildRows(pending[s], *nested, work);
            row.setNested(static_cast<int>(s), std::move(nested));
        }
        table.append(std::move(row));
    }
}

namespace {

class Compiler {
public:
    Compiler(const XmlDocument& xtr, const std::string& source) : m_xtr(xtr), m_source(source) {}

    static constexpr int MaxSetDepth = 64;

    [[noreturn]] void fail(const pugi::xml_node& node, const std::string& what) const {
        const int line = m_xtr.lineOf(node);
        throw AppError("Arquivo de transformação " + m_source + " inválido" +
                       (line > 0 ? ", linha " + std::to_string(line) : std::string()) + ": " + what);
    }

    std::vector<std::string> path(const pugi::xml_node& node, const char* attribute, bool allowSelf) const {
        std::string text = node.attribute(attribute).value();
        if (text.empty())
            fail(node, std::string("falta o atributo ") + attribute + " em <" + node.name() + ">.");
        if (allowSelf && text == ".")
            return {"."};
        if (text[0] == '/')
            text.erase(0, 1);
        std::vector<std::string> steps;
        std::size_t start = 0;
        while (true) {
            const std::size_t slash = text.find('/', start);
            std::string step = text.substr(start, slash == std::string::npos ? std::string::npos : slash - start);
            if (step.empty() || step.find_first_of(" \t\r\n\"'<>&=") != std::string::npos || step == ".")
                fail(node, std::string("caminho inválido em ") + attribute + "=\"" + node.attribute(attribute).value() +
                               "\".");
            steps.push_back(std::move(step));
            if (slash == std::string::npos)
                break;
            start = slash + 1;
        }
        return steps;
    }

    void checkAttributes(const pugi::xml_node& node, std::initializer_list<const char*> allowed) const {
        for (const pugi::xml_attribute a : node.attributes()) {
            bool ok = false;
            for (const char* name : allowed)
                ok = ok || std::strcmp(a.name(), name) == 0;
            if (!ok)
                fail(node, std::string("atributo ") + a.name() + " desconhecido em <" + node.name() + ">.");
        }
    }

    void addField(XmlTransform::SetRule& rule, const pugi::xml_node& at, FieldRule field) const {
        if (!isFieldName(field.name))
            fail(at, "nome de campo inválido: \"" + field.name + "\".");
        if (rule.schema->has(field.name))
            fail(at, "o nome " + field.name + " aparece mais de uma vez no mesmo conjunto.");
        rule.schema->addValueField(field.name);
        rule.fields.push_back(std::move(field));
    }

    void compile(const pugi::xml_node& node, XmlTransform::SetRule& rule, int depth = 0) const {
        // Every level is a recursion here and when rows are built: a file nested without end is refused
        // long before the stack runs out.
        if (depth > MaxSetDepth)
            fail(node, "conjuntos aninhados demais (mais de " + std::to_string(MaxSetDepth) + " níveis).");
        if (*node.value() != '\0')
            fail(node, "texto fora de <fields> em <" + std::string(node.name()) + ">.");
        for (pugi::xml_node c = node.first_child(); c; c = c.next_sibling()) {
            if (c.type() == pugi::node_pcdata || c.type() == pugi::node_cdata) {
                fail(c, "texto fora de <fields> em <" + std::string(node.name()) + ">.");
            }
            if (c.type() != pugi::node_element)
                continue;
            const std::string tag = c.name();
            if (tag == "fields") {
                checkAttributes(c, {});
                const std::string list = c.child_value();
                std::size_t pos = 0;
                bool any = false;
                while (true) {
                    pos = list.find_first_not_of(" \t\r\n", pos);
                    if (pos == std::string::npos)
                        break;
                    const std::size_t end = list.find_first_of(" \t\r\n", pos);
                    const std::string name = list.substr(pos, end == std::string::npos ? std::string::npos : end - pos);
                    addField(rule, c, FieldRule{name, {name}, {}});
                    any = true;
                    pos = end;
                }
                if (!any)
                    fail(c, "<fields> vazio.");
            } else if (tag == "field") {
                checkAttributes(c, {"name", "element", "attribute"});
                FieldRule f;
                f.name = c.attribute("name").value();
                f.attribute = c.attribute("attribute").value();
                if (c.attribute("element"))
                    f.path = path(c, "element", true);
                else if (f.attribute.empty())
                    f.path = {f.name};
                if (c.attribute("attribute") && f.attribute.empty())
                    fail(c, "atributo vazio no campo " + f.name + ".");
                addField(rule, c, std::move(f));
            } else if (tag == "set") {
                checkAttributes(c, {"name", "path"});
                auto sub = std::make_unique<XmlTransform::SetRule>();
                sub->name = c.attribute("name").value();
                if (!isFieldName(sub->name))
                    fail(c, "nome de conjunto inválido: \"" + sub->name + "\".");
                if (rule.schema->has(sub->name))
                    fail(c, "o nome " + sub->name + " aparece mais de uma vez no mesmo conjunto.");
                sub->path = c.attribute("path") ? path(c, "path", false) : std::vector<std::string>{sub->name};
                compile(c, *sub, depth + 1);
                rule.schema->addNestedField(sub->name, sub->schema);
                rule.sets.push_back(std::move(sub));
            } else {
                fail(c, "elemento <" + tag + "> desconhecido (esperado fields, field ou set).");
            }
        }
    }

private:
    const XmlDocument& m_xtr;
    const std::string& m_source;
};

} // namespace

XmlTransform::~XmlTransform() = default;

std::shared_ptr<const XmlTransform> XmlTransform::loadFile(const std::string& path) {
    std::shared_ptr<const XmlDocument> xtr;
    try {
        xtr = XmlDocument::loadFile(path);
    } catch (const AppError& e) {
        const std::string why = e.what();
        if (why.rfind("Arquivo XML não encontrado", 0) == 0)
            throw AppError("Arquivo de transformação não encontrado: " + path);
        throw AppError("Arquivo de transformação " + path + " ilegível: " + why);
    }
    return compile(*xtr, path);
}

std::shared_ptr<const XmlTransform> XmlTransform::parse(const std::string& text, const std::string& sourceName) {
    std::shared_ptr<const XmlDocument> xtr;
    try {
        xtr = XmlDocument::parseText(text, sourceName);
    } catch (const AppError& e) {
        throw AppError("Arquivo de transformação " + sourceName + " ilegível: " + e.what());
    }
    return compile(*xtr, sourceName);
}

std::shared_ptr<const XmlTransform> XmlTransform::compile(const XmlDocument& xtr, const std::string& source) {
    std::shared_ptr<XmlTransform> t(new XmlTransform());
    t->m_source = source;
    const pugi::xml_node root = xtr.root();
    Compiler compiler(xtr, source);
    if (std::strcmp(root.name(), "transformation") != 0)
        compiler.fail(root, "o elemento principal deve ser <transformation>, não <" + std::string(root.name()) + ">.");
    compiler.checkAttributes(root, {"version"});
    pugi::xml_node rows;
    for (pugi::xml_node c = root.first_child(); c; c = c.next_sibling()) {
        if (c.type() != pugi::node_element)
            continue;
        if (std::strcmp(c.name(), "rows") != 0)
            compiler.fail(c, "elemento <" + std::string(c.name()) + "> desconhecido (esperado rows).");
        if (rows)
            compiler.fail(c, "mais de um elemento <rows>.");
        rows = c;
    }
    if (!rows)
        compiler.fail(root, "falta o elemento <rows>.");
    compiler.checkAttributes(rows, {"path"});
    t->m_rows = std::make_unique<SetRule>();
    t->m_rows->path = compiler.path(rows, "path", false);
    compiler.compile(rows, *t->m_rows);
    if (t->m_rows->schema->fields().empty())
        compiler.fail(rows, "nenhum campo definido.");
    t->m_setCount = 0;
    t->m_rows->index(t->m_setCount);
    return t;
}

std::shared_ptr<const RecordSchema> XmlTransform::schema() const {
    return m_rows->schema;
}

std::shared_ptr<RecordTable> XmlTransform::apply(const XmlDocument& document) const {
    auto table = std::make_shared<RecordTable>(m_rows->schema);
    const pugi::xml_node root = document.root();
    if (!root || !matches(root, m_rows->path[0]))
        return table;
    std::vector<pugi::xml_node> elements;
    if (m_rows->path.size() == 1)
        elements.push_back(root);
    else
        collectMatches(root, m_rows->path, 1, elements);
    // The memos point into this document's names: they live for this call only.
    std::vector<RowWork> work(static_cast<std::size_t>(m_setCount));
    m_rows->buildRows(elements, *table, work);
    return table;
}
