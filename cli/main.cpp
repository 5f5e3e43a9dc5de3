#include <ostream>

#include "base/fd_output_buffer.h"
#include "base/process_setup.h"
#include "base/terminal.h"
#include "cli/driver.h"

int main(int argc, char** argv) {
  vemra::PrepareStandardStreams();
  vemra::FdOutputBuffer out_buffer(vemra::kStandardOutput);
  vemra::FdOutputBuffer err_buffer(vemra::kStandardError);
  std::ostream out(&out_buffer);
  std::ostream err(&err_buffer);
  return vemra::RunCommandLine(
      vemra::ProgramArguments(argc, argv),
      {vemra::kStandardInput, out, err, vemra::IsTerminal(vemra::kStandardOutput),
       vemra::IsTerminal(vemra::kStandardError)});
}
