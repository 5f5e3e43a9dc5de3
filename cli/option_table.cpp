#include "cli/option_table.h"

#include <array>

#include "base/conversions.h"
#include "base/failures.h"
#include "textutil/edit_distance.h"

namespace vemra {

namespace {

std::int32_t ParseJobs(std::string_view value) {
  const std::int32_t jobs = ParseInteger(value);
  if (jobs < 1) {
    throw EConvertError("'" + std::string(value) + "' is not a valid number of jobs (1 or more)");
  }
  return jobs;
}

// "vem,VM,.src": lower-cased, a leading dot dropped, empty items skipped.
std::vector<std::string> ParseExtensions(std::string_view value) {
  std::vector<std::string> extensions;
  std::size_t start = 0;
  while (start <= value.size()) {
    std::size_t comma = value.find(',', start);
    if (comma == std::string_view::npos) comma = value.size();
    std::string_view item = value.substr(start, comma - start);
    if (!item.empty() && item.front() == '.') item.remove_prefix(1);
    if (!item.empty()) extensions.push_back(LowerAscii(item));
    start = comma + 1;
  }
  if (extensions.empty()) {
    throw EConvertError("'" + std::string(value) + "' is not a valid list of extensions");
  }
  return extensions;
}

LineEndChoice ParseLineEnds(std::string_view value) {
  const std::string lower = LowerAscii(value);
  if (lower == "crlf") return LineEndChoice::kCrLf;
  if (lower == "lf") return LineEndChoice::kLf;
  if (lower == "keep") return LineEndChoice::kKeep;
  throw EConvertError("'" + std::string(value) + "' is not a valid line end (crlf, lf or keep)");
}

ColourChoice ParseColour(std::string_view value) {
  const std::string lower = LowerAscii(value);
  if (lower == "auto") return ColourChoice::kAuto;
  if (lower == "always") return ColourChoice::kAlways;
  if (lower == "never") return ColourChoice::kNever;
  throw EConvertError("'" + std::string(value) +
                      "' is not a valid colour choice (auto, always or never)");
}

std::string ParseFileName(std::string_view value) {
  if (value.empty()) throw EConvertError("'' is not a valid file name");
  return std::string(value);
}

// "3:7,12:12": 1-based inclusive ranges of lines, each from a line to the
// same or a later one.
std::vector<LineRange> ParseLineRanges(std::string_view value) {
  std::vector<LineRange> ranges;
  const auto fail = [value]() {
    return EConvertError("'" + std::string(value) +
                         "' is not a valid list of line ranges (A:B,C:D)");
  };
  std::size_t start = 0;
  while (start <= value.size()) {
    std::size_t comma = value.find(',', start);
    if (comma == std::string_view::npos) comma = value.size();
    const std::string_view item = value.substr(start, comma - start);
    const std::size_t colon = item.find(':');
    if (colon == std::string_view::npos) throw fail();
    LineRange range;
    try {
      range = {ParseInteger(item.substr(0, colon)), ParseInteger(item.substr(colon + 1))};
    } catch (const EConvertError&) {
      throw fail();
    }
    if (range.first < 1 || range.last < range.first) throw fail();
    ranges.push_back(range);
    start = comma + 1;
  }
  return ranges;
}

// Help and version take no value; whatever follows "=" is passed over. The
// first of them on the line is the one done.
void Ask(Request request, RunSettings& settings) {
  if (settings.request == Request::kRun) settings.request = request;
}

void AskForHelp(std::string_view, RunSettings& settings) {
  Ask(Request::kHelp, settings);
}

constexpr std::array kOptions = {
    OptionSpec{"tabs", "-tabs=B", "False",
               "indent with TABs, one per level, and leave TABs as they are, instead of blanks",
               [](std::string_view v, RunSettings& s) { s.UseTabs = ParseBoolean(v); }},
    OptionSpec{"tabwidth", "-tabwidth=N", "2",
               "blanks that stand for one TAB, one indentation step; 0 or less removes TABs",
               [](std::string_view v, RunSettings& s) { s.TabWidth = ParseInteger(v); }},
    OptionSpec{"extralines", "-extralines=B", "False",
               "keep runs of empty lines instead of reducing each to one",
               [](std::string_view v, RunSettings& s) { s.KeepExtraLines = ParseBoolean(v); }},
    OptionSpec{"lineends", "-lineends=END", "crlf",
               "what every line of the result ends in: crlf, lf, or keep: that of the "
               "input's first line",
               [](std::string_view v, RunSettings& s) { s.LineEnds = ParseLineEnds(v); }},
    OptionSpec{"editorconfig", "-editorconfig=B", "True",
               "take tabs, tabwidth, extralines and lineends from the project's .editorconfig "
               "files, unless given, and leave out the files they skip",
               [](std::string_view v, RunSettings& s) { s.EditorConfig = ParseBoolean(v); }},
    OptionSpec{"check", "-check=B", "False",
               "save nothing; report whether formatting would change each input",
               [](std::string_view v, RunSettings& s) { s.Check = ParseBoolean(v); }},
    OptionSpec{"diff", "-diff=B", "False",
               "as -check, and print the changes as a patch; reports go to standard error",
               [](std::string_view v, RunSettings& s) { s.Diff = ParseBoolean(v); }},
    OptionSpec{"list", "-list=B", "False",
               "save nothing; print only the names of the inputs formatting would change",
               [](std::string_view v, RunSettings& s) { s.List = ParseBoolean(v); }},
    OptionSpec{"color", "-color=WHEN", "auto",
               "colour diffs and verdicts: always, never, or auto: on a terminal, without "
               "NO_COLOR",
               [](std::string_view v, RunSettings& s) { s.Colour = ParseColour(v); }},
    OptionSpec{"files", "-files=B", "False",
               "every name is an input, saved over itself; folders are walked",
               [](std::string_view v, RunSettings& s) { s.Files = ParseBoolean(v); }},
    OptionSpec{"ext", "-ext=LIST", "vem",
               "the extensions a folder walk takes, comma-separated, without the dot",
               [](std::string_view v, RunSettings& s) { s.Extensions = ParseExtensions(v); }},
    OptionSpec{"ignorefiles", "-ignorefiles=B", "True",
               "a walk in a git work tree leaves out the files git ignores",
               [](std::string_view v, RunSettings& s) { s.IgnoreFiles = ParseBoolean(v); }},
    OptionSpec{"jobs", "-jobs=N", "the number of processors",
               "how many files are formatted at once",
               [](std::string_view v, RunSettings& s) { s.Jobs = ParseJobs(v); }},
    OptionSpec{"stdin", "-stdin=B", "False",
               "format the text on standard input; the result goes to standard output",
               [](std::string_view v, RunSettings& s) { s.Stdin = ParseBoolean(v); }},
    OptionSpec{"stdout", "-stdout=B", "False",
               "write the result to standard output and nothing else; INPUT stays as it is",
               [](std::string_view v, RunSettings& s) { s.Stdout = ParseBoolean(v); }},
    OptionSpec{"filename", "-filename=PATH", "standard input",
               "the name the text read with -stdin stands for: in messages, reports and "
               "patches, and for its .editorconfig settings",
               [](std::string_view v, RunSettings& s) { s.FileName = ParseFileName(v); }},
    OptionSpec{
        "quiet", "-quiet=B", "False",
        "print only what was asked for: verdicts, diffs, summaries; failures go to standard error",
        [](std::string_view v, RunSettings& s) { s.Quiet = ParseBoolean(v); }},
    OptionSpec{"strict", "-strict=B", "False", "fail on an unknown option instead of warning",
               [](std::string_view v, RunSettings& s) { s.Strict = ParseBoolean(v); }},
    OptionSpec{"lsp", "-lsp=B", "False",
               "serve editors as a language server on standard input and output",
               [](std::string_view v, RunSettings& s) { s.Lsp = ParseBoolean(v); }},
    OptionSpec{"lines", "-lines=A:B,...", "all lines",
               "change only these lines of the one input (1-based, inclusive)",
               [](std::string_view v, RunSettings& s) { s.Lines = ParseLineRanges(v); }},
    OptionSpec{"help", "-help, -h, -?", "", "print this text and end", AskForHelp},
    OptionSpec{"h", "", "", "", AskForHelp},
    OptionSpec{"?", "", "", "", AskForHelp},
    OptionSpec{"version", "-version", "", "print the name and version of the program and end",
               [](std::string_view, RunSettings& s) { Ask(Request::kVersion, s); }},
};

// A name this far from a listed one, or nearer, is taken for a slip of that
// one; short names allow fewer slips, so that "-x" is not read as "-ext".
std::size_t SlipsAllowed(std::string_view name) {
  return name.size() <= 4 ? 1 : 2;
}

}  // namespace

std::span<const OptionSpec> Options() {
  return kOptions;
}

bool TakesBoolean(const OptionSpec& option) {
  return option.synopsis.ends_with("=B");
}

const OptionSpec* FindOption(std::string_view name) {
  for (const OptionSpec& option : kOptions) {
    if (option.name == name) return &option;
  }
  return nullptr;
}

std::string_view ClosestOptionName(std::string_view name) {
  std::string_view closest;
  std::size_t best = SlipsAllowed(name) + 1;
  for (const OptionSpec& option : kOptions) {
    if (option.synopsis.empty()) continue;
    const std::size_t distance = EditDistance(name, option.name);
    if (distance < best) {
      best = distance;
      closest = option.name;
    }
  }
  return closest;
}

}  // namespace vemra
