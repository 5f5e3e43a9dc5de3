#include "cli/console.h"

#include "base/fd_output_buffer.h"
#include "base/system_error_text.h"
#include "cli/driver.h"
#include "textutil/quote_name.h"

namespace vemra {

EWriteError StandardOutputFailure(const std::ostream& out) {
  // Only a stream over the descriptor knows the system's reason.
  const auto* const buffer = dynamic_cast<const FdOutputBuffer*>(out.rdbuf());
  const int error_code =
      buffer != nullptr && buffer->Error() != 0 ? buffer->Error() : InputOutputErrorCode();
  return EWriteError("Stream write error. Cannot write standard output. " +
                     SystemErrorText(error_code));
}

Console::Console(const StandardStreams& streams, bool silent)
    : out_(streams.out), err_(streams.err), silent_(silent) {}

void Console::Warn(const std::string& line) {
  err_ << line << '\n' << std::flush;
}

void Console::Fail(const FailureText& failure, const std::string& input_name) {
  std::string line = failure.Line() + "\n";
  if (silent_ && !input_name.empty()) line = QuoteName(input_name) + ": " + line;
  std::ostream& stream = Failures();
  stream << line << std::flush;
  if (!stream && &stream == &out_) err_ << line << std::flush;
}

void Console::Flush() {
  out_.flush();
  err_.flush();
}

int Console::Finish(int status) {
  Flush();
  if (out_) return status;
  // A failure reported already has had its line; a run that seemed to
  // succeed gets one now.
  if (status != kExitFailure) {
    const EWriteError failure = StandardOutputFailure(out_);
    err_ << failure.ClassName() << ": " << failure.Message() << '\n' << std::flush;
  }
  return kExitFailure;
}

}  // namespace vemra
