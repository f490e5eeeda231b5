#include "data/RecordSchema.h"

#include "base/AppError.h"

std::string RecordSchema::key(std::string_view name) {
    std::string k(name);
    for (char& c : k)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    return k;
}

int RecordSchema::add(const std::string& name, Kind kind, std::shared_ptr<const RecordSchema> nested) {
    if (name.empty())
        throw AppError("Nome de campo vazio na definição do conjunto de registros.");
    if (!m_index.emplace(key(name), static_cast<int>(m_fields.size())).second)
        throw AppError("Campo " + name + " definido mais de uma vez no conjunto de registros.");
    Field f;
    f.name = name;
    f.kind = kind;
    f.nested = std::move(nested);
    if (kind == Kind::Value) {
        f.slot = m_valueCount++;
        m_valueFields.push_back(static_cast<int>(m_fields.size()));
    } else {
        f.slot = m_nestedCount++;
        m_nestedFields.push_back(static_cast<int>(m_fields.size()));
    }
    m_fields.push_back(std::move(f));
    return m_fields.back().slot;
}

int RecordSchema::addValueField(const std::string& name) {
    return add(name, Kind::Value, nullptr);
}

int RecordSchema::addNestedField(const std::string& name, std::shared_ptr<const RecordSchema> nested) {
    if (!nested)
        nested = std::make_shared<RecordSchema>();
    return add(name, Kind::Nested, std::move(nested));
}

const RecordSchema::Field* RecordSchema::find(std::string_view name) const {
    // Most lookups already use the stored spelling; try it before folding the case.
    auto it = m_index.find(name);
    if (it == m_index.end())
        it = m_index.find(key(name));
    return it == m_index.end() ? nullptr : &m_fields[it->second];
}
