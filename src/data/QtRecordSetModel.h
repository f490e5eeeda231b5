#pragma once

#include <QAbstractTableModel>

#include <cstdint>
#include <memory>
#include <vector>

class RecordSet;
class RecordTable;

/// A read-only grid model over a record set: one column per value field (titled with its name), one
/// line per row, rebuilt whenever the set opens, closes or changes its rows. Lines follow the order of
/// the set's rows, which is the cursor's order for the sets that hold query results (no filter, no
/// order of their own): line i is cursor position i.
class QtRecordSetModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit QtRecordSetModel(RecordSet& rows, QObject* parent = nullptr);
    ~QtRecordSetModel() override;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

    RecordSet& rows() const { return m_rows; }

signals:
    /// The set's cursor moved (or the rows were rebuilt): position is the current line, −1 for none.
    void currentMoved(int position);

private:
    void follow();

    RecordSet& m_rows;
    int m_subscription = 0;
    std::shared_ptr<RecordTable> m_table;
    std::uint64_t m_version = 0;
    std::size_t m_size = 0;
    int m_current = -1;
    std::vector<int> m_slots;
    std::vector<QString> m_titles;
};
