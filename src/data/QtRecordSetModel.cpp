#include "data/QtRecordSetModel.h"

#include "base/QtUi.h"
#include "data/RecordSet.h"
#include "data/RecordTable.h"

QtRecordSetModel::QtRecordSetModel(RecordSet& rows, QObject* parent) : QAbstractTableModel(parent), m_rows(rows) {
    m_subscription = m_rows.subscribe([this](RecordSet&) { follow(); });
    follow();
}

QtRecordSetModel::~QtRecordSetModel() {
    m_rows.unsubscribe(m_subscription);
}

void QtRecordSetModel::follow() {
    const std::shared_ptr<RecordTable> table = m_rows.active() ? m_rows.table() : nullptr;
    const std::uint64_t version = table ? table->version() : 0;
    const std::size_t size = table ? table->size() : 0;
    if (table != m_table || version != m_version || size != m_size) {
        beginResetModel();
        m_table = table;
        m_version = version;
        m_size = size;
        m_current = -1;
        m_slots.clear();
        m_titles.clear();
        if (m_table)
            for (const auto& field : m_table->schema()->fields())
                if (field.kind == RecordSchema::Kind::Value) {
                    m_slots.push_back(field.slot);
                    m_titles.push_back(toQ(field.name));
                }
        endResetModel();
    }
    const int current = m_table && m_size > 0 ? static_cast<int>(m_rows.position()) : -1;
    if (current != m_current) {
        const int before = m_current;
        m_current = current;
        if (before >= 0 && before < static_cast<int>(m_size))
            emit headerDataChanged(Qt::Vertical, before, before);
        if (current >= 0)
            emit headerDataChanged(Qt::Vertical, current, current);
    }
    emit currentMoved(current);
}

int QtRecordSetModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_size);
}

int QtRecordSetModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_slots.size());
}

QVariant QtRecordSetModel::data(const QModelIndex& index, int role) const {
    if (role != Qt::DisplayRole || !m_table || !index.isValid() || index.row() >= static_cast<int>(m_size) ||
        index.column() >= static_cast<int>(m_slots.size()))
        return QVariant();
    const RecordTable::Row& row = m_table->row(static_cast<std::size_t>(index.row()));
    const int slot = m_slots[static_cast<std::size_t>(index.column())];
    if (row.isNull(slot))
        return QString();
    const std::string_view value = row.value(slot);
    return QString::fromUtf8(value.data(), static_cast<qsizetype>(value.size()));
}

QVariant QtRecordSetModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole)
        return QVariant();
    if (orientation == Qt::Horizontal)
        return section >= 0 && section < static_cast<int>(m_titles.size()) ? QVariant(m_titles[section]) : QVariant();
    // The indicator column: a mark on the current row.
    return section == m_current ? QVariant(QStringLiteral("\u25B6")) : QVariant(QString());
}
