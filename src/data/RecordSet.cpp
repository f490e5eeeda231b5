#include "data/RecordSet.h"

#include "base/AppError.h"
#include "data/DataProvider.h"

#include <algorithm>

namespace {

std::string_view trimmedView(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t'))
        s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t'))
        s.remove_suffix(1);
    return s;
}

bool sameName(const std::string& a, const std::string& b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        char x = a[i], y = b[i];
        if (x >= 'a' && x <= 'z')
            x = static_cast<char>(x - 'a' + 'A');
        if (y >= 'a' && y <= 'z')
            y = static_cast<char>(y - 'a' + 'A');
        if (x != y)
            return false;
    }
    return true;
}

const RecordSchema& emptySchema() {
    static const RecordSchema schema;
    return schema;
}

} // namespace

RecordSet::RecordSet(std::string name) : m_name(std::move(name)) {}

RecordSet::~RecordSet() {
    for (RecordSet* child : m_children) {
        child->m_parent = nullptr;
        child->close();
    }
    if (m_parent) {
        auto& siblings = m_parent->m_children;
        siblings.erase(std::remove(siblings.begin(), siblings.end(), this), siblings.end());
    }
}

std::string RecordSet::providerName() const {
    return m_provider ? m_provider->name() : std::string();
}

// ---------------------------------------------------------------- binding

bool RecordSet::isAncestor(const RecordSet* other) const {
    for (const RecordSet* p = m_parent; p; p = p->m_parent)
        if (p == other)
            return true;
    return false;
}

void RecordSet::bindToNested(RecordSet& parent, const std::string& field) {
    if (&parent == this || parent.isAncestor(this))
        throw AppError("O conjunto de registros " + m_name + " não pode ser ligado a " + parent.m_name +
                       " (ligação circular).");
    if (!parent.active())
        throw AppError("O conjunto de registros " + parent.m_name + " está fechado: não é possível ligar " + m_name +
                       " ao campo " + field + ".");
    const RecordSchema::Field* f = parent.schema().find(field);
    if (!f)
        throw AppError("Campo '" + field + "' não encontrado no conjunto de registros " + parent.m_name + ".");
    if (f->kind != RecordSchema::Kind::Nested)
        throw AppError("O campo '" + field + "' do conjunto de registros " + parent.m_name +
                       " não é um conjunto aninhado.");
    unbindNested();
    m_parent = &parent;
    m_nestedField = f->name;
    parent.m_children.push_back(this);
    open();
}

void RecordSet::unbindNested() {
    close();
    if (m_parent) {
        auto& siblings = m_parent->m_children;
        siblings.erase(std::remove(siblings.begin(), siblings.end(), this), siblings.end());
    }
    m_parent = nullptr;
    m_nestedField.clear();
}

std::shared_ptr<RecordTable> RecordSet::nestedTable(const std::string& field) const {
    requireActive("ler o conjunto aninhado");
    const RecordSchema::Field& f = fieldOrThrow(field);
    if (f.kind != RecordSchema::Kind::Nested)
        throw AppError("O campo '" + f.name + "' do conjunto de registros " + m_name + " não é um conjunto aninhado.");
    if (m_state == State::Insert || m_state == State::Edit) {
        auto& buffer = const_cast<RecordTable::Row&>(m_buffer);
        if (!buffer.nested(f.slot))
            buffer.setNested(f.slot, std::make_shared<RecordTable>(f.nested));
        return buffer.nested(f.slot);
    }
    ensureView();
    if (m_view.empty())
        return std::make_shared<RecordTable>(f.nested);
    return m_table->nestedOf(m_view[m_pos], f.slot);
}

void RecordSet::attachToParentRow() {
    std::shared_ptr<RecordTable> table = m_parent->nestedTable(m_nestedField);
    RecordCommand command = RecordCommand::parse(m_commandText);
    // A text naming another set was left from an earlier binding of this set: it selects nothing here.
    if (!command.tableName().empty() && !sameName(command.tableName(), m_nestedField))
        command = RecordCommand();
    install(std::move(table), std::move(command));
}

void RecordSet::followParent() {
    if (!active())
        return;
    checkBrowseMode();
    attachToParentRow();
    changed();
}

// ---------------------------------------------------------------- field definitions

void RecordSet::addFieldDef(const std::string& name) {
    if (!m_defs)
        m_defs = std::make_shared<RecordSchema>();
    m_defs->addValueField(name);
}

void RecordSet::addNestedFieldDef(const std::string& name, std::shared_ptr<const RecordSchema> nested) {
    if (!m_defs)
        m_defs = std::make_shared<RecordSchema>();
    m_defs->addNestedField(name, std::move(nested));
}

void RecordSet::clearFieldDefs() {
    m_defs.reset();
}

