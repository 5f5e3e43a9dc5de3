// Reading a whole file, or a stream to its end, into one string. The loops
// are the same on every system; each system's loader hands in its own read
// call:
//
//   read(buffer, size)  reads until size bytes are in buffer or the input
//                       ends, and returns how many arrived, or a negative
//                       number on a read error (the system keeps its code).
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <string>

#include "base/file_failures.h"
#include "base/prefault.h"

namespace vemra {

// The largest text read whole: one byte less than 2 GiB.
inline constexpr std::size_t kMaxWholeRead = std::numeric_limits<std::int32_t>::max();

// Pieces a regular file is read in. Making room in a string fills it with
// zeros; a piece at a time, the zeros are still in the cache when the read
// overwrites them, where filling the whole buffer first would write every
// byte to memory twice.
inline constexpr std::size_t kReadPiece = std::size_t{1} << 20;

// A regular file, read to its known size into a buffer with room for a last
// line end to be added. Throws ReadFailure() on a read error, and when the
// file ends early: a shorter text must never be saved over the file.
template <typename Read>
std::string ReadKnownSize(std::size_t size, Read read) {
  std::string bytes;
  bytes.reserve(size + 2);
  PrefaultForWriting(bytes.data(), size);
  while (bytes.size() < size) {
    const std::size_t used = bytes.size();
    const std::size_t piece = std::min(kReadPiece, size - used);
    bytes.resize(used + piece);
    const auto got = read(bytes.data() + used, piece);
    if (got < 0 || static_cast<std::size_t>(got) != piece) throw ReadFailure();
  }
  return bytes;
}

// A pipe or device has no size to ask for: read until it ends, into a room
// of first_room bytes (when 0, a guess), doubled whenever it is filled.
// fail_read() throws the failure to report for a read error, right after
// it, and fail_too_large() the one for a text of 2 GiB or more.
template <typename Read, typename FailRead, typename FailTooLarge>
std::string ReadUntilEnd(std::size_t first_room, Read read, FailRead fail_read,
                         FailTooLarge fail_too_large) {
  std::string bytes(first_room > 0 ? first_room : 65536, '\0');
  std::size_t used = 0;
  for (;;) {
    const auto got = read(bytes.data() + used, bytes.size() - used);
    if (got < 0) fail_read();
    used += static_cast<std::size_t>(got);
    if (used < bytes.size()) break;
    if (used > kMaxWholeRead) fail_too_large();
    bytes.resize(bytes.size() * 2);
  }
  bytes.resize(used);
  return bytes;
}

}  // namespace vemra
