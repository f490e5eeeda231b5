#pragma once

#include <string>

// Case and affix tests on UTF-8 texts. They sit under everything because file names are compared
// without case by the platform itself; the text routines of the program re-export them.

/// Upper-cases a to z only; every other character stays as it is.
std::string upperAscii(const std::string& s);
/// Upper-cases a to z and the accented Latin letters (à → À, ç → Ç …).
std::string upperText(const std::string& s);
/// Lower-case form of a to z and the accented Latin letters; used for comparisons without case.
std::string foldCase(const std::string& s);
bool equalsNoCase(const std::string& a, const std::string& b);
bool startsWith(const std::string& s, const std::string& prefix);
bool endsWith(const std::string& s, const std::string& suffix);