void RecordSet::createDataSet() {
    close();
    activate(std::make_shared<RecordTable>(std::make_shared<RecordSchema>(m_defs ? *m_defs : RecordSchema())));
}

void RecordSet::setData(std::shared_ptr<RecordTable> table) {
    unbindNested();
    if (!table)
        table = std::make_shared<RecordTable>(nullptr);
    activate(std::move(table));
}

// ---------------------------------------------------------------- open and close

void RecordSet::activate(std::shared_ptr<RecordTable> table) {
    install(std::move(table), RecordCommand::parse(m_commandText));
    changed();
}

void RecordSet::install(std::shared_ptr<RecordTable> table, RecordCommand command) {
    m_command = std::move(command);
    m_buffer = RecordTable::Row();
    m_table = std::move(table);
    try {
        rebuildView();
    } catch (...) {
        m_table.reset();
        m_view.clear();
        m_state = State::Inactive;
        throw;
    }
    m_state = State::Browse;
    m_pos = 0;
    m_bof = true;
    m_eof = m_view.empty();
}

void RecordSet::open() {
    if (active()) {
        checkBrowseMode();
        if (m_parent) {
            attachToParentRow();
            changed();
        } else {
            activate(m_table);
        }
        return;
    }
    if (m_parent) {
        if (!m_parent->active())
            throw AppError("O conjunto de registros " + m_name + " está ligado a " + m_parent->m_name +
                           ", que está fechado.");
        attachToParentRow();
        changed();
        return;
    }
    if (m_provider) {
        activate(m_provider->provide());
        return;
    }
    if (m_defs) {
        activate(std::make_shared<RecordTable>(std::make_shared<RecordSchema>(*m_defs)));
        return;
    }
    throw AppError("O conjunto de registros " + m_name +
                   " não tem origem de dados (provedor, conjunto aninhado ou definição de campos).");
}

void RecordSet::close() {
    if (!active())
        return;
    m_state = State::Inactive;
    m_buffer = RecordTable::Row();
    m_table.reset();
    m_view.clear();
    m_pos = 0;
    m_eof = m_bof = true;
    const std::vector<RecordSet*> children = m_children;
    for (RecordSet* child : children)
        child->close();
    const auto listeners = m_listeners;
    for (const auto& [id, listener] : listeners)
        listener(*this);
}

void RecordSet::requireActive(const char* operation) const {
    if (!active())
        throw AppError("O conjunto de registros " + m_name + " está fechado (" + operation + ").");
}

// ---------------------------------------------------------------- view

void RecordSet::rebuildView() const {
    const RecordSchema& schema = *m_table->schema();
    int conditionSlot = -1;
    if (m_command.hasCondition()) {
        const RecordSchema::Field* f = schema.find(m_command.conditionField());
        if (!f || f->kind != RecordSchema::Kind::Value)
            throw AppError("Campo '" + m_command.conditionField() + "' não encontrado no conjunto de registros " +
                           m_name + " (comando: " + m_commandText + ").");
        conditionSlot = f->slot;
    }
    int orderSlot = -1;
    if (!m_indexField.empty()) {
        const RecordSchema::Field* f = schema.find(m_indexField);
        if (!f || f->kind != RecordSchema::Kind::Value)
            throw AppError("Campo '" + m_indexField + "' não encontrado no conjunto de registros " + m_name + ".");
        orderSlot = f->slot;
    }
    const auto& rows = m_table->rows();
    m_view.clear();
    m_view.reserve(rows.size());
    const std::string& wanted = m_command.hasCondition() ? m_command.conditionValue() : std::string();
    for (std::size_t i = 0; i < rows.size(); ++i) {
        if (conditionSlot >= 0 &&
            (rows[i].isNull(conditionSlot) || trimmedView(rows[i].value(conditionSlot)) != wanted))
            continue;
        m_view.push_back(static_cast<std::uint32_t>(i));
    }
    if (orderSlot >= 0)
        std::stable_sort(m_view.begin(), m_view.end(), [&](std::uint32_t a, std::uint32_t b) {
            const bool na = rows[a].isNull(orderSlot), nb = rows[b].isNull(orderSlot);
            if (na || nb)
                return na && !nb;
            return rows[a].value(orderSlot) < rows[b].value(orderSlot);
        });
    m_viewVersion = m_table->version();
    if (m_view.empty()) {
        m_pos = 0;
        m_eof = m_bof = true;
    } else if (m_pos >= m_view.size()) {
        m_pos = m_view.size() - 1;
    }
}

void RecordSet::ensureView() const {
    if (m_table && m_viewVersion != m_table->version())
        rebuildView();
}

