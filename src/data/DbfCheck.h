#pragma once

#include <string>
#include <vector>

/// The agreement of a table with its indices, as a person would verify it by hand: the header's
/// record count fits the file, every live record's key is in each index exactly once, no key points at
/// a deleted or missing record, keys are in order, memo pointers stay inside the memo file.
///
/// It reads under shared locks (indices first, then the table header, as writers take them), so a
/// program writing at the same time waits for it instead of being seen half way.
class DbfCheck {
public:
    /// Every fault found, one line each, naming the file; empty when the table is sound.
    static std::vector<std::string> run(const std::string& tablePath, const std::vector<std::string>& indexPaths,
                                        int lockTimeoutMs);
};
