#include "fuzz/format_invariants.h"

#include "base/failures.h"
#include "base/string_list.h"
#include "formatter/char_classes.h"
#include "formatter/format_source.h"
#include "formatter/next_token.h"

namespace vemra {
namespace {

std::vector<std::string_view> SplitAt(std::string_view text, std::string_view line_end) {
  std::vector<std::string_view> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    const std::size_t end = text.find(line_end, start);
    if (end == std::string_view::npos) {
      lines.push_back(text.substr(start));
      break;
    }
    lines.push_back(text.substr(start, end - start));
    start = end + line_end.size();
  }
  return lines;
}

std::string CheckWellFormed(std::string_view saved, const FormatOptions& options) {
  const std::string_view line_end = LineEndBytes(options.line_ending);
  if (!saved.empty() && !saved.ends_with(line_end)) {
    return "the last line does not end in the chosen line end";
  }
  const bool collapse_blank_lines = options.CollapseBlankLines;
  bool previous_empty = false;
  for (std::string_view line : SplitAt(saved, line_end)) {
    if (line.find_first_of("\r\n") != std::string_view::npos) return "a line holds a lone CR or LF";
    if (!line.empty() && (line.back() == ' ' || line.back() == '\t')) {
      return "a line ends in a blank or TAB";
    }
    if (collapse_blank_lines && previous_empty && line.empty())
      return "two empty lines stand together";
    previous_empty = line.empty();
  }
  return "";
}

// The text as a run loads it: every line followed by CR LF, whatever its
// line ends were.
std::string LoadedText(std::string_view file_bytes) {
  TStringList loaded;
  loaded.AssignText(file_bytes);
  return loaded.ReadText();
}

}  // namespace

bool MarkerAt(std::string_view text, std::size_t index) {
  if (index + 3 > text.size() || text[index] != '#') return false;
  if ((text[index + 1] | 0x20) != 'i' || (text[index + 2] | 0x20) != 'd') return false;
  return index + 3 == text.size() || !IsInClass(text[index + 3], kDirectiveChar);
}

std::string FormatFileBytes(std::string_view file_bytes, const FormatOptions& options) {
  TStringList lines;
  lines.AssignText(file_bytes);
  FormatSource(lines, options.TabWidth, options.UseTabs, options.CollapseBlankLines,
               options.line_ending);
  return lines.ReadText();
}

std::vector<std::string> MeaningfulTokens(std::string_view text) {
  std::vector<std::string> result;
  for (std::string_view token : CutTokens(text)) {
    std::string kept;
    for (char c : token) {
      if (static_cast<unsigned char>(c) > 0x20) kept += c;
    }
    if (!kept.empty()) result.push_back(std::move(kept));
  }
  return result;
}

std::string CheckFormatInvariants(std::string_view file_bytes, const FormatOptions& options) {
  const std::string source = LoadedText(file_bytes);
  std::string once;
  try {
    once = FormatFileBytes(file_bytes, options);
  } catch (const EFormatNotSettled& failure) {
    return "the text did not settle: " + failure.Message();
  }

  if (MeaningfulTokens(source) != MeaningfulTokens(LoadedText(once)))
    return "the tokens of the program changed";
  if (std::string fault = CheckWellFormed(once, options); !fault.empty()) {
    return fault;
  }
  if (FormatFileBytes(once, options) != once) return "formatting the result again changed it";
  // The first pass removes everything that can make a layout differ on the
  // next pass: a second pass never needs a third.
  const FormatPassResult first = FormatPass(source, options);
  if (FormatPass(first.lines.text, options).next_pass_may_differ) {
    return "a second pass noted that a third may differ";
  }
  return "";
}

}  // namespace vemra
