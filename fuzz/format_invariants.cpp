#include "fuzz/format_invariants.h"

#include <algorithm>

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

// The words of a line comment, without the "//" and the blanks and TABs
// around them, in lower case.
std::string CommentWords(std::string_view comment) {
  comment.remove_prefix(2);
  const std::size_t first = comment.find_first_not_of(" \t");
  if (first == std::string_view::npos) return "";
  comment = comment.substr(first, comment.find_last_not_of(" \t") + 1 - first);
  std::string words;
  for (char c : comment) words += c >= 'A' && c <= 'Z' ? static_cast<char>(c | 0x20) : c;
  return words;
}

// Which lines of a saved text, given as a run loads it (every line followed
// by CR LF), stand in a region the formatter leaves as it stood: after the
// line of a "// vemrafmt: off" comment, up to the line before the next
// "// vemrafmt: on", or to the end.
std::vector<bool> LinesInRegions(std::string_view joined) {
  std::vector<std::size_t> line_starts = {0};
  for (std::size_t at = 0; at < joined.size(); ++at) {
    if (joined[at] == '\n' && at + 1 < joined.size()) line_starts.push_back(at + 1);
  }
  std::vector<bool> in_region(joined.empty() ? 0 : line_starts.size(), false);
  constexpr std::size_t kNoRegion = static_cast<std::size_t>(-1);
  std::size_t off_line = kNoRegion;  // the line of the open region's "off"
  for (std::string_view token : CutTokens(joined)) {
    if (!token.starts_with("//")) continue;
    const auto at = static_cast<std::size_t>(token.data() - joined.data());
    const std::size_t line =
        static_cast<std::size_t>(std::upper_bound(line_starts.begin(), line_starts.end(), at) -
                                 line_starts.begin()) -
        1;
    const std::string words = CommentWords(token);
    if (off_line == kNoRegion && words == "vemrafmt: off") {
      off_line = line;
    } else if (off_line != kNoRegion && words == "vemrafmt: on") {
      std::fill(in_region.begin() + static_cast<std::ptrdiff_t>(off_line + 1),
                in_region.begin() + static_cast<std::ptrdiff_t>(line), true);
      off_line = kNoRegion;
    }
  }
  if (off_line != kNoRegion) {
    std::fill(in_region.begin() + static_cast<std::ptrdiff_t>(off_line + 1), in_region.end(), true);
  }
  return in_region;
}

// Every line ends in the chosen line end; outside the regions, no line ends
// in a blank or TAB, and without -extralines no two empty lines stand
// together.
std::string CheckWellFormed(std::string_view saved, const std::vector<bool>& in_region,
                            const FormatOptions& options) {
  const std::string_view line_end = LineEndBytes(options.line_ending);
  if (!saved.empty() && !saved.ends_with(line_end)) {
    return "the last line does not end in the chosen line end";
  }
  const std::vector<std::string_view> lines = SplitAt(saved, line_end);
  bool previous_empty = false;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const std::string_view line = lines[i];
    if (line.find_first_of("\r\n") != std::string_view::npos) return "a line holds a lone CR or LF";
    if (i < in_region.size() && in_region[i]) {
      previous_empty = false;
      continue;
    }
    if (!line.empty() && (line.back() == ' ' || line.back() == '\t')) {
      return "a line ends in a blank or TAB";
    }
    if (options.CollapseBlankLines && previous_empty && line.empty())
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

  const std::string once_loaded = LoadedText(once);
  if (MeaningfulTokens(source) != MeaningfulTokens(once_loaded))
    return "the tokens of the program changed";
  if (std::string fault = CheckWellFormed(once, LinesInRegions(once_loaded), options);
      !fault.empty()) {
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
