#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

/// The field list of a record set: value fields (text, null distinct from empty) and nested fields
/// (a record set per row). Names are unique without regard to case, as field lookups are.
/// A schema is shared by every table built from it; it is not changed once rows exist.
class RecordSchema {
public:
    enum class Kind { Value, Nested };

    struct Field {
        std::string name;
        Kind kind = Kind::Value;
        /// Position among the fields of the same kind (index into a row's values or nested sets).
        int slot = 0;
        /// The field list of the nested set (Nested fields only).
        std::shared_ptr<const RecordSchema> nested;
    };

    /// Adds a value field; throws AppError when the name is empty or already taken.
    int addValueField(const std::string& name);
    /// Adds a nested field with the field list of its rows; throws AppError like addValueField.
    int addNestedField(const std::string& name, std::shared_ptr<const RecordSchema> nested);

    /// The field of that name (case ignored), or nullptr.
    const Field* find(std::string_view name) const;
    bool has(std::string_view name) const { return find(name) != nullptr; }

    /// Every field in definition order.
    const std::vector<Field>& fields() const { return m_fields; }
    int valueCount() const { return m_valueCount; }
    int nestedCount() const { return m_nestedCount; }
    /// The value field of a slot.
    const Field& valueField(int slot) const { return m_fields[m_valueFields[slot]]; }
    /// The nested field of a slot.
    const Field& nestedField(int slot) const { return m_fields[m_nestedFields[slot]]; }

private:
    int add(const std::string& name, Kind kind, std::shared_ptr<const RecordSchema> nested);
    static std::string key(std::string_view name);

    std::vector<Field> m_fields;
    std::vector<int> m_valueFields;
    std::vector<int> m_nestedFields;
    // Looked up by std::string_view without building a string.
    struct NameHash {
        using is_transparent = void;
        std::size_t operator()(std::string_view s) const { return std::hash<std::string_view>()(s); }
    };
    std::unordered_map<std::string, int, NameHash, std::equal_to<>> m_index;
    int m_valueCount = 0;
    int m_nestedCount = 0;
};
