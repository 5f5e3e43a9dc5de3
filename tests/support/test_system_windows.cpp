#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <atomic>
#include <filesystem>
#include <random>

#include "base/system_error_text.h"
#include "base/windows/unique_handle.h"
#include "base/windows/wide_text.h"
#include "tests/support/test_system.h"

namespace vemra::testing {

namespace {

// FILETIME counts 100 ns steps since 1601; 1970 began this many steps later.
constexpr std::int64_t kStepsBefore1970 = 116444736000000000;
constexpr std::int64_t kStepsPerSecond = 10000000;

}  // namespace

bool OnLinux() {
  return false;
}

std::string NotFoundText() {
  return SystemErrorText(ERROR_FILE_NOT_FOUND);
}

std::string FolderNotFoundText() {
  return SystemErrorText(ERROR_PATH_NOT_FOUND);
}

char PathSeparator() {
  return '\\';
}

std::string NewPrivateFolder(const std::string& prefix) {
  wchar_t temp[MAX_PATH + 1];
  const DWORD length = GetTempPathW(MAX_PATH + 1, temp);
  if (length == 0 || length > MAX_PATH) return {};
  std::string folder = Utf8Text(std::wstring_view(temp, length));
  if (!folder.empty() && folder.back() != '\\') folder += '\\';
  static std::atomic<unsigned> count{0};
  std::random_device random;
  for (int attempt = 0; attempt < 100; ++attempt) {
    const std::string path = folder + prefix + std::to_string(GetCurrentProcessId()) + "-" +
                             std::to_string(random() % 1000000) + "-" + std::to_string(count++);
    if (CreateDirectoryW(WideText(path).c_str(), nullptr)) return path;
    if (GetLastError() != ERROR_ALREADY_EXISTS) return {};
  }
  return {};
}

std::FILE* NewTemporaryFile() {
  // The C library's tmpfile() makes its file in the root of the current
  // drive, which the user may not write to.
  wchar_t folder[MAX_PATH + 1];
  wchar_t name[MAX_PATH + 1];
  const DWORD length = GetTempPathW(MAX_PATH + 1, folder);
  if (length == 0 || length > MAX_PATH || GetTempFileNameW(folder, L"vem", 0, name) == 0) {
    return nullptr;
  }
  // "D": removed when closed.
  return _wfopen(name, L"w+bD");
}

void SetVariable(const std::string& name, const std::string& value) {
  SetEnvironmentVariableW(WideText(name).c_str(), WideText(value).c_str());
  _wputenv_s(WideText(name).c_str(), WideText(value).c_str());
}

void UnsetVariable(const std::string& name) {
  SetEnvironmentVariableW(WideText(name).c_str(), nullptr);
  _wputenv_s(WideText(name).c_str(), L"");
}

bool MakeFifo(const std::string&) {
  return false;
}

bool MakePipe(int fds[2]) {
  return _pipe(fds, 1 << 16, _O_BINARY) == 0;
}

void CloseDescriptor(int fd) {
  _close(fd);
}

void BecomeUnprivileged() {}

FileTime ModifiedTime(const std::string& path) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (!GetFileAttributesExW(WidePath(path).c_str(), GetFileExInfoStandard, &data)) return {};
  const std::int64_t steps = (static_cast<std::int64_t>(data.ftLastWriteTime.dwHighDateTime) << 32 |
                              data.ftLastWriteTime.dwLowDateTime) -
                             kStepsBefore1970;
  return {steps / kStepsPerSecond, steps % kStepsPerSecond * 100};
}

std::optional<unsigned> PermissionBits(const std::string&) {
  return std::nullopt;
}

void SetModifiedTime(const std::string& path, std::int64_t seconds) {
  const UniqueHandle file(CreateFileW(WidePath(path).c_str(), FILE_WRITE_ATTRIBUTES,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  const auto steps = static_cast<std::uint64_t>(seconds * kStepsPerSecond + kStepsBefore1970);
  const FILETIME time{static_cast<DWORD>(steps), static_cast<DWORD>(steps >> 32)};
  SetFileTime(file.Get(), nullptr, &time, &time);
}

}  // namespace vemra::testing
