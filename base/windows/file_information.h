// What Windows tells of an open file: which file it is, in what state, and
// what kind.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

#include "base/file_identity.h"
#include "base/file_kind.h"

namespace vemra {

// Nanoseconds since 1601 of a FILETIME or LARGE_INTEGER time.
inline std::int64_t Nanoseconds(std::uint64_t hundreds) {
  return static_cast<std::int64_t>(hundreds) * 100;
}

// The volume, file index, size, last write and last change of the file open
// on handle; false with GetLastError() when they cannot be had.
bool IdentityOfHandle(HANDLE handle, FileIdentity& identity);

// The kind of the file open on handle. A symbolic link or a junction shows
// as a link only when the handle was opened on the link itself
// (FILE_FLAG_OPEN_REPARSE_POINT); a device or pipe is no regular file.
FileKind KindOfHandle(HANDLE handle);

// The full path of the file open on handle, every link and ".." resolved by
// the file system, in the form the system gives it ("\\?\C:\..." or
// "\\?\UNC\server\share\..."), which names the file exactly whatever its
// name; empty with GetLastError() when it cannot be had.
std::wstring FinalPathOfHandle(HANDLE handle);

// The full path of the file open on handle, which was opened through name:
// FinalPathOfHandle where the system can tell it. Where it cannot (some
// network and memory drives; wine, for a path longer than 260), the full
// form of name itself, in the same "\\?\" form, when name is no link and
// still leads to that file; empty with GetLastError() otherwise.
std::wstring FullPathOf(HANDLE handle, const std::wstring& name);

// Such a path in its ordinary form, "C:\..." or "\\server\share\...", as
// UTF-8: how the program shows the file and knows it to its backup.
std::string OrdinaryPath(std::wstring_view final_path);

// Whether a reparse tag is that of a link to elsewhere: a symbolic link or
// a junction (mount point).
inline bool IsLinkTag(DWORD tag) {
  return tag == IO_REPARSE_TAG_SYMLINK || tag == IO_REPARSE_TAG_MOUNT_POINT;
}

}  // namespace vemra
