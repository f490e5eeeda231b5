#pragma once

#include <string>
#include <string_view>

/// Writes all of data to fd, going on after interrupted writes. False (errno set) when a write fails.
bool writeAllTo(int fd, std::string_view data);

/// Replaces the file at path with text in one step: the text goes into a file of this writer's own
/// beside it, onto the disk, and then takes the name, so readers see the old file or the new one whole,
/// never a part, and a crash leaves one of the two. The new file gets mode. Returns 0, or the errno of
/// the step that failed (the old file is then untouched and nothing is left beside it).
int replaceFileWhole(const std::string& path, std::string_view text, unsigned mode);

/// Copies the file from onto to the same way: a program another process starts by that name while the
/// copy is made finds the old file or the new one whole, never one still being written. The new file
/// gets mode. Returns 0 or the errno of the step that failed (to is then untouched).
int copyFileWhole(const std::string& from, const std::string& to, unsigned mode);
