// Helpers of the formatter tests: a notation that shows blanks and TABs,
// and whole-program formatting through a line list.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

#include "formatter/finishing_pass.h"
#include "formatter/format_source.h"
#include "formatter/layout_pass.h"
#include "formatter/next_token.h"
#include "fuzz/format_invariants.h"

namespace vemra {

// "·" stands for one blank and "→" for one TAB; every other byte is itself.
inline std::string FromNotation(std::string_view text) {
  std::string result;
  for (std::size_t i = 0; i < text.size();) {
    if (text.substr(i).starts_with("·")) {
      result += ' ';
      i += std::string_view("·").size();
    } else if (text.substr(i).starts_with("→")) {
      result += '\t';
      i += std::string_view("→").size();
    } else {
      result += text[i++];
    }
  }
  return result;
}

// The reverse, with CR and LF spelled out, for readable failure messages.
inline std::string ToNotation(std::string_view text) {
  std::string result;
  for (char c : text) {
    if (c == ' ') {
      result += "·";
    } else if (c == '\t') {
      result += "→";
    } else if (c == '\r') {
      result += "\\r";
    } else if (c == '\n') {
      result += "\\n";
    } else {
      result += c;
    }
  }
  return result;
}

// Formats source, given as lines, and returns the resulting lines.
inline std::vector<std::string> FormatLines(const std::vector<std::string>& source,
                                            bool use_tabs = true, std::int32_t tab_width = 2,
                                            bool collapse = true) {
  TStringList list;
  for (const std::string& line : source) list.AppendLine(line);
  FormatSource(list, tab_width, use_tabs, collapse);
  std::vector<std::string> result;
  for (std::int32_t i = 0; i < list.LineCount(); ++i) result.push_back(list.LineAt(i));
  return result;
}

// A table of whole programs: source lines and the lines they format to,
// TABs kept and written "\t".
struct ProgramCase {
  std::vector<std::string> source;
  std::vector<std::string> expected;
};

// Every input of these tables also keeps the formatting promises (meaning
// kept, stable, well formed) under a few option sets.
inline void ExpectPromisesKept(std::string_view text) {
  for (const FormatOptions& options :
       {FormatOptions{2, false, true}, FormatOptions{0, false, false},
        FormatOptions{4, true, true}}) {
    EXPECT_EQ(CheckFormatInvariants(text, options), "") << ToNotation(text);
  }
}

inline void ExpectPrograms(const std::vector<ProgramCase>& cases) {
  for (const ProgramCase& c : cases) {
    EXPECT_EQ(FormatLines(c.source), c.expected) << "first source line: " << c.source.front();
    std::string text;
    for (const std::string& line : c.source) text += line + "\r\n";
    ExpectPromisesKept(text);
  }
}

// The layout pass's own output, in notation, for a text.
inline std::string LaidOut(std::string_view source) {
  return ToNotation(LayoutPass(source));
}

// The tokens of a text once every line is trimmed, without the line breaks,
// which the finishing pass may add or remove with empty lines. Formatting
// keeps them: the blanks it writes behind a line comment are trimmed again.
inline std::vector<std::string> FinishedTokens(std::string_view text) {
  std::string trimmed;
  for (char c : TrimLines(text, false)) {
    if (c == '\n') trimmed += '\r';  // a line comment runs up to a CR
    trimmed += c;
  }
  // Trimming removes bytes of value 0x20 or lower at line ends, also inside
  // a multi-line token or as a control-byte token of its own: compare what
  // is left of each token without them.
  return MeaningfulTokens(trimmed);
}

}  // namespace vemra
