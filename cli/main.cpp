#include <signal.h>
#include <unistd.h>

#include <ostream>
#include <string>
#include <vector>

#include "base/fd_output_buffer.h"
#include "cli/driver.h"

int main(int argc, char** argv) {
  // A reader that goes away makes writes fail with EPIPE, which the run
  // reports as a failure, instead of ending it silently.
  signal(SIGPIPE, SIG_IGN);
  vemra::FdOutputBuffer out_buffer(STDOUT_FILENO);
  vemra::FdOutputBuffer err_buffer(STDERR_FILENO);
  std::ostream out(&out_buffer);
  std::ostream err(&err_buffer);
  return vemra::RunCommandLine(std::vector<std::string>(argv + 1, argv + argc),
                               {STDIN_FILENO, out, err});
}
