#pragma once

#include "data/OrientadorDatabase.h"
#include "data/OrientadorField.h"
#include "data/OrientadorValues.h"

#include <map>
#include <string>
#include <unordered_map>
#include <vector>

/// The table cursor on an Orientador file: one table, opened by its name, walked in the order its
/// rows were appended (so the last row is the last one appended). A new or changed row is held in a
/// buffer until it is posted.
///
/// Values go in as texts, numbers or flags and are converted by the field's kind; a value that does
/// not fit the field is refused with an AppError that names the field:
/// - text(n): a text longer than n characters is refused, unless what lies beyond n is only blanks
///   (then the blanks are dropped);
/// - memo(n): a longer text is cut to n characters (the transfers warn the operator beforehand);
/// - floating, currency (4 decimals), integer (whole numbers within the column's range): texts are read
///   with "," or "." as decimal separator;
/// - Yes/No: true is stored as −1, false as 0; texts True/False, Sim/Não, S/N, −1/1/0 are accepted;
/// - date: texts dd/mm/yyyy (optionally hh:mm[:ss]) or yyyy-mm-dd, checked against the calendar.
/// A blank value stores nothing (null). Read back, every value is a text: numbers with "," as decimal
/// separator, Yes/No as "True"/"False", dates as dd/mm/yyyy (with the time when it is not midnight).
class OrientadorTable {
public:
    enum class State { Inactive, Browse, Insert, Edit };

    explicit OrientadorTable(OrientadorDatabase& database);
    ~OrientadorTable();
    OrientadorTable(const OrientadorTable&) = delete;
    OrientadorTable& operator=(const OrientadorTable&) = delete;

    /// The table to open, exactly as the Orientador names it ("DECLARAÇÃO_IMPORTAÇÃO"); found without
    /// regard to case. Refused while the table is open.
    void setTableName(const std::string& name);
    const std::string& tableName() const { return m_tableName; }

    /// Opens the named table on the connected file and moves to its first row. Throws AppError when
    /// the connection is closed or the table does not exist. The first row is read when something first
    /// asks for the cursor's row (a transfer opens a table for every unit only to locate, count or insert
    /// in it), so a file locked against reading fails at that read.
    void open();
    /// Closes the table; a row not yet posted is dropped.
    void close();
    bool active() const { return m_state != State::Inactive; }
    State state() const { return m_state; }

    /// The filter expression: clauses FIELD op value joined by AND / OR, with parentheses; op is one of
    /// = <> < > <= >= LIKE; value is 'text', a number, null or #date#. "F <> null" selects rows where F
    /// holds a value. Applied while filtered() is on.
    void setFilter(const std::string& expression);
    const std::string& filter() const { return m_filter; }
    void setFiltered(bool on);
    bool filtered() const { return m_filtered; }

    /// Cursor rules, as for the record sets: first() sets bof, last() sets eof (both stay on their
    /// row), next() past the last row sets eof and stays, prior() before the first sets bof; an empty
    /// table (within the filter) has both set. A move while inserting or editing posts the pending row
    /// (a new row with nothing set is dropped).
    void first();
    void last();
    void next();
    void prior();
    bool eof() const {
        settle();
        return m_eof;
    }
    bool bof() const {
        settle();
        return m_bof;
    }
    bool isEmpty();
    long long recordCount();

    /// Moves to the first row (in table order, within the filter) whose field equals value; texts are
    /// compared without regard to case when ignoreCase. False, and the cursor stays, when none does.
    bool locate(const std::string& field, const std::string& value, bool ignoreCase = true);
    /// The texts of one field in the rows (within the filter) whose keyField matches value as locate
    /// compares it, in table order; the cursor stays.
    std::vector<std::string> columnTextsWhere(const std::string& field, const std::string& keyField,
                                              const std::string& value, bool ignoreCase = true);
    /// True when some row (filter or not) holds value in field once its blanks are trimmed.
    bool hasTrimmedText(const std::string& field, const std::string& value);
    /// Deletes the current row; the cursor moves to the next row, or to the previous one at the end.
    void deleteRecord();

    /// Begins a new row; a row still pending is posted first.
    void insert();
    /// Begins changing the current row.
    void edit();
    /// Writes the pending row. On failure the row stays pending (it can be cancelled).
    void post();
    /// Drops the pending row or the pending changes.
    void cancel();

    void setText(const std::string& field, const std::string& text);
    void setNumber(const std::string& field, double value);
    void setFlag(const std::string& field, bool value);
    void setNull(const std::string& field);

    /// The field's value of the current (or pending) row as text; empty for null.
    std::string text(const std::string& field) const;
    bool isNull(const std::string& field) const;
    /// The numeric value (Yes/No: −1 or 0). Throws AppError for a null or a text that is not a number.
    double number(const std::string& field) const;

    /// The texts of one field in every row (within the filter), in table order; the cursor stays.
    std::vector<std::string> columnTexts(const std::string& field);

    const OrientadorField& field(const std::string& name) const;
    bool hasField(const std::string& name) const;
    OrientadorFieldType fieldType(const std::string& name) const { return field(name).type; }
    const std::vector<OrientadorField>& fields() const;
    std::vector<std::string> fieldNames() const;

    using Value = OrientadorValue;

private:
    // The export's whole-table reader uses the table's statement parts.
    friend class OrientadorRowReader;

    struct Where {
        std::string sql;
        std::vector<Value> params;
    };

    void requireActive() const;
    /// Reads the first row open() left the cursor on, when it has not been read yet.
    void settle() const;
    /// The condition locate uses for a field and a value; false when no row can hold the value.
    bool matchCondition(const std::string& field, const std::string& value, bool ignoreCase, Where& where) const;
    void requireEditing(const std::string& fieldName) const;
    size_t indexOf(const std::string& name) const;
    void browseMode();
    bool fetch(const std::string& condition, const std::vector<Value>& params, const std::string& order) const;
    void reload();
    void clearRow() const;
    Where filterWhere() const;
    void compileFilter();
    void setValue(size_t index, Value value);
    Value toStored(const OrientadorField& f, const std::string& text) const;
    Value numberToStored(const OrientadorField& f, double value) const;
    std::string quotedTable() const;
    const std::vector<Value>& currentValues() const;

    OrientadorDatabase& m_db;
    std::string m_tableName;
    // The open table as the file declares it (shared by every cursor of the connection).
    std::shared_ptr<const OrientadorDatabase::TableDefinition> m_def;
    State m_state = State::Inactive;

    std::string m_filter;
    bool m_filtered = false;
    Where m_compiledFilter;

    // The cursor; settle() fills it in from const readers.
    mutable bool m_unsettled = false; // on the first row, not read yet
    mutable long long m_rowid = 0;    // 0: no current row
    mutable bool m_eof = true;
    mutable bool m_bof = true;
    mutable std::vector<Value> m_row;
    std::vector<Value> m_buffer;
    std::vector<bool> m_changed;
    mutable long long m_rowidBeforeInsert = 0;
};