std::optional<std::size_t> RecordSet::viewPositionOf(std::size_t tableRow) const {
    for (std::size_t i = 0; i < m_view.size(); ++i)
        if (m_view[i] == tableRow)
            return i;
    return std::nullopt;
}

void RecordSet::changed() {
    const std::vector<RecordSet*> children = m_children;
    for (RecordSet* child : children)
        child->followParent();
    const auto listeners = m_listeners;
    for (const auto& [id, listener] : listeners)
        listener(*this);
}

int RecordSet::subscribe(Listener listener) {
    const int id = m_nextListener++;
    m_listeners.emplace(id, std::move(listener));
    return id;
}

void RecordSet::unsubscribe(int id) {
    m_listeners.erase(id);
}

// ---------------------------------------------------------------- cursor

void RecordSet::checkBrowseMode() {
    if (m_state == State::Insert || m_state == State::Edit)
        post();
}

void RecordSet::first() {
    requireActive("ir ao primeiro registro");
    checkBrowseMode();
    ensureView();
    m_pos = 0;
    m_bof = true;
    m_eof = m_view.empty();
    changed();
}

void RecordSet::last() {
    requireActive("ir ao último registro");
    checkBrowseMode();
    ensureView();
    m_pos = m_view.empty() ? 0 : m_view.size() - 1;
    m_eof = true;
    m_bof = m_view.empty();
    changed();
}

void RecordSet::next() {
    requireActive("ir ao próximo registro");
    checkBrowseMode();
    ensureView();
    if (m_eof)
        return;
    m_bof = false;
    if (m_pos + 1 < m_view.size()) {
        ++m_pos;
        changed();
    } else {
        m_eof = true;
    }
}

void RecordSet::prior() {
    requireActive("ir ao registro anterior");
    checkBrowseMode();
    ensureView();
    if (m_bof)
        return;
    m_eof = false;
    if (m_pos > 0) {
        --m_pos;
        changed();
    } else {
        m_bof = true;
    }
}

bool RecordSet::eof() const {
    if (!active())
        return true;
    ensureView();
    return m_eof || m_view.empty();
}

bool RecordSet::bof() const {
    if (!active())
        return true;
    ensureView();
    return m_bof || m_view.empty();
}

std::size_t RecordSet::recordCount() const {
    if (!active())
        return 0;
    ensureView();
    return m_view.size();
}

std::size_t RecordSet::position() const {
    if (!active())
        return 0;
    ensureView();
    return m_pos;
}

void RecordSet::setPosition(std::size_t pos) {
    m_pos = pos;
    m_eof = m_bof = false;
    changed();
}

void RecordSet::moveTo(std::size_t position) {
    requireActive("ir a um registro");
    checkBrowseMode();
    ensureView();
    if (position >= m_view.size())
        throw AppError("O conjunto de registros " + m_name + " não tem o registro " + std::to_string(position + 1) +
                       " (tem " + std::to_string(m_view.size()) + ").");
    setPosition(position);
}

bool RecordSet::locate(const std::string& field, const std::string& value) {
    requireActive("localizar");
    checkBrowseMode();
    const int slot = valueFieldOrThrow(field).slot;
    ensureView();
    for (std::size_t i = 0; i < m_view.size(); ++i) {
        const RecordTable::Row& row = m_table->row(m_view[i]);
        if (!row.isNull(slot) && row.value(slot) == value) {
            setPosition(i);
            return true;
        }
    }
    return false;
}

// ---------------------------------------------------------------- fields

const RecordSchema& RecordSet::schema() const {
    if (m_table)
        return *m_table->schema();
    if (m_defs)
        return *m_defs;
    return emptySchema();
}

bool RecordSet::hasField(const std::string& name) const {
    return schema().has(name);
}

std::vector<std::string> RecordSet::fieldNames() const {
    std::vector<std::string> names;
    for (const auto& f : schema().fields())
        names.push_back(f.name);
    return names;
}

const RecordSchema::Field& RecordSet::fieldOrThrow(const std::string& field) const {
    const RecordSchema::Field* f = schema().find(field);
    if (!f)
        throw AppError("Campo '" + field + "' não encontrado no conjunto de registros " + m_name + ".");
    return *f;
}

const RecordSchema::Field& RecordSet::valueFieldOrThrow(const std::string& field) const {
    const RecordSchema::Field& f = fieldOrThrow(field);
    if (f.kind != RecordSchema::Kind::Value)
        throw AppError("O campo '" + f.name + "' do conjunto de registros " + m_name +
                       " é um conjunto aninhado, não um valor.");
    return f;
}

const RecordTable::Row* RecordSet::currentRow() const {
    if (m_state == State::Insert || m_state == State::Edit)
        return &m_buffer;
    ensureView();
    if (m_view.empty())
        return nullptr;
    return &m_table->row(m_view[m_pos]);
}

