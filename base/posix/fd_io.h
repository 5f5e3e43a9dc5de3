// Whole-buffer reads and writes on a file descriptor, retried across
// interruptions and partial transfers.
#pragma once

#include <sys/types.h>

#include <cstddef>
#include <string_view>

namespace vemra {

// Reads until size bytes are in buffer or the file ends; returns how many
// arrived, or -1 on a read error.
ssize_t ReadFully(int fd, char* buffer, std::size_t size);
// Writes every byte of bytes at the current offset; false when the system
// took fewer (disk full, I/O error), with the reason in errno.
bool WriteFully(int fd, std::string_view bytes);
// Copies the whole content of the file open on from, read from its start,
// to the file open on to, written from its start; false with the reason in
// errno when not every byte arrived.
bool CopyWholeFile(int from, int to);
// Whether the file open on fd, read from its start, holds exactly bytes.
bool HoldsExactly(int fd, std::string_view bytes);

}  // namespace vemra
