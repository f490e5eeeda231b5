#pragma once

#include <string>
#include <vector>

class Platform;
class ReturnedProcesses;

/// Processes Merlin accepted whose GERADOS row could not be written (the Integra database down, a full
/// disk). Without them a scan would offer such a process again and it would be sent twice; so they are
/// kept in the file RETORNOS_PENDENTES.TXT in the program folder until their row is written, and the
/// scans treat them as returned.
///
/// One line per process: kind, identifier and date (mm/dd/yyyy) separated by ";", the identifier
/// percent-encoded as a query value ("%", ";", blanks, control characters, line breaks … as %XX). The file is replaced
/// whole (written beside it, flushed to the disk, renamed), so a reader always sees a complete list. Changes are made
/// under ReturnRunLock; lines that are not understood are kept as they are.
class PendingReturns {
public:
    static constexpr const char* FileName = "RETORNOS_PENDENTES.TXT";

    struct Entry {
        std::string kind;
        std::string identifier; // trimmed, as GERADOS is to hold it
        std::string monthDayYear;
    };

    explicit PendingReturns(const Platform& platform);

    std::string path() const { return m_path; }
    /// The pending processes; none when the file is missing. Throws AppError when it cannot be read.
    std::vector<Entry> entries() const;
    /// Adds a process (kept once). Throws AppError when the file cannot be written; the file is then
    /// as it was.
    void add(const Entry& entry);

    struct FlushResult {
        int written = 0;
        std::vector<std::string> failures; // one text per process whose row could not be written
    };
    /// Writes every pending process into GERADOS (one already there counts as written) and removes the
    /// written ones from the file.
    FlushResult flush(ReturnedProcesses& returned);

    static std::string encode(const std::string& text);
    static std::string decode(const std::string& text);

private:
    struct Line {
        bool understood = false;
        Entry entry;
        std::string raw;
    };
    std::vector<Line> readLines() const;
    void writeLines(const std::vector<Line>& lines) const;

    std::string m_path;
};
