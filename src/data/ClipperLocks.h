#pragma once

#include <cstdint>

/// Where the NORVIK workstations lock, so that they and this program exclude each other on the same
/// files. The locks lie far beyond the end of any real file, so they never hide data from a reader.
namespace ClipperLocks {

constexpr std::uint64_t Base = 1'000'000'000;
/// Table header: held while a record is appended and the record count rewritten.
constexpr std::uint64_t Header = Base;
/// One record: Base + record number, one byte.
constexpr std::uint64_t record(std::uint32_t recno) {
    return Base + recno;
}
/// The whole table: every record lock at once.
constexpr std::uint64_t FileStart = Base + 1;
constexpr std::uint64_t FileLength = 1'000'000'000;
/// An index file, and the next-free-block word of a memo file.
constexpr std::uint64_t Index = Base;
/// How long a busy lock is retried before the operation fails.
constexpr int TimeoutMs = 3000;

} // namespace ClipperLocks
