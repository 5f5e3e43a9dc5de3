#include "cli/driver.h"

#include <new>

#include "base/conversions.h"
#include "base/decimal_separator.h"
#include "base/expand_path.h"
#include "base/failures.h"
#include "base/string_list.h"
#include "cli/review_run.h"
#include "cli/run_progress.h"
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

// Load, format, save. The list lives only for this call. The files are
// opened through their names as given; the console shows their full paths.
void FormatFile(std::ostream& console, const RunSettings& settings) {
  const std::string& output =
      settings.OutputPath.empty() ? settings.InputPath : settings.OutputPath;
  TStringList lines;
  BeginStep(console, "Loading source file " + ExpandPath(settings.InputPath) + "...");
  lines.LoadFile(settings.InputPath);
  EndStep(console);
  FormatWithProgress(console, settings, lines);
  BeginStep(console, "Saving output file to " + ExpandPath(output) + "...");
  lines.SaveFile(output);
  EndStep(console);
}

int ReportFailure(std::ostream& console, const std::string& class_name,
                  const std::string& message) {
  console << class_name << ": " << message << "\n" << std::flush;
  return kExitFailure;
}

}  // namespace

int RunCommandLine(const std::vector<std::string>& arguments, std::ostream& console) {
  DecimalSeparator();  // the user's locale is read once, before anything else
  try {
    PrintBanner(console);
    RunSettings settings;
    ReadArguments(arguments, console, settings);
    if (settings.InputPath.empty()) return kExitSuccess;
    // A review never writes a file, so an output name is not even looked at.
    if (settings.Check || settings.Diff) return ReviewFile(console, settings);
    FormatFile(console, settings);
    return kExitSuccess;
  } catch (const Exception& failure) {
    return ReportFailure(console, failure.ClassName(), failure.Message());
  } catch (const std::bad_alloc&) {
    return ReportFailure(console, "EOutOfMemory", "Out of memory");
  } catch (const std::exception& failure) {
    // Not expected from the program's own code; still one line and a failure
    // status rather than an abort.
    return ReportFailure(console, "Exception", failure.what());
  }
}

}  // namespace vemra
