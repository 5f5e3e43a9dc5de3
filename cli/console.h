// Where a run's text goes. Standard output carries the banner, the echo of
// the arguments and the progress lines, what was asked for (review verdicts,
// diffs, summaries, a result written to standard output) and, in the
// default run, failure lines. A silent run (-quiet, -stdout) prints no
// banner, echo or progress, and sends its failures to standard error, so
// that standard output holds only what was asked for. Warnings always go to
// standard error.
#pragma once

#include <ostream>
#include <streambuf>
#include <string>

#include "base/failures.h"
#include "cli/failure_text.h"

namespace vemra {

// The streams the program talks through; main() passes its own.
struct StandardStreams {
  int input_fd;       // standard input, read by -stdin
  std::ostream& out;  // standard output
  std::ostream& err;  // standard error
};

// "Stream write error. Cannot write standard output. No space left on
// device": out, standard output, could not take what was written to it.
EWriteError StandardOutputFailure(const std::ostream& out);

class Console {
 public:
  Console(const StandardStreams& streams, bool silent);
  Console(const Console&) = delete;
  Console& operator=(const Console&) = delete;

  // Banner, echo, progress lines and the reports of files formatted; they
  // go nowhere in a silent run.
  std::ostream& Progress() { return silent_ ? nowhere_ : out_; }
  // What was asked for.
  std::ostream& Out() { return out_; }
  // The reports of failed files of a many-files run.
  std::ostream& Failures() { return silent_ ? err_ : out_; }

  void Warn(const std::string& line);
  // The failure line that ends a run. A silent run gives it the name of the
  // input it concerns (none: a failure of the arguments), as its progress
  // line is not there to say so. When standard output cannot take the line
  // it goes to standard error.
  void Fail(const FailureText& failure, const std::string& input_name);
  // Writes out whatever waits in the buffers.
  void Flush();
  // The run's exit status, once everything is written out: a failure when
  // standard output could not take it all, with a line on standard error.
  int Finish(int status);

 private:
  // A stream buffer that takes every byte and keeps none.
  class Discard final : public std::streambuf {
   protected:
    int_type overflow(int_type c) override { return traits_type::not_eof(c); }
    std::streamsize xsputn(const char*, std::streamsize count) override { return count; }
  };

  std::ostream& out_;
  std::ostream& err_;
  const bool silent_;
  Discard discard_;
  std::ostream nowhere_{&discard_};
};

}  // namespace vemra
