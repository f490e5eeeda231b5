#pragma once

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
