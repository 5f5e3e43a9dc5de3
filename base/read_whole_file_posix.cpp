#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <optional>
#include <span>

#include "base/file_failures.h"
#include "base/posix/fd_io.h"
#include "base/posix/piece_buffer.h"
#include "base/posix/regular_file.h"
#include "base/posix/save_backup.h"
#include "base/posix/save_target.h"
#include "base/posix/stat_identity.h"
#include "base/prefault.h"
#include "base/read_whole_file.h"
#include "base/system_error_text.h"
#include "base/whole_read.h"

namespace vemra {

namespace {

// Standard input from a pipe or device, which has no size to ask for: read
// into pieces until it ends, then joined into one string with room for a
// last line end to be added. fail(error_code) throws the failure to report
// for a read error or a text of 2 GiB or more.
template <typename Fail>
std::string ReadInPieces(int fd, Fail fail) {
  PieceBuffer pieces;
  for (;;) {
    const std::span<char> room = pieces.Room();
    const ssize_t got = ReadFully(fd, room.data(), room.size());
    if (got < 0) fail(errno);
    pieces.Added(static_cast<std::size_t>(got));
    if (pieces.Size() > kMaxWholeRead) fail(EFBIG);
    if (static_cast<std::size_t>(got) < room.size()) break;
  }
  return pieces.TakeJoined(2);
}

// The bytes left to read in a regular file open on fd; none when that cannot
// be told.
std::optional<std::size_t> RestOfFile(int fd) {
  struct stat info {};
  if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) return std::nullopt;
  const off_t offset = lseek(fd, 0, SEEK_CUR);
  if (offset < 0 || offset > info.st_size) return std::nullopt;
  const auto rest = static_cast<std::uint64_t>(info.st_size - offset);
  if (rest > kMaxWholeRead) return std::nullopt;
  return static_cast<std::size_t>(rest);
}

// Standard input from a regular file with rest bytes left: read straight
// into a string of that size, with room for a last line end to be added.
// The file may still end early, or grow while it is read.
template <typename Fail>
std::string ReadRestOfFile(int fd, std::size_t rest, Fail fail) {
  std::string bytes;
  bytes.reserve(rest + 2);
  PrefaultForWriting(bytes.data(), rest);
  while (bytes.size() < rest) {
    const std::size_t used = bytes.size();
    const std::size_t piece = std::min(kReadPiece, rest - used);
    bytes.resize(used + piece);
    const ssize_t got = ReadFully(fd, bytes.data() + used, piece);
    if (got < 0) fail(errno);
    bytes.resize(used + static_cast<std::size_t>(got));
    if (static_cast<std::size_t>(got) < piece) return bytes;
  }
  const std::string grown = ReadInPieces(fd, fail);
  if (grown.empty()) return bytes;
  if (bytes.size() + grown.size() > kMaxWholeRead) fail(EFBIG);
  return bytes + grown;
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
  const std::optional<std::size_t> rest = RestOfFile(fd);
  return rest ? ReadRestOfFile(fd, *rest, fail) : ReadInPieces(fd, fail);
}

}  // namespace vemra
