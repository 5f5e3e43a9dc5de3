#include "base/windows/handle_io.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace vemra {

namespace {

// Large transfers go in pieces of this size: one call counts its bytes in a
// DWORD, and a piece of a megabyte is as fast as any larger one.
constexpr std::size_t kPiece = std::size_t{1} << 20;

}  // namespace

std::ptrdiff_t ReadFully(HANDLE handle, char* buffer, std::size_t size) {
  std::size_t done = 0;
  while (done < size) {
    DWORD got = 0;
    const auto piece = static_cast<DWORD>(std::min(size - done, kPiece));
    if (!ReadFile(handle, buffer + done, piece, &got, nullptr)) {
      if (GetLastError() == ERROR_BROKEN_PIPE) break;
      return -1;
    }
    if (got == 0) break;
    done += got;
  }
  return static_cast<std::ptrdiff_t>(done);
}

bool WriteFully(HANDLE handle, std::string_view bytes) {
  while (!bytes.empty()) {
    DWORD put = 0;
    const auto piece = static_cast<DWORD>(std::min(bytes.size(), kPiece));
    if (!WriteFile(handle, bytes.data(), piece, &put, nullptr)) return false;
    if (put == 0) {
      SetLastError(ERROR_WRITE_FAULT);  // no progress and no reason given
      return false;
    }
    bytes.remove_prefix(put);
  }
  return true;
}

bool SeekTo(HANDLE handle, std::int64_t offset) {
  LARGE_INTEGER position{};
  position.QuadPart = offset;
  return SetFilePointerEx(handle, position, nullptr, FILE_BEGIN) != 0;
}

bool CopyWholeFile(HANDLE from, HANDLE to) {
  if (!SeekTo(from, 0) || !SeekTo(to, 0)) return false;
  std::vector<char> chunk(kPiece);
  for (;;) {
    const std::ptrdiff_t got = ReadFully(from, chunk.data(), chunk.size());
    if (got < 0) return false;
    if (!WriteFully(to, std::string_view(chunk.data(), static_cast<std::size_t>(got)))) {
      return false;
    }
    if (static_cast<std::size_t>(got) < chunk.size()) return SetEndOfFile(to) != 0;
  }
}

// Compares in chunks, so that a large file costs no second full-size buffer.
bool HoldsExactly(HANDLE handle, std::string_view bytes) {
  if (!SeekTo(handle, 0)) return false;
  std::vector<char> chunk(kPiece);
  for (;;) {
    const std::ptrdiff_t got = ReadFully(handle, chunk.data(), chunk.size());
    if (got < 0) return false;
    const auto size = static_cast<std::size_t>(got);
    if (size > bytes.size() || std::memcmp(chunk.data(), bytes.data(), size) != 0) return false;
    bytes.remove_prefix(size);
    if (size < chunk.size()) return bytes.empty();
  }
}

}  // namespace vemra
