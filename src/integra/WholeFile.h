#pragma once

#include <cstddef>
#include <string>

/// The bytes of a file. Throws AppError naming the file and the reason (missing, a folder, unreadable,
/// larger than maxBytes).
std::string readWholeFile(const std::string& path, std::size_t maxBytes);

/// Writes bytes as the whole content of path: into a new file beside it first, then renamed over it,
/// so the file is either the old one or the complete new one, also when two programs write it at once.
/// Throws AppError naming the file and the reason.
void writeWholeFile(const std::string& path, const std::string& bytes);
