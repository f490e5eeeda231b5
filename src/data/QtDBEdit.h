#pragma once

#include <QLineEdit>

#include <string>

class RecordSet;

/// A data-aware edit field: shows one field of a record set's current row and follows the set as it
/// opens, closes, moves or starts a new row. What the operator types goes into the row being inserted
/// or edited; typing over a shown row starts editing it, typing into an empty set starts a new row.
/// While the set is closed the field is a plain edit (empty until the set opens again).
class QtDBEdit : public QLineEdit {
    Q_OBJECT
public:
    explicit QtDBEdit(QWidget* parent = nullptr);
    ~QtDBEdit() override;

    /// Binds the edit to a field of rows (nullptr: unbound, the edit keeps its text). rows must
    /// outlive the binding.
    void bind(RecordSet* rows, const std::string& field);
    RecordSet* rows() const { return m_rows; }
    const std::string& field() const { return m_field; }

    /// Shows text and, when the set is inserting or editing, puts it into the pending row.
    void setFieldText(const QString& text);
    /// Shows the field of the current row again.
    void refresh();

private:
    void userEdited(const QString& text);
    void writeField(const QString& text);

    RecordSet* m_rows = nullptr;
    std::string m_field;
    int m_subscription = 0;
    bool m_writing = false;
};
