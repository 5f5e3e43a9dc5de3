#include "cli/usage_text.h"

#include <algorithm>
#include <string_view>
#include <vector>

#include "cli/option_table.h"

#ifndef VEMRA_VERSION
#error "VEMRA_VERSION is set by the build, from the version of the project"
#endif

namespace vemra {

namespace {

constexpr std::string_view kSynopsis =
    "Usage: vemrafmt [options] INPUT [OUTPUT]\n"
    "       vemrafmt -files=1 [options] NAME...\n"
    "       vemrafmt -check=1 [options] NAME...\n"
    "       vemrafmt -diff=1 [options] NAME... > PATCH\n"
    "       vemrafmt -list=1 [options] NAME...\n"
    "       vemrafmt -stdin=1 [-filename=PATH] [options] < INPUT > RESULT\n"
    "       vemrafmt -lsp=1 [options]\n"
    "\n"
    "Re-indents and re-spaces Vemra source files. The result replaces INPUT, or\n"
    "goes to OUTPUT; a file that is formatted already is not rewritten.\n"
    "Lines between // vemrafmt: off and // vemrafmt: on comments are kept as is.\n"
    "\n"
    "Options are written -name=value or --name=value, in any letter case and\n"
    "anywhere on the line; a later one wins. --name alone sets a B option to\n"
    "True; -- ends the options, so that every argument after it is a name. An\n"
    "unknown option is passed over with a warning (a failure with -strict=1,\n"
    "-stdin=1 or many files).\n"
    "B: True or False in any letter case, or a number (0 is false).\n"
    "N: a whole number, decimal or hexadecimal ($1F, 0x1F).\n"
    "\n"
    "Options:\n";

constexpr std::string_view kRest =
    "\n"
    "Exit status:\n"
    "  0  done: every input formatted and saved, or formatted already, or no\n"
    "     input given; with -check, -diff or -list: every input is formatted\n"
    "     already\n"
    "  1  with -check, -diff or -list: formatting would change an input, nothing\n"
    "     failed\n"
    "  2  a failure: an option or file name refused, an input that cannot be\n"
    "     read, a result that cannot be written (standard output included)\n"
    "\n"
    "Examples:\n"
    "  An editor formats a buffer, named for the messages and the settings:\n"
    "    vemrafmt -stdin=1 -stdout=1 -filename=src/main.vem < buffer > formatted\n"
    "  A CI job fails when any file of a folder is not formatted:\n"
    "    vemrafmt -check=1 -files=1 -quiet=1 src\n"
    "  What formatting would change, as a patch that git apply takes:\n"
    "    vemrafmt -diff=1 -files=1 src > format.patch\n"
    "  A code base is formatted in place, four files at once:\n"
    "    vemrafmt -files=1 -jobs=4 src\n";

constexpr std::size_t kLineWidth = 80;

// Where the meanings start: after the longest synopsis and two blanks.
std::size_t MeaningColumn() {
  std::size_t widest = 0;
  for (const OptionSpec& option : Options()) widest = std::max(widest, option.synopsis.size());
  return 2 + widest + 2;
}

// The words of an option's meaning, its default kept together as one.
std::vector<std::string> WordsOf(const OptionSpec& option) {
  std::vector<std::string> words;
  std::string_view meaning = option.meaning;
  while (!meaning.empty()) {
    const std::size_t end = std::min(meaning.find(' '), meaning.size());
    words.emplace_back(meaning.substr(0, end));
    meaning.remove_prefix(std::min(end + 1, meaning.size()));
  }
  if (!option.fallback.empty()) words.push_back("(default: " + std::string(option.fallback) + ")");
  return words;
}

// Appends words to text, whose last line so far is line_length long,
// breaking lines before kLineWidth and going on at column.
void AppendWrapped(std::string& text, std::size_t line_length,
                   const std::vector<std::string>& words, std::size_t column) {
  for (const std::string& word : words) {
    if (line_length > column && line_length + 1 + word.size() > kLineWidth) {
      text += '\n';
      line_length = 0;
    }
    const std::size_t gap = line_length < column ? column - line_length : 1;
    text.append(gap, ' ');
    text += word;
    line_length += gap + word.size();
  }
  text += '\n';
}

}  // namespace

std::string UsageText() {
  std::string text(kSynopsis);
  const std::size_t column = MeaningColumn();
  for (const OptionSpec& option : Options()) {
    if (option.synopsis.empty()) continue;
    text += "  ";
    text += option.synopsis;
    AppendWrapped(text, 2 + option.synopsis.size(), WordsOf(option), column);
  }
  text += kRest;
  return text;
}

std::string VersionText() {
  return std::string("vemrafmt (Vemra Code Formatter) ") + VEMRA_VERSION + "\n";
}

}  // namespace vemra
