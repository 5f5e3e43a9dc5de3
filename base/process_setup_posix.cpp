#include <csignal>

#include "base/process_setup.h"

namespace vemra {

std::vector<std::string> ProgramArguments(int argc, char** argv) {
  return std::vector<std::string>(argv + 1, argv + argc);
}

void PrepareStandardStreams() {
  // A reader that goes away makes writes fail with EPIPE, which the run
  // reports as a failure, instead of ending it silently.
  std::signal(SIGPIPE, SIG_IGN);
}

}  // namespace vemra
