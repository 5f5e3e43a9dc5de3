// Where a run's text goes. Standard output carries the banner, the echo of
// the arguments and the progress lines, what was asked for (review verdicts,
// summaries, a result written to standard output) and, in the default run,
// failure lines. A silent run (-quiet, -stdout, -list) prints no banner,
// echo or progress, and sends its failures to standard error, so that
// standard output holds only what was asked for. A run whose standard output
// carries a patch or a list (-diff, -list) holds it there alone: the rest of
// its text goes to standard error, and -list prints no verdicts and no
// summary, the names standing for them. Warnings always go to standard
// error.
#pragma once

#include <ostream>
#include <streambuf>
#include <string>

#include "base/failures.h"
#include "cli/failure_text.h"
#include "cli/run_settings.h"

namespace vemra {

// The streams the program talks through; main() passes its own.
struct StandardStreams {
  int input_fd;       // standard input, read by -stdin
  std::ostream& out;  // standard output
  std::ostream& err;  // standard error
  // Whether out and err lead to a terminal, where -color=auto colours.
  bool out_is_terminal = false;
  bool err_is_terminal = false;
};

// "Stream write error. Cannot write standard output. No space left on
// device": out, standard output, could not take what was written to it.
EWriteError StandardOutputFailure(const std::ostream& out);

class Console {
 public:
  Console(const StandardStreams& streams, const RunSettings& settings);
  Console(const Console&) = delete;
  Console& operator=(const Console&) = delete;

  // Banner, echo, progress lines and the reports of files formatted; they
  // go nowhere in a silent run.
  std::ostream& Progress() { return silent_ ? nowhere_ : text_; }
  // What was asked for: help, version, a result written to standard output.
  std::ostream& Out() { return out_; }
  // Review verdicts and the summary of a many-files run.
  std::ostream& Reports() { return list_ ? nowhere_ : text_; }
  // A patch or a list of names, alone on standard output.
  std::ostream& Data() { return out_; }
  // The reports of failed files of a many-files run.
  std::ostream& Failures() { return silent_ ? err_ : text_; }
  // Whether what goes to Reports() and to Data() is coloured.
  bool ColoursReports() const { return colour_reports_; }
  bool ColoursData() const { return colour_data_; }

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

  // A stream buffer that passes every byte on to a stream, and never fails:
  // a standard error that cannot be written does not end a run whose
  // standard output carries a patch or a list, as it ends no other run.
  class PassOn final : public std::streambuf {
   public:
    explicit PassOn(std::ostream& to) : to_(to) {}

   protected:
    int_type overflow(int_type c) override {
      if (!traits_type::eq_int_type(c, traits_type::eof())) to_.put(traits_type::to_char_type(c));
      return traits_type::not_eof(c);
    }
    std::streamsize xsputn(const char* bytes, std::streamsize count) override {
      to_.write(bytes, count);
      return count;
    }
    int sync() override {
      to_.flush();
      return 0;
    }

   private:
    std::ostream& to_;
  };

  std::ostream& out_;
  std::ostream& err_;
  PassOn to_error_{err_};
  std::ostream error_text_{&to_error_};
  std::ostream& text_;  // the run's own text: error_text_ when out_ carries data
  const bool silent_;
  const bool list_;  // names stand for the verdicts and the summary
  const bool colour_reports_;
  const bool colour_data_;
  Discard discard_;
  std::ostream nowhere_{&discard_};
};

}  // namespace vemra
