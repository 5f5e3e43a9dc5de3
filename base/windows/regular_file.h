// Opening a file only when it is a regular file on a disk. A device (NUL,
// CON, a serial port) may do something of its own when opened, a pipe
// connects to its server, and neither can be read whole or replaced; a
// folder has no bytes at all. Such a name is refused before it is opened.
#pragma once

#include <windows.h>

#include <string>

#include "base/windows/unique_handle.h"

namespace vemra {

// Every kind of sharing: the open never stands in another program's way.
inline constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

struct RegularFile {
  UniqueHandle handle;       // open, unless the name was refused
  bool not_regular = false;  // the name is there but no regular file
  DWORD error_code = 0;      // why the open failed otherwise
};

// Whether path names a device or pipe rather than a file on a disk, told
// from the name alone: a reserved name (NUL, CON, COM1, in older systems
// with any extension too), or a path in the device namespace
// ("\\.\pipe\x", "\\?\NUL") other than a drive's, a volume's or a share's.
bool IsDeviceName(const std::wstring& path);

// Opens path, following links, with access and share, when it is a regular
// file. A device or pipe (IsDeviceName) is never opened, a folder is
// refused without being opened, and what was opened is looked at again in case the name was
// swapped meanwhile.
RegularFile OpenRegularFile(const std::wstring& path, DWORD access, DWORD share);

// Whether the error code says that nothing is under the name (nor,
// perhaps, its folder).
inline bool IsMissing(DWORD error_code) {
  return error_code == ERROR_FILE_NOT_FOUND || error_code == ERROR_PATH_NOT_FOUND;
}

}  // namespace vemra
