#include "cli/driver.h"

#include <exception>

#include "base/conversions.h"
#include "base/decimal_separator.h"
#include "base/failures.h"
#include "cli/failure_text.h"
#include "cli/many_files_run.h"
#include "cli/one_file_run.h"
#include "cli/review_run.h"
#include "cli/run_settings.h"

namespace vemra {

namespace {

void PrintBanner(std::ostream& console) {
  console << "Vemra Code Formatter\n"
          << "Written by the Vemra Code Formatter developers\n"
          << "https://vemra.org/formatter\n"
          << "\n";
}

// Echoes and applies every argument, in order; a value that does not convert
// ends the run before later arguments are echoed.
void ReadArguments(const std::vector<std::string>& arguments, std::ostream& console,
                   RunSettings& settings) {
  std::int32_t number = 0;
  for (const std::string& argument : arguments) {
    console << IntegerToText(++number) << " : " << argument << "\n";
    ApplyArgument(argument, settings);
  }
}

// A one-file run takes INPUT and OUTPUT. A third name once silently took
// the place of the second, which was then never read while the first
// file's result replaced the third: more names are refused before any file
// is touched.
void RefuseExtraNames(const RunSettings& settings) {
  if (settings.Names.size() <= 2) return;
  throw EArgumentError(IntegerToText(static_cast<std::int32_t>(settings.Names.size())) +
                       " file names given, but a run formats INPUT into OUTPUT: "
                       "use -files=1 to format every named file in place");
}

}  // namespace

int RunCommandLine(const std::vector<std::string>& arguments, std::ostream& console) {
  DecimalSeparator();  // the user's locale is read once, before anything else
  try {
    PrintBanner(console);
    RunSettings settings;
    ReadArguments(arguments, console, settings);
    if (settings.Names.empty()) return kExitSuccess;
    if (settings.ManyFiles()) return RunManyFiles(console, settings);
    RefuseExtraNames(settings);
    if (settings.Review()) return ReviewFile(console, settings);
    FormatOneFile(console, settings);
    return kExitSuccess;
  } catch (...) {
    console << FailureOf(std::current_exception()).Line() << "\n" << std::flush;
    return kExitFailure;
  }
}

}  // namespace vemra
