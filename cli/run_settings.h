// The values one run of the program works with, and how each command-line
// argument sets them.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace vemra {

// What a command line asks for besides a run: "help" and "version" end the
// program before any file is read, whatever else the line holds.
enum class Request { kRun, kHelp, kVersion };

// "lineends": what every line of the result ends in. kKeep takes the line
// end of the input's first line (KeptLineEnding).
enum class LineEndChoice { kCrLf, kLf, kKeep };

// "color": when diffs and verdicts are coloured. kAuto colours only what
// goes to a terminal, while standard output is one and the user has not
// asked for no colour (NO_COLOR).
enum class ColourChoice { kAuto, kAlways, kNever };

// "lines": one range, "A:B".
struct LineRange {
  std::int32_t first = 0;
  std::int32_t last = 0;
};

struct RunSettings {
  bool UseTabs = false;         // "tabs": keep TAB characters instead of blanks
  std::int32_t TabWidth = 2;    // "tabwidth": blanks per TAB when they are expanded
  bool KeepExtraLines = false;  // "extralines": keep runs of empty lines
  LineEndChoice LineEnds = LineEndChoice::kCrLf;  // "lineends"
  bool EditorConfig = true;  // "editorconfig": take defaults from the project's settings files
  bool Check = false;        // "check": report whether formatting would change the file
  bool Diff = false;         // "diff": as "check", and show the changes as a unified diff
  bool Files = false;        // "files": every file name is an input, saved over itself
  // "ext": the extensions, lower case and without the dot, of the files a
  // walk through a named folder takes.
  std::vector<std::string> Extensions{"vem"};
  bool IgnoreFiles = true;  // "ignorefiles": a walk in a git work tree leaves out what git ignores
  // "jobs": how many files are worked on at once; 0 (not given) stands for
  // as many as the processors the program may use.
  std::int32_t Jobs = 0;
  bool Stdin = false;    // "stdin": the text comes from standard input
  bool Stdout = false;   // "stdout": the result goes to standard output
  std::string FileName;  // "filename": the name the text from standard input stands for
  bool Quiet = false;    // "quiet": only what was asked for on standard output
  bool Strict = false;   // "strict": an unknown option fails the run
  bool List = false;     // "list": print the names of the inputs formatting would change
  ColourChoice Colour = ColourChoice::kAuto;  // "color": colour in diffs and verdicts
  bool OptionsEnded = false;  // "--" was given: every argument after it is a file name
  bool Lsp = false;           // "lsp": serve editors as a language server on the standard streams
  // "lines": the lines of the input that may change, 1-based and inclusive;
  // empty: all of them.
  std::vector<LineRange> Lines;
  Request request = Request::kRun;  // "help", "version": the first of them given
  // The file names as given: the files are opened through them, so that the
  // file system resolves their links and ".."; messages show ExpandPath.
  std::string InputPath;           // first file name; empty: none given
  std::string OutputPath;          // last of the later file names; empty: write over the input
  std::vector<std::string> Names;  // every file name, in the order given
  // Options whose names the program does not know, as typed.
  std::vector<std::string> UnknownOptions;
  // The names of the options the command line set, so that a project's
  // settings file gives only the values the command line leaves open.
  std::vector<std::string_view> GivenOptions;

  // Whether the file names are inputs, each reported on its own line: with
  // "files", and in a review of more than one name.
  bool ManyFiles() const { return Files || (Review() && Names.size() > 1); }
  bool Review() const { return Check || Diff || List; }
  // Standard output carries a patch or a list of names, and nothing else:
  // what else the run prints goes to standard error.
  bool DataOnStandardOutput() const { return Diff || List; }
  bool HasInput() const { return Stdin || !Names.empty(); }
  // Whether the command line set the option of that name (lower case).
  bool Given(std::string_view name) const;
  // Text read from standard input is formatted to standard output, as there
  // is no file to save it in.
  bool WritesStandardOutput() const { return Stdout || (Stdin && !Review()); }
  // A silent run prints no banner, echo or progress lines, and its failures
  // go to standard error, keeping standard output for what was asked for.
  bool Silent() const { return Quiet || Lsp || WritesStandardOutput() || List; }
  // The name messages give the one input: the file name as given, or the
  // name the text from standard input stands for.
  std::string InputName() const;
};

// Takes one argument: "-name=value" or "--name=value" sets the option of
// that name (letter case ignored; an unknown name is kept in
// UnknownOptions), "--name" alone sets a boolean option to true, "--" ends
// the options, and anything else is a file name, as is every argument after
// "--". Throws EConvertError when an option value does not convert, and for
// a number of jobs below 1, an empty list of extensions or an empty file
// name; the message of an option given no value names the option.
void ApplyArgument(const std::string& argument, RunSettings& settings);

}  // namespace vemra
