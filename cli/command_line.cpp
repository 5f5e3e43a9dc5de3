#include "cli/command_line.h"

#include "base/conversions.h"
#include "base/failures.h"
#include "cli/option_table.h"

namespace vemra {

namespace {

// "; did you mean -tabwidth?" for a slip of a known name, or nothing. A
// lone "-" is how many programs are told to read standard input.
std::string Suggestion(const std::string& argument) {
  if (argument == "-") return "; did you mean -stdin=1?";
  std::string_view name = argument;
  name.remove_prefix(name.starts_with("--") ? 2 : 1);
  name = name.substr(0, name.find('='));
  if (name.empty()) return std::string();
  const std::string_view closest = ClosestOptionName(LowerAscii(name));
  return closest.empty() ? std::string() : "; did you mean -" + std::string(closest) + "?";
}

bool RefusesUnknownOptions(const RunSettings& settings) {
  return settings.Strict || settings.Stdin || settings.ManyFiles();
}

void Refuse(bool refused, const std::string& message) {
  if (refused) throw EArgumentError(message);
}

void CheckStandardInput(const RunSettings& settings) {
  if (settings.Stdin && !settings.Names.empty()) {
    const std::string& name = settings.Names.front();
    throw EArgumentError("File name \"" + name +
                         "\" given with -stdin=1, which formats standard input: to name the "
                         "text, use -filename=" +
                         name);
  }
  Refuse(settings.Stdin && settings.Files,
         "-files=1 cannot go with -stdin=1, which formats one text from standard input");
  Refuse(!settings.Stdin && !settings.FileName.empty(),
         "-filename names the text read from standard input: it goes only with -stdin=1");
}

void CheckStandardOutput(const RunSettings& settings) {
  if (!settings.Stdout) return;
  Refuse(settings.Review(),
         "-stdout=1 writes the formatted text, -check=1, -diff=1 and -list=1 write none: give one "
         "or the other");
  Refuse(settings.Files,
         "-stdout=1 writes the formatted text of one input: it cannot go with -files=1");
  Refuse(settings.Names.size() > 1,
         "-stdout=1 writes the result to standard output: an OUTPUT file name cannot go with it");
  Refuse(!settings.HasInput(), "No input: -stdout=1 needs a file name, or -stdin=1");
}

// A run told to work on the names given, given none, would do nothing and
// pass: a check of no file is no success.
void CheckNamesGiven(const RunSettings& settings) {
  if (settings.HasInput()) return;
  Refuse(settings.Files, "No input: -files=1 needs a file or folder name");
  const char* const review = settings.Check  ? "-check=1"
                             : settings.Diff ? "-diff=1"
                             : settings.List ? "-list=1"
                                             : nullptr;
  if (review != nullptr) {
    throw EArgumentError("No input: " + std::string(review) + " needs a file name, or -stdin=1");
  }
}

// A one-file run takes INPUT and OUTPUT. A third name once silently took
// the place of the second, which was then never read while the first
// file's result replaced the third: more names are refused before any file
// is touched.
void CheckNameCount(const RunSettings& settings) {
  Refuse(!settings.ManyFiles() && settings.Names.size() > 2,
         IntegerToText(static_cast<std::int32_t>(settings.Names.size())) +
             " file names given, but a run formats INPUT into OUTPUT: use -files=1 to format "
             "every named file in place");
}

}  // namespace

CommandLine ReadCommandLine(const std::vector<std::string>& arguments) {
  CommandLine line;
  for (const std::string& argument : arguments) {
    if (!line.failure) ++line.echoed;
    try {
      ApplyArgument(argument, line.settings);
    } catch (...) {
      if (!line.failure) line.failure = std::current_exception();
    }
  }
  return line;
}

void CheckArguments(const RunSettings& settings) {
  if (!settings.UnknownOptions.empty()) {
    const std::string& first = settings.UnknownOptions.front();
    Refuse(RefusesUnknownOptions(settings), "Unknown option \"" + first + "\"" + Suggestion(first));
  }
  CheckStandardInput(settings);
  CheckStandardOutput(settings);
  CheckNamesGiven(settings);
  CheckNameCount(settings);
}

std::vector<std::string> UnknownOptionWarnings(const RunSettings& settings) {
  std::vector<std::string> warnings;
  for (const std::string& argument : settings.UnknownOptions) {
    warnings.push_back("unknown option \"" + argument + "\" ignored" + Suggestion(argument));
  }
  return warnings;
}

}  // namespace vemra
