#pragma once

#include <string>

class Platform;

// INI files as the settings of the program are kept: "[Section]" lines and "key=value" lines.
// Sections and keys are compared without regard to case. Every read or write opens the file,
// handles one key and closes it again.

/// The value of key in section of the INI file at path; empty when the file, section or key is missing.
std::string readIniFile(const std::string& path, const std::string& section, const std::string& key);
/// Writes key in section of the INI file at path, creating file, section and key as needed and keeping
/// every other line. The file is replaced in one step, so a failure never leaves it half written.
/// Throws AppError when the file cannot be written.
void writeIniFile(const std::string& path, const std::string& section, const std::string& key,
                  const std::string& value);

/// readIniFile on WindowsFolder + "/" + fileName.
std::string ReadIniValue(const Platform& platform, const std::string& fileName, const std::string& section,
                         const std::string& key);
/// writeIniFile on WindowsFolder + "/" + fileName.
void WriteIniValue(const Platform& platform, const std::string& fileName, const std::string& section,
                   const std::string& key, const std::string& value);
