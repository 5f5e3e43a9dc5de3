#include <io.h>
#include <windows.h>

#include <cstdint>

#include "base/file_failures.h"
#include "base/read_whole_file.h"
#include "base/system_error_text.h"
#include "base/whole_read.h"
#include "base/windows/file_information.h"
#include "base/windows/file_security.h"
#include "base/windows/handle_io.h"
#include "base/windows/regular_file.h"
#include "base/windows/save_backup.h"
#include "base/windows/wide_text.h"

namespace vemra {

namespace {

int Code(DWORD error) {
  return static_cast<int>(error);
}

// The bytes left to read in a file on a disk open on handle, and one more,
// so that reading them all into that room finds the end at once; 0 when
// that cannot be told.
std::size_t RoomForRest(HANDLE handle) {
  LARGE_INTEGER size{};
  LARGE_INTEGER offset{};
  if (GetFileType(handle) != FILE_TYPE_DISK || !GetFileSizeEx(handle, &size) ||
      !SetFilePointerEx(handle, LARGE_INTEGER{}, &offset, FILE_CURRENT) ||
      offset.QuadPart > size.QuadPart) {
    return 0;
  }
  const auto rest = static_cast<std::uint64_t>(size.QuadPart - offset.QuadPart);
  return rest < kMaxWholeRead ? static_cast<std::size_t>(rest) + 1 : 0;
}

}  // namespace

std::string ReadWholeFile(const std::string& file_name, LoadedFile& loaded) {
  // Every kind of sharing, so that the load never keeps an editor from
  // saving the file meanwhile; a change it makes shows before the save.
  const std::wstring name = WidePath(file_name);
  const RegularFile file = OpenRegularFile(name, GENERIC_READ, kShareAll);
  if (file.not_regular) throw OpenFailure(file_name, NotRegularReason());
  if (!file.handle.Valid()) throw OpenFailure(file_name, Code(file.error_code));
  const HANDLE handle = file.handle.Get();
  FileIdentity identity;
  if (!IdentityOfHandle(handle, identity)) throw OpenFailure(file_name, Code(GetLastError()));
  if (static_cast<std::uint64_t>(identity.size) > kMaxWholeRead) {
    throw OpenFailure(file_name, TooLargeReason());
  }
  // Where the very file that was opened is, as a save finds it again.
  const std::wstring final_path = FullPathOf(handle, name);
  loaded = {final_path.empty() ? std::string() : OrdinaryPath(final_path), identity};
  const std::string left_backup = LeftBackupReason(loaded.path, OwnerOf(handle));
  if (!left_backup.empty()) throw OpenFailure(file_name, left_backup);
  return ReadKnownSize(
      static_cast<std::size_t>(identity.size),
      [handle](char* buffer, std::size_t size) { return ReadFully(handle, buffer, size); });
}

// Every byte as it comes: no line end is translated, and Ctrl-Z is a byte
// like any other. A pipe whose writer has gone has ended.
std::string ReadStandardInput(int fd) {
  const auto fail_with = [](const std::string& reason) {
    throw EReadError("Stream read error. Cannot read standard input. " + reason);
  };
  const auto fail = [&fail_with](DWORD error_code) {
    fail_with(SystemErrorText(Code(error_code)));
  };
  const auto input = reinterpret_cast<HANDLE>(_get_osfhandle(fd));
  if (input == INVALID_HANDLE_VALUE) fail(ERROR_INVALID_HANDLE);
  return ReadUntilEnd(
      RoomForRest(input),
      [input](char* buffer, std::size_t size) { return ReadFully(input, buffer, size); },
      [&fail] { fail(GetLastError()); }, [&fail_with] { fail_with(TooLargeReason()); });
}

}  // namespace vemra
