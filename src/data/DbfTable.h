#pragma once

#include "data/ClipperLocks.h"
#include "data/DbfCodePage.h"
#include "data/DbfField.h"
#include "data/DbfHeader.h"
#include "data/DbtMemo.h"
#include "data/NtxIndex.h"
#include "data/SharedFile.h"

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

/// A dBase III table opened shared, with its memo file and any number of Clipper indices kept in step
/// with every append, change and deletion. Deleted records are hidden from searches and scans.
///
/// Sharing follows the workstations' rules: a new record is appended under the header lock, a record
/// is changed or deleted under its record lock, and each index under its own lock; a busy lock is
/// retried up to the time-out and then fails naming the file. Keys are built and checked before any
/// byte is written, and a change whose index update fails is undone in the table, so the indices
/// never disagree with the table they index.
///
/// Every failure is an AppError naming the file.
class DbfTable {
public:
    explicit DbfTable(int lockTimeoutMs = ClipperLocks::TimeoutMs);
    ~DbfTable();
    DbfTable(const DbfTable&) = delete;
    DbfTable& operator=(const DbfTable&) = delete;

    /// Opens the table and its indices (full paths, in order; the first becomes the active one).
    void open(const std::string& path, const std::vector<std::string>& indexPaths = {}, bool writable = true);
    /// Posts nothing: a pending append or change is dropped. Ends a batch.
    void close();
    bool isOpen() const { return m_file.isOpen(); }
    const std::string& path() const { return m_file.path(); }
    /// The table's file name without folder ("RIREGI.DBF").
    std::string fileName() const { return m_file.name(); }
    int lockTimeoutMs() const { return m_timeoutMs; }

    const std::vector<DbfField>& fields() const { return m_header.fields; }
    const DbfField* findField(const std::string& name) const;
    /// The field of that name (any case); a missing field is an error naming field and table.
    const DbfField& field(const std::string& name) const;
    DbfCodePage::Page codePage() const { return m_header.codePage(); }
    std::uint16_t headerLength() const { return m_header.headerLength; }
    std::uint16_t recordLength() const { return m_header.recordLength; }

    /// The record count as the file's header says now (other programs append too).
    std::uint32_t recordCount() const;

    std::size_t indexCount() const { return m_indices.size(); }
    NtxIndex& index(std::size_t i) { return *m_indices.at(i); }
    void setActiveIndex(std::size_t i);
    std::size_t activeIndex() const { return m_active; }

    /// Reads record recno (from 1); false when there is no such record.
    bool go(std::uint32_t recno);
    std::uint32_t recno() const { return m_recno; }
    bool hasRecord() const { return m_recno != 0 || m_state == State::Insert; }
    bool isDeleted() const { return !m_record.empty() && m_record[0] == '*'; }
    /// The stored bytes of the current record.
    const std::string& recordImage() const { return m_record; }

    /// The first and the next live record in file order; false at the end.
    bool first();
    bool next();

    /// The first live record whose key in the active index starts with key (a text as the fields hold
    /// it); with soft, the first at or after it. False when there is none.
    bool seek(const std::string& key, bool soft = false);
    /// The first live record whose fields hold the values, each cut or padded to its field's width;
    /// an index whose key starts with the fields is used when there is one.
    bool locate(const std::vector<std::string>& fieldNames, const std::vector<std::string>& values,
                bool caseInsensitive);

    std::string text(const std::string& fieldName) const;
    /// Sets a field of the record being appended or changed (a record in view is put in edit first).
    void setText(const std::string& fieldName, const std::string& value);
    void setBool(const std::string& fieldName, bool value);

    /// A new blank record; written by post.
    void append();
    /// Locks the current record and reads it afresh for a change.
    void edit();
    void post();
    void cancel();
    bool editing() const { return m_state != State::Browse; }
    /// Marks the current record deleted and takes its keys out of every index.
    void deleteRecord();

    /// Index locks taken from here on are kept until endBatch, so the changes of one step reach other
    /// programs together.
    void beginBatch() { m_batch = true; }
    void endBatch();
    bool inBatch() const { return m_batch; }

    /// A new empty table with these fields (and its memo file when a field is a memo), replacing
    /// files of those names.
    static void create(const std::string& path, const std::vector<DbfField>& fields,
                       DbfCodePage::Page page = DbfCodePage::Page::Cp850);
    /// The memo file beside a table, whatever the case of its extension; empty when there is none.
    static std::string memoPathFor(const std::string& tablePath);

private:
    enum class State { Browse, Insert, Edit };

    void readRecord(std::uint32_t recno, std::string& into) const;
    void writeRecord(std::uint32_t recno, const std::string& image);
    void touchHeader(std::uint32_t newCount, bool setCount);
    void lockIndices();
    void unlockIndices();
    void ensureBrowse();
    std::uint64_t recordOffset(std::uint32_t recno) const;
    void checkLength(std::uint32_t count) const;
    std::string memoText(const DbfField& f, std::string_view stored) const;
    void requireWritable() const;

    int m_timeoutMs;
    SharedFile m_file;
    DbfHeader m_header;
    DbtMemo m_memo;
    std::vector<std::unique_ptr<NtxIndex>> m_indices;
    std::size_t m_active = 0;
    State m_state = State::Browse;
    std::uint32_t m_recno = 0;
    std::string m_record;
    std::string m_original;
    std::map<std::size_t, std::string> m_memos; // field index → text set since append/edit
    bool m_recordLocked = false;
    bool m_batch = false;
};
