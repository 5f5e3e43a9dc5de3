#include "fuzz/format_invariants.h"

#include <algorithm>

#include "base/string_list.h"
#include "formatter/char_classes.h"
#include "formatter/format_source.h"
#include "formatter/next_token.h"

namespace vemra {
namespace {

// A CR or LF token, or a comment, literal or brace group that holds one.
bool HoldsLineBreak(std::string_view token) {
  return token.find_first_of("\r\n") != std::string_view::npos;
}

std::size_t SkipBlanks(std::string_view text, std::size_t pos) {
  while (pos < text.size() && (text[pos] == ' ' || text[pos] == '\t')) ++pos;
  return pos;
}

// Scans the tokens that the markers starting at pos remove; returns whether
// one of them is a line break, and moves pos behind the last one.
bool RemovedTokensHoldLineBreak(std::string_view text, std::size_t& pos) {
  const auto length = static_cast<std::int32_t>(text.size());
  std::size_t pending = 0;
  for (;;) {
    pos = SkipBlanks(text, pos);
    if (pos >= text.size()) return false;
    if (MarkerAt(text, pos)) {
      ++pending;
      pos += 3;
      continue;
    }
    if (pending == 0) return false;
    auto source_pos = static_cast<std::int32_t>(pos + 1);
    const std::string_view removed = NextToken(text, source_pos, length);
    pos = static_cast<std::size_t>(source_pos - 1);
    if (HoldsLineBreak(removed)) return true;
    --pending;
  }
}

std::vector<std::string_view> SplitAtCrLf(std::string_view text) {
  std::vector<std::string_view> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    const std::size_t end = text.find("\r\n", start);
    if (end == std::string_view::npos) {
      lines.push_back(text.substr(start));
      break;
    }
    lines.push_back(text.substr(start, end - start));
    start = end + 2;
  }
  return lines;
}

std::string CheckWellFormed(std::string_view saved, bool collapse_blank_lines) {
  if (!saved.empty() && !saved.ends_with("\r\n")) return "the last line does not end in CR LF";
  bool previous_empty = false;
  for (std::string_view line : SplitAtCrLf(saved)) {
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

// A text that ends inside an open block or an unclosed comment, literal or
// brace group has an empty last line after formatting. Formatting it again
// lays out that line break too and, when empty lines are not collapsed, adds
// exactly one more empty line: the only change a second run may make.
bool GainsOneEmptyLastLine(const std::string& once, const std::string& twice,
                           const FormatOptions& options) {
  return !options.CollapseBlankLines && once.ends_with("\r\n\r\n") && twice == once + "\r\n";
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
  FormatSource(lines, options.TabWidth, options.UseTabs, options.CollapseBlankLines);
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

bool MarkerRemovesLineBreak(std::string_view text) {
  const auto length = static_cast<std::int32_t>(text.size());
  std::size_t pos = 0;
  while (pos < text.size()) {
    pos = SkipBlanks(text, pos);
    if (pos >= text.size()) return false;
    if (MarkerAt(text, pos)) {
      if (RemovedTokensHoldLineBreak(text, pos)) return true;
      continue;
    }
    auto source_pos = static_cast<std::int32_t>(pos + 1);
    NextToken(text, source_pos, length);
    pos = static_cast<std::size_t>(source_pos - 1);
  }
  return false;
}

bool AccessedTokenEndsInBlank(std::string_view text) {
  // The same count as the layout's: set to 3 by an accessor word, one less
  // for every token after it; the token that brings it to 1 is tested. A
  // line's trimming changes the last byte of that token, or takes away the
  // one before it when it is nothing but such bytes (a lone control byte).
  int countdown = 0;
  for (std::string_view token : CutTokens(text)) {
    if (countdown > 0) --countdown;
    std::string lowered(token);
    for (char& c : lowered) c = c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c;
    if (lowered == "read" || lowered == "write") countdown = 3;
    if (token == "\r" || token == "\n") continue;
    const auto trimmable = [](char c) { return static_cast<unsigned char>(c) <= 0x20; };
    if (countdown == 1 && trimmable(token.back())) return true;
    if (countdown == 2 && std::all_of(token.begin(), token.end(), trimmable)) return true;
  }
  return false;
}

std::string CheckFormatInvariants(std::string_view file_bytes, const FormatOptions& options) {
  TStringList loaded;
  loaded.AssignText(file_bytes);
  const std::string source = loaded.ReadText();
  const std::string once = FormatFileBytes(file_bytes, options);

  if (MeaningfulTokens(source) != MeaningfulTokens(once))
    return "the tokens of the program changed";
  if (std::string fault = CheckWellFormed(once, options.CollapseBlankLines); !fault.empty()) {
    return fault;
  }
  const std::string twice = FormatFileBytes(once, options);
  if (twice != once && !GainsOneEmptyLastLine(once, twice, options) &&
      !MarkerRemovesLineBreak(source) && !AccessedTokenEndsInBlank(source)) {
    return "formatting the result again changed it";
  }
  return "";
}

}  // namespace vemra
