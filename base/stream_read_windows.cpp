#include <io.h>
#include <windows.h>

#include <algorithm>

#include "base/stream_read.h"

namespace vemra {

long ReadFromStream(int fd, char* buffer, std::size_t size) {
  const auto handle = reinterpret_cast<HANDLE>(_get_osfhandle(fd));
  if (handle == INVALID_HANDLE_VALUE) return -1;
  DWORD got = 0;
  const auto piece = static_cast<DWORD>(std::min<std::size_t>(size, 1u << 30));
  if (!ReadFile(handle, buffer, piece, &got, nullptr)) {
    return GetLastError() == ERROR_BROKEN_PIPE ? 0 : -1;
  }
  return static_cast<long>(got);
}

}  // namespace vemra
