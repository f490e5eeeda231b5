#pragma once

#include <string>
#include <vector>

/// A NORVIK folder made from NorvikSchema: every table and index the program reads and writes, empty,
/// or with sample exchange rates, importers, units and a classification table. The program itself
/// never creates a NORVIK file: this serves set-up, demonstrations and tests.
class NorvikFolder {
public:
    /// Creates the files (replacing those of the same names) and returns their paths.
    static std::vector<std::string> create(const std::string& folder, bool sample);
    /// The table files of the schema already in the folder (any case).
    static std::vector<std::string> existingFiles(const std::string& folder);

    /// The entry of folder named name regardless of case (the workstations write capitals), or
    /// folder/name when there is none.
    static std::string fileIn(const std::string& folder, const std::string& name);

    /// Whether name is a work copy the DI transfer hands to the merge program: "TM", one to six
    /// letters, digits, "_" or "-", ".DBF" (any case). Nothing else, so it never names another folder.
    static bool isWorkCopyName(const std::string& name);

    /// How long a work copy may wait in the folder for the merge program before check reports it.
    static constexpr int WorkCopyGraceSeconds = 300;

    /// Checks every table of the schema found in folder against its indices, and reports the work
    /// copies older than WorkCopyGraceSeconds (additions the merge program never took); one line per
    /// fault.
    static std::vector<std::string> check(const std::string& folder, int lockTimeoutMs);
};
