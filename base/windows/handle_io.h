// Whole-buffer reads and writes on a Windows file handle, in the pieces one
// call can count (a DWORD), retried across partial transfers.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace vemra {

// Reads until size bytes are in buffer or the input ends; returns how many
// arrived, or -1 with GetLastError() on a read error. A pipe whose writer
// has gone has ended.
std::ptrdiff_t ReadFully(HANDLE handle, char* buffer, std::size_t size);
// Writes every byte of bytes at the handle's current position; false with
// GetLastError() when the system took fewer (disk full, I/O error).
bool WriteFully(HANDLE handle, std::string_view bytes);
// Moves the handle's position to offset from the start; false on failure.
bool SeekTo(HANDLE handle, std::int64_t offset);
// Makes the file open on to hold exactly what the file open on from holds,
// both from their start; false with GetLastError() when not every byte
// arrived. The flush is left to the caller.
bool CopyWholeFile(HANDLE from, HANDLE to);
// Whether the file open on handle, read from its start, holds exactly bytes.
bool HoldsExactly(HANDLE handle, std::string_view bytes);

}  // namespace vemra
