#include <io.h>
#include <windows.h>

#include <algorithm>

#include "base/stream_write.h"

namespace vemra {

namespace {

// A console takes a write of at most some tens of kilobytes at a time.
constexpr std::size_t kWritePiece = 32 * 1024;

}  // namespace

int WriteToStream(int fd, std::string_view bytes) {
  const auto handle = reinterpret_cast<HANDLE>(_get_osfhandle(fd));
  if (handle == INVALID_HANDLE_VALUE) return ERROR_INVALID_HANDLE;
  while (!bytes.empty()) {
    DWORD written = 0;
    const auto piece = static_cast<DWORD>(std::min(bytes.size(), kWritePiece));
    if (!WriteFile(handle, bytes.data(), piece, &written, nullptr)) {
      return static_cast<int>(GetLastError());
    }
    if (written == 0) return ERROR_WRITE_FAULT;
    bytes.remove_prefix(written);
  }
  return 0;
}

}  // namespace vemra
