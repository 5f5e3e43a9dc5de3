#include "base/process_setup.h"

// windows.h first: shellapi.h needs its types.
// clang-format off
#include <windows.h>
#include <shellapi.h>
// clang-format on
#include <fcntl.h>
#include <io.h>

#include "base/windows/wide_text.h"

namespace vemra {

std::vector<std::string> ProgramArguments(int argc, char** argv) {
  // The narrow argv holds the arguments in the console's code page, which
  // loses every letter it has no room for; the wide command line has them
  // all.
  int count = 0;
  wchar_t** const wide = CommandLineToArgvW(GetCommandLineW(), &count);
  if (wide == nullptr) return std::vector<std::string>(argv + 1, argv + argc);
  std::vector<std::string> arguments;
  for (int i = 1; i < count; ++i) arguments.push_back(Utf8Text(wide[i]));
  LocalFree(wide);
  return arguments;
}

void PrepareStandardStreams() {
  // Every byte as it is: no line end is translated, and Ctrl-Z ends no
  // input.
  for (const int fd : {kStandardInput, kStandardOutput, kStandardError}) _setmode(fd, _O_BINARY);
  // The console shows the program's UTF-8 as the letters it stands for.
  SetConsoleOutputCP(CP_UTF8);
}

}  // namespace vemra
