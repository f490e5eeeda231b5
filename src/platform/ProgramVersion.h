#pragma once

#include <string>

// How the program shows its own version: the four numbers of its file version.

/// A version number cut to its first two digits (7 → "7", 12 → "12", 123 → "12").
std::string versionNumberText(unsigned number);
/// major.minor.release.build with each number cut to two digits.
std::string versionText(unsigned major, unsigned minor, unsigned release, unsigned build);
