#include "cli/console.h"

#include "base/fd_output_buffer.h"
#include "base/process_setup.h"
#include "base/system_error_text.h"
#include "base/terminal.h"
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

namespace {

// Whether text for a stream is coloured. Under "auto" a stream gets colour
// only while it and standard output lead to a terminal that shows it, and
// the user has not asked for none; a pipe or a file never does. "always"
// colours wherever the text goes, and has a terminal show the colours.
bool Coloured(ColourChoice choice, const StandardStreams& streams, bool to_error) {
  if (choice == ColourChoice::kNever) return false;
  const bool own_terminal = to_error ? streams.err_is_terminal : streams.out_is_terminal;
  const bool terminals = own_terminal && streams.out_is_terminal;
  if (choice == ColourChoice::kAuto && (!terminals || NoColourAsked())) return false;
  const bool shown = own_terminal && ShowColourEscapes(to_error ? kStandardError : kStandardOutput);
  return choice == ColourChoice::kAlways || shown;
}

}  // namespace

Console::Console(const StandardStreams& streams, const RunSettings& settings)
    : out_(streams.out),
      err_(streams.err),
      text_(settings.DataOnStandardOutput() ? error_text_ : streams.out),
      silent_(settings.Silent()),
      list_(settings.List),
      colour_reports_(Coloured(settings.Colour, streams, settings.DataOnStandardOutput())),
      colour_data_(Coloured(settings.Colour, streams, false)) {}

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
