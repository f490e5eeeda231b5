#pragma once

#include <cstddef>
#include <string>

/// The bytes of a file. Throws AppError naming the file and the reason (missing, a folder, unreadable,
/// larger than maxBytes).
std::string readWholeFile(const std::string& path, std::size_t maxBytes);
