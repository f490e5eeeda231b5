#pragma once

#include <string>
#include <vector>

class Platform;

/// An empty Orientador folder for this system: the five files with the Orientador's tables and fields
/// (share/orientador/*.sql, built into the program), and, on request, sample rows in the code tables.
class OrientadorFolder {
public:
    struct Options {
        bool sample = false; // fill the code tables of TABSISCO.MDB with sample rows
        bool force = false;  // replace files that are already there
    };

    /// IMPORT.MDB, REGIMP.MDB, DSI.MDB, LIDSI.MDB, TABSISCO.MDB.
    static const std::vector<std::string>& fileNames();
    /// The SQL text that creates a file's tables (by file name, "IMPORT.MDB").
    static std::string schema(const std::string& fileName);
    /// The SQL text with the sample rows of TABSISCO.MDB.
    static std::string sampleRows();

    /// The names of the five files already in folder (as spelled there), found regardless of case.
    static std::vector<std::string> existingFiles(const Platform& platform, const std::string& folder);

    /// Creates the folder (and its parents) and the five files; returns their paths. Throws AppError
    /// when a file is already there (in any case) and options.force is off, or when a file cannot be
    /// written; a file is written beside its final name and renamed only when complete.
    static std::vector<std::string> create(const Platform& platform, const std::string& folder, const Options& options);
};
