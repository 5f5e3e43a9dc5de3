// What the tests ask of the system they run on: a private folder, the
// environment, file times and the kind of system. One implementation per
// system (test_system_posix.cpp, test_system_windows.cpp), picked by CMake;
// the tests above never ask which system it is except through OnLinux().
#pragma once

#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>

namespace vemra::testing {

// Whether the tests run on Linux. A test that needs what only Linux offers
// (a shell, /dev/full, permission bits, forking) skips elsewhere with a
// message that says so.
bool OnLinux();

// The character that separates a folder from a name in the paths the
// system gives back.
char PathSeparator();

// The system's reason for a file that is not there, and for a folder on a
// path that is not there (the same on POSIX; on Windows each has its own
// code, and wine words them otherwise than Windows does).
std::string NotFoundText();
std::string FolderNotFoundText();

// A new empty folder in this user's temporary folder, its name starting
// with prefix (on POSIX open to this user alone); empty when none could be
// made.
std::string NewPrivateFolder(const std::string& prefix);

// A new empty file, open for reading and writing, that is removed when it
// is closed; null when none could be made.
std::FILE* NewTemporaryFile();

// Sets or removes an environment variable of this process (and so of the
// processes it starts).
void SetVariable(const std::string& name, const std::string& value);
void UnsetVariable(const std::string& name);

// Makes a FIFO at path; false where the system has none (Windows).
bool MakeFifo(const std::string& path);

// Opens a pipe whose ends pass bytes as they are: fds[0] reads, fds[1]
// writes; false when none could be made.
bool MakePipe(int fds[2]);
// Closes a descriptor, such as an end of a pipe.
void CloseDescriptor(int fd);

// The user and group id a test running as the superuser gives files to, and
// takes in a child, to meet ordinary permission checks.
inline constexpr unsigned kUnprivilegedId = 65534;

// For a child about to run a program (RunChild's in_child): gives up the
// superuser's rights, so that permission bits apply; exits with status 4
// when it cannot. POSIX only.
void BecomeUnprivileged();

// A file's modification time, in seconds and nanoseconds since 1970; for a
// link, the link's own.
struct FileTime {
  std::int64_t seconds = 0;
  std::int64_t nanoseconds = 0;
  bool operator==(const FileTime&) const = default;
};
FileTime ModifiedTime(const std::string& path);
// The permission bits of a file (07777 of its mode), where the system keeps
// such bits; none on Windows.
std::optional<unsigned> PermissionBits(const std::string& path);
// Sets the file's modification (and, where the system keeps it, access) time
// to a whole second since 1970.
void SetModifiedTime(const std::string& path, std::int64_t seconds);

}  // namespace vemra::testing
