#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>

#include "base/file_failures.h"
#include "base/posix/fd_io.h"
#include "base/posix/regular_file.h"
#include "base/posix/save_backup.h"
#include "base/posix/save_target.h"
#include "base/posix/stat_identity.h"
#include "base/read_whole_file.h"
#include "base/system_error_text.h"
#include "base/whole_read.h"

namespace vemra {

namespace {

// The bytes left to read in a regular file open on fd, and one more, so
// that reading them all into that room finds the end at once; 0 when that
// cannot be told.
std::size_t RoomForRest(int fd) {
  struct stat info {};
  if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) return 0;
  const off_t offset = lseek(fd, 0, SEEK_CUR);
  if (offset < 0 || offset > info.st_size) return 0;
  const auto rest = static_cast<std::uint64_t>(info.st_size - offset);
  return rest < kMaxWholeRead ? static_cast<std::size_t>(rest) + 1 : 0;
}

}  // namespace

std::string ReadWholeFile(const std::string& file_name, LoadedFile& loaded) {
  const RegularFile file = OpenRegularFile(AT_FDCWD, file_name.c_str(), O_RDONLY);
  if (file.not_regular) throw OpenFailure(file_name, NotRegularReason());
  if (!file.fd.Valid()) throw OpenFailure(file_name, file.error_code);
  if (static_cast<std::uint64_t>(file.info.st_size) > kMaxWholeRead) {
    throw OpenFailure(file_name, EFBIG);
  }
  loaded = {ResolvedPath(file_name), IdentityOf(file.info)};
  const std::string left_backup = LeftBackupReason(loaded.path, file.info.st_uid);
  if (!left_backup.empty()) throw OpenFailure(file_name, left_backup);
  const int fd = file.fd.Get();
  return ReadKnownSize(
      static_cast<std::size_t>(file.info.st_size),
      [fd](char* buffer, std::size_t size) { return ReadFully(fd, buffer, size); });
}

std::string ReadStandardInput(int fd) {
  const auto fail = [](int error_code) {
    throw EReadError("Stream read error. Cannot read standard input. " +
                     SystemErrorText(error_code));
  };
  return ReadUntilEnd(
      RoomForRest(fd), [fd](char* buffer, std::size_t size) { return ReadFully(fd, buffer, size); },
      [&fail] { fail(errno); }, [&fail] { fail(EFBIG); });
}

}  // namespace vemra
