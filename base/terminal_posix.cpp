#include <unistd.h>

#include <cstdlib>

#include "base/terminal.h"

namespace vemra {

bool IsTerminal(int fd) {
  return isatty(fd) == 1;
}

bool ShowColourEscapes(int) {
  return true;  // a terminal shows them as it is
}

bool NoColourAsked() {
  const char* const value = std::getenv("NO_COLOR");
  return value != nullptr && *value != '\0';
}

}  // namespace vemra
