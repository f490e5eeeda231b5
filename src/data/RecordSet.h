#pragma once

#include "data/RecordCommand.h"
#include "data/RecordSchema.h"
#include "data/RecordTable.h"

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class DataProvider;

/// An in-memory record set with a cursor: the process record sets of the data module (filled by an
/// XML transform provider or bound to a nested field of another set) and the in-memory rows the
/// windows show (query results, the return list).
///
/// Rows map field names to text values; null is distinct from the empty text. Field names are
/// looked up without regard to case. Reading a field the set does not have throws AppError naming the
/// set and the field; reading an existing field when there is no current row gives null.
///
/// Cursor rules: open and first() put the cursor on the first row (bof true); next() past the last
/// row sets eof and stays on the last row; prior() before the first sets bof; last() goes to the last
/// row and sets eof. A move while inserting or editing posts the pending row first.
class RecordSet {
public:
    enum class State { Inactive, Browse, Insert, Edit };
    using Listener = std::function<void(RecordSet&)>;

    explicit RecordSet(std::string name);
    ~RecordSet();
    RecordSet(const RecordSet&) = delete;
    RecordSet& operator=(const RecordSet&) = delete;

    const std::string& name() const { return m_name; }

    // --- where the rows come from

    /// The provider that fills the set on open (not owned; nullptr for none).
    void setProvider(DataProvider* provider) { m_provider = provider; }
    DataProvider* provider() const { return m_provider; }
    /// The provider's name, empty when there is none.
    std::string providerName() const;
    /// Takes effect at the next open (or bind). See RecordCommand for what is understood. On a set
    /// bound to a nested field the text counts only when its FROM names that field ("SELECT * FROM
    /// ITEM WHERE ..." on ITEM); a text naming another set is one left from an earlier binding and
    /// selects every row.
    void setCommandText(const std::string& text) { m_commandText = text; }
    const std::string& commandText() const { return m_commandText; }
    /// Binds the set to the nested field of parent's current row and opens it there. From then on
    /// the set follows the parent: whenever the parent's current row changes, the set shows that
    /// row's nested rows (filtered by its command text, in its order) from the first. Throws AppError
    /// when the parent is closed or has no nested field of that name.
    void bindToNested(RecordSet& parent, const std::string& field);
    /// Ends the binding (the set is closed).
    void unbindNested();
    RecordSet* parentSet() const { return m_parent; }
    const std::string& nestedFieldName() const { return m_nestedField; }

    // --- field definitions of an in-memory set (used when there is no provider and no binding)

    void addFieldDef(const std::string& name);
    void addNestedFieldDef(const std::string& name, std::shared_ptr<const RecordSchema> nested);
    void clearFieldDefs();
    /// Closes the set and opens it again empty, with the field definitions.
    void createDataSet();
    /// Closes the set and opens it on rows built elsewhere (a query result); they are shared, not copied.
    void setData(std::shared_ptr<RecordTable> table);

    // --- open and close

    /// Opens the set: rows from the parent's nested field when bound, else from the provider, else
    /// empty from the field definitions; then the command text narrows them and the order applies.
    /// On an open set it applies the command text and order again and goes to the first row.
    void open();
    /// Closes the set, discarding a pending insert or edit; bound sets follow and close too.
    void close();
    bool active() const { return m_state != State::Inactive; }
    State state() const { return m_state; }

    // --- cursor

    void first();
    void next();
    void prior();
    void last();
    bool eof() const;
    bool bof() const;
    std::size_t recordCount() const;
    bool isEmpty() const { return recordCount() == 0; }
    /// The current row's position from 0 (0 when empty).
    std::size_t position() const;
    /// Goes to the row at position (from 0); throws AppError when there is no such row.
    void moveTo(std::size_t position);
    /// Goes to the first row whose field text equals value; false (cursor unchanged) when none.
    bool locate(const std::string& field, const std::string& value);

    // --- fields

    bool hasField(const std::string& name) const;
    std::vector<std::string> fieldNames() const;
    /// The field list: the rows' when open, else the field definitions.
    const RecordSchema& schema() const;
    /// The value at the current row; nullopt for null (also when there is no current row).
    std::optional<std::string> value(const std::string& field) const;
    /// The value as text; null reads as "".
    std::string text(const std::string& field) const;
    bool isNull(const std::string& field) const;
    /// The nested rows of the current row (an empty table when there is no current row).
    std::shared_ptr<RecordTable> nestedTable(const std::string& field) const;
    /// The underlying rows, in table order; the command text may hide some of them from the cursor.
    std::shared_ptr<RecordTable> table() const { return m_table; }

    // --- order

    /// Orders the rows by the text of one field (stable; null first); "" removes the order. The
    /// cursor stays on its row.
    void setIndexFieldNames(const std::string& field);
    const std::string& indexFieldNames() const { return m_indexField; }

    // --- editing

    /// A new row, added after the last one when posted.
    void append();
    /// A new row, placed before the current one when posted.
    void insert();
    /// Edits the current row; throws AppError when there is none.
    void edit();
    /// Sets a value of the row being inserted or edited; throws AppError in browse state.
    void setField(const std::string& field, const std::string& value);
    void setNull(const std::string& field);
    void post();
    void cancel();
    /// Removes the current row (cancels a pending insert instead).
    void deleteRecord();
    /// Removes every row.
    void emptyDataSet();

    // --- notification

    /// Called after the set opened, closed, moved or changed its rows. Returns an id for unsubscribe.
    int subscribe(Listener listener);
    void unsubscribe(int id);

private:
    const RecordSchema::Field& fieldOrThrow(const std::string& field) const;
    const RecordSchema::Field& valueFieldOrThrow(const std::string& field) const;
    const RecordTable::Row* currentRow() const;
    void requireActive(const char* operation) const;
    void ensureView() const;
    void rebuildView() const;
    void activate(std::shared_ptr<RecordTable> table);
    /// Puts the set on table, narrowed by command, at its first row (no notification).
    void install(std::shared_ptr<RecordTable> table, RecordCommand command);
    void attachToParentRow();
    void followParent();
    void changed();
    void checkBrowseMode();
    void setPosition(std::size_t pos);
    std::optional<std::size_t> viewPositionOf(std::size_t tableRow) const;
    std::size_t currentTableRow() const { return m_view[m_pos]; }
    bool isAncestor(const RecordSet* other) const;

    std::string m_name;
    DataProvider* m_provider = nullptr;
    std::string m_commandText;
    RecordCommand m_command;
    std::shared_ptr<RecordSchema> m_defs;

    RecordSet* m_parent = nullptr;
    std::string m_nestedField;
    std::vector<RecordSet*> m_children;

    State m_state = State::Inactive;
    std::shared_ptr<RecordTable> m_table;
    mutable std::vector<std::uint32_t> m_view;
    mutable std::uint64_t m_viewVersion = 0;
    mutable std::size_t m_pos = 0;
    mutable bool m_eof = true;
    mutable bool m_bof = true;
    std::string m_indexField;

    RecordTable::Row m_buffer;
    std::size_t m_insertAt = 0; // table row before which an inserted row goes

    std::map<int, Listener> m_listeners;
    int m_nextListener = 1;
    bool m_notifying = false;
};
