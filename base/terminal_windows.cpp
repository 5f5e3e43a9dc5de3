#include <io.h>
#include <windows.h>

#include "base/terminal.h"

namespace vemra {

namespace {

HANDLE HandleOf(int fd) {
  return reinterpret_cast<HANDLE>(_get_osfhandle(fd));
}

}  // namespace

bool IsTerminal(int fd) {
  DWORD mode = 0;
  return GetConsoleMode(HandleOf(fd), &mode) != 0;
}

bool ShowColourEscapes(int fd) {
  // A console reads escapes only with virtual terminal processing on,
  // which consoles before Windows 10 refuse.
  const HANDLE console = HandleOf(fd);
  DWORD mode = 0;
  if (GetConsoleMode(console, &mode) == 0) return false;
  if ((mode & ENABLE_VIRTUAL_TERMINAL_PROCESSING) != 0) return true;
  return SetConsoleMode(console, mode | ENABLE_VIRTUAL_TERMINAL_PROCESSING) != 0;
}

bool NoColourAsked() {
  // Only whether the value is empty counts: its size is enough.
  wchar_t first[2];
  return GetEnvironmentVariableW(L"NO_COLOR", first, 2) > 0;
}

}  // namespace vemra
