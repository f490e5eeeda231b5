#pragma once

#include <cstdint>
#include <string>

// Small path helpers shared by every part that builds file names from settings texts.

/// True when the text ends in "\" or "/".
bool endsWithSeparator(const std::string& path);
/// folder + name with exactly one separator between them (the native one when folder has none).
std::string joinPath(const std::string& folder, const std::string& name);
/// The part after the last "\" or "/".
std::string fileNameOf(const std::string& path);
/// The part before the last "\" or "/" (empty when there is none).
std::string folderOf(const std::string& path);
bool fileExists(const std::string& path);
bool folderExists(const std::string& path);

/// One look at a file: what it is, its size and its modification time to the nanosecond. Callers that
/// check a file for changes again and again (the documents and transformations read for each unit of a
/// transfer) ask the system once instead of once per attribute.
struct FileStamp {
    enum class Kind { Missing, Regular, Folder, Other };
    Kind kind = Kind::Missing;
    std::uintmax_t size = 0;
    long long seconds = 0;
    long nanoseconds = 0;
    /// errno when the look failed for another reason than a missing file or folder (kind Missing).
    int error = 0;
    bool operator==(const FileStamp&) const = default;
};
FileStamp fileStamp(const std::string& path);
