// Table-driven checks of the tokenizer: a source text and the tokens that the
// layout pass must receive from it.
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "formatter/next_token.h"
#include "fuzz/cut_comparison.h"
#include "fuzz/format_invariants.h"

namespace vemra {

struct TokenCase {
  std::string source;
  std::vector<std::string> tokens;
};

// The text with control bytes and bytes from 0x7F up written as escapes, so
// that a failure shows what was cut.
inline std::string Visible(std::string_view text) {
  std::string shown;
  for (unsigned char c : text) {
    if (c == '\r') {
      shown += "\\r";
    } else if (c == '\n') {
      shown += "\\n";
    } else if (c < 0x20 || c >= 0x7F) {
      char escape[8];
      std::snprintf(escape, sizeof escape, "\\x%02X", c);
      shown += escape;
    } else {
      shown += static_cast<char>(c);
    }
  }
  return shown;
}

inline std::vector<std::string> TokenTexts(std::string_view source) {
  std::vector<std::string> texts;
  for (std::string_view token : CutTokens(source)) texts.emplace_back(token);
  return texts;
}

inline std::vector<std::string> VisibleAll(const std::vector<std::string>& texts) {
  std::vector<std::string> shown;
  for (const std::string& text : texts) shown.push_back(Visible(text));
  return shown;
}

inline void ExpectTokens(const std::vector<TokenCase>& cases) {
  for (const TokenCase& c : cases) {
    EXPECT_EQ(VisibleAll(TokenTexts(c.source)), VisibleAll(c.tokens))
        << "source: \"" << Visible(c.source) << '"';
    // The table cutter cuts them alike, walking the text in one piece and
    // in lanes a few bytes long.
    for (const CutterShape& shape : {CutterShape{}, CutterShape{4, 1, 5}}) {
      EXPECT_EQ(CompareWithPlainCut(c.source, shape, 2), "")
          << "source: \"" << Visible(c.source) << '"';
    }
    // Formatting any of these texts keeps its tokens and is stable too.
    for (const FormatOptions& options :
         {FormatOptions{2, false, true}, FormatOptions{0, false, false}}) {
      EXPECT_EQ(CheckFormatInvariants(c.source, options), "")
          << "source: \"" << Visible(c.source) << '"';
    }
  }
}

}  // namespace vemra
