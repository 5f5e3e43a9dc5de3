#include "cli/driver.h"

#include <exception>

#include "base/conversions.h"
#include "base/decimal_separator.h"
#include "cli/command_line.h"
#include "cli/failure_text.h"
#include "cli/language_server_run.h"
#include "cli/line_selection.h"
#include "cli/many_files_run.h"
#include "cli/one_input_run.h"
#include "cli/usage_text.h"
#include "textutil/quote_name.h"

namespace vemra {

namespace {

void PrintBanner(std::ostream& console) {
  console << "Vemra Code Formatter\n"
          << "Written by the Vemra Code Formatter developers\n"
          << "https://vemra.org/formatter\n"
          << "\n";
}

// The echo lines of the arguments read, numbered from 1; an argument with
// control bytes is quoted, as file names are, to stay on its line.
void EchoArguments(std::ostream& console, const std::vector<std::string>& arguments,
                   std::size_t count) {
  for (std::size_t i = 0; i < count; ++i) {
    console << IntegerToText(static_cast<std::int32_t>(i + 1)) << " : " << QuoteName(arguments[i])
            << "\n";
  }
}

int PrintRequested(Console& console, Request request) {
  console.Out() << (request == Request::kHelp ? UsageText() : VersionText());
  return kExitSuccess;
}

// Banner and echo, then the checks of the whole line, then the run its
// mode calls for. A failure ends the run with its line and status 2.
int Run(Console& console, const std::vector<std::string>& arguments, const CommandLine& line,
        int input_fd) {
  const RunSettings& settings = line.settings;
  std::string input_name;  // set once the run works on its one input
  try {
    PrintBanner(console.Progress());
    EchoArguments(console.Progress(), arguments, line.echoed);
    if (line.failure) std::rethrow_exception(line.failure);
    CheckArguments(settings);
    CheckLineSelection(settings);
    CheckLanguageServerMode(settings);
    for (const std::string& warning : UnknownOptionWarnings(settings)) console.Warn(warning);
    if (settings.Lsp) return RunLanguageServerMode(console, settings, input_fd);
    if (!settings.HasInput()) {
      console.Warn("No input file given; \"vemrafmt -help\" tells how to use the program");
      return kExitSuccess;
    }
    if (settings.ManyFiles()) return RunManyFiles(console, settings);
    input_name = settings.InputName();
    return RunOneInput(console, settings, input_fd);
  } catch (...) {
    console.Fail(FailureOf(std::current_exception()), input_name);
    return kExitFailure;
  }
}

}  // namespace

int RunCommandLine(const std::vector<std::string>& arguments, const StandardStreams& streams) {
  DecimalSeparator();  // the user's locale is read once, before anything else
  const CommandLine line = ReadCommandLine(arguments);
  Console console(streams, line.settings);
  if (line.settings.request != Request::kRun) {
    return console.Finish(PrintRequested(console, line.settings.request));
  }
  return console.Finish(Run(console, arguments, line, streams.input_fd));
}

}  // namespace vemra