std::optional<std::string> RecordSet::value(const std::string& field) const {
    requireActive("ler um campo");
    const int slot = valueFieldOrThrow(field).slot;
    const RecordTable::Row* row = currentRow();
    if (!row || row->isNull(slot))
        return std::nullopt;
    return std::string(row->value(slot));
}

std::string RecordSet::text(const std::string& field) const {
    return value(field).value_or(std::string());
}

bool RecordSet::isNull(const std::string& field) const {
    return !value(field).has_value();
}

// ---------------------------------------------------------------- order

void RecordSet::setIndexFieldNames(const std::string& field) {
    if (!active()) {
        m_indexField = field;
        return;
    }
    checkBrowseMode();
    if (!field.empty())
        valueFieldOrThrow(field);
    ensureView();
    const std::optional<std::size_t> current =
        m_view.empty() ? std::nullopt : std::optional<std::size_t>(m_view[m_pos]);
    m_indexField = field;
    rebuildView();
    if (current)
        if (const auto pos = viewPositionOf(*current))
            m_pos = *pos;
    const auto listeners = m_listeners;
    for (const auto& [id, listener] : listeners)
        listener(*this);
}

// ---------------------------------------------------------------- editing

void RecordSet::append() {
    requireActive("incluir");
    checkBrowseMode();
    m_buffer = m_table->newRow();
    m_insertAt = m_table->size();
    m_state = State::Insert;
    changed();
}

void RecordSet::insert() {
    requireActive("incluir");
    checkBrowseMode();
    ensureView();
    m_buffer = m_table->newRow();
    m_insertAt = m_view.empty() ? m_table->size() : m_view[m_pos];
    m_state = State::Insert;
    changed();
}

void RecordSet::edit() {
    requireActive("editar");
    if (m_state == State::Insert || m_state == State::Edit)
        return;
    ensureView();
    if (m_view.empty())
        throw AppError("O conjunto de registros " + m_name + " não tem registro para editar.");
    m_buffer = m_table->row(m_view[m_pos]);
    m_state = State::Edit;
    const auto listeners = m_listeners;
    for (const auto& [id, listener] : listeners)
        listener(*this);
}

void RecordSet::setField(const std::string& field, const std::string& value) {
    requireActive("gravar um campo");
    if (m_state != State::Insert && m_state != State::Edit)
        throw AppError("O conjunto de registros " + m_name + " não está em modo de inclusão ou edição.");
    m_buffer.set(valueFieldOrThrow(field).slot, value);
}

void RecordSet::setNull(const std::string& field) {
    requireActive("gravar um campo");
    if (m_state != State::Insert && m_state != State::Edit)
        throw AppError("O conjunto de registros " + m_name + " não está em modo de inclusão ou edição.");
    m_buffer.setNull(valueFieldOrThrow(field).slot);
}

void RecordSet::post() {
    requireActive("gravar");
    if (m_state == State::Insert) {
        const std::size_t at = std::min(m_insertAt, m_table->size());
        m_table->insert(at, std::move(m_buffer));
        m_buffer = RecordTable::Row();
        m_state = State::Browse;
        rebuildView();
        if (const auto pos = viewPositionOf(at)) {
            m_pos = *pos;
            m_eof = m_bof = false;
        }
        changed();
    } else if (m_state == State::Edit) {
        ensureView();
        const std::size_t row = m_view[m_pos];
        m_table->row(row) = std::move(m_buffer);
        m_buffer = RecordTable::Row();
        m_table->touch();
        m_state = State::Browse;
        rebuildView();
        if (const auto pos = viewPositionOf(row))
            m_pos = *pos;
        const auto listeners = m_listeners;
        for (const auto& [id, listener] : listeners)
            listener(*this);
    }
}

void RecordSet::cancel() {
    if (m_state != State::Insert && m_state != State::Edit)
        return;
    const bool wasInsert = m_state == State::Insert;
    m_buffer = RecordTable::Row();
    m_state = State::Browse;
    if (wasInsert) {
        changed();
    } else {
        const auto listeners = m_listeners;
        for (const auto& [id, listener] : listeners)
            listener(*this);
    }
}

void RecordSet::deleteRecord() {
    requireActive("excluir");
    if (m_state == State::Insert) {
        cancel();
        return;
    }
    cancel();
    ensureView();
    if (m_view.empty())
        throw AppError("O conjunto de registros " + m_name + " não tem registro para excluir.");
    m_table->erase(m_view[m_pos]);
    rebuildView();
    m_eof = m_bof = m_view.empty();
    changed();
}

void RecordSet::emptyDataSet() {
    requireActive("esvaziar");
    cancel();
    m_table->clear();
    rebuildView();
    changed();
}
