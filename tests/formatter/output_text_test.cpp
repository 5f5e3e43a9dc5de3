// The layout output keeps the current line's indentation as a count; every
// edit must leave exactly the text a plain string would hold.
#include "formatter/output_text.h"

#include <random>
#include <set>

#include "base/failures.h"
#include "base/line_breaks.h"
#include "formatter/word_tables.h"
#include "tests/formatter/layout_cases.h"

namespace vemra {
namespace {

// The same edits on a plain string. The label edit searches back from the
// end for a TAB and stops at a line break, which for tokens without TABs
// is exactly the indentation TAB the output takes back.
struct PlainOutput {
  std::string text;

  void DeleteLastIf(char c) {
    if (!text.empty() && text.back() == c) text.pop_back();
  }
  void DeleteTrailingBlanks() {
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.pop_back();
  }
  void DropIndentationTab() {
    for (std::size_t i = text.size(); i > 0; --i) {
      const char c = text[i - 1];
      if (c == '\r' || c == '\n') return;
      if (c == '\t') {
        text.erase(i - 1, 1);
        return;
      }
    }
  }
};

// Every TAB as the given number of blanks.
std::string ExpandedTabs(std::string text, std::size_t width) {
  std::string expanded;
  for (char c : text) expanded.append(c == '\t' ? width : 1, c == '\t' ? ' ' : c);
  return expanded;
}

std::size_t LineBreaksIn(std::string_view text) {
  return static_cast<std::size_t>(std::count_if(
      text.begin(), text.end(), [](char c) { return line_breaks_detail::IsBreak(c); }));
}

TEST(OutputText, EditsMatchAPlainString) {
  const std::vector<std::string_view> tokens = {"x", ":", "ab", "\r", "/* a\r\n b */", "'\r\n'"};
  std::mt19937 random(20240601);
  for (int round = 0; round < 200; ++round) {
    // Every other round writes indentation as three blanks, and past a
    // small size as TABs again: expanded, the text must be the same.
    const bool blanks = round % 2 == 1;
    OutputText output("", blanks ? IndentUnit{' ', 3} : IndentUnit{}, 0, 40);
    PlainOutput plain;
    // After every step: where the current line starts, and how many line
    // breaks stand in front of it.
    std::vector<std::pair<std::size_t, std::size_t>> line_starts;
    for (int step = 0; step < 300; ++step) {
      switch (random() % 8) {
        case 0: {  // a line break and the next line's indentation
          const auto level = static_cast<std::int32_t>(random() % 5) - 1;
          output.Append("\n");
          output.AppendIndentation(level);
          plain.text += '\n';
          plain.text.append(static_cast<std::size_t>(std::max(level, 0)), '\t');
          break;
        }
        case 1:
          output.AppendBlank();
          plain.text += ' ';
          break;
        case 2:
          output.DeleteLastIf('\t');
          plain.DeleteLastIf('\t');
          break;
        case 3:
          output.DeleteLastIf(' ');
          plain.DeleteLastIf(' ');
          break;
        case 4:
          output.DeleteTrailingBlanks();
          plain.DeleteTrailingBlanks();
          break;
        case 5:
          output.DropIndentationTab();
          plain.DropIndentationTab();
          break;
        case 6: {  // a token with a blank on either side, or both, or none
          const bool before = random() % 2 == 0;
          const bool after = random() % 2 == 0;
          const std::string_view token = tokens[random() % tokens.size()];
          output.AppendTokenBetweenBlanks(before, token, after);
          plain.text += std::string(before ? 1 : 0, ' ') + std::string(token) +
                        std::string(after ? 1 : 0, ' ');
          break;
        }
        default: {
          const std::string_view token = tokens[random() % tokens.size()];
          output.Append(token);
          plain.text += token;
        }
      }
      ASSERT_EQ(output.Empty(), plain.text.empty());
      if (!plain.text.empty()) {
        ASSERT_EQ(output.LastByte(), plain.text.back());
      }
      line_starts.push_back({output.CurrentLineStart(), LineBreaksIn(plain.text)});
    }
    const std::string text = output.Take();
    // Line breaks are never taken back: the current line started behind
    // as many of them as the text held then, wherever the final text puts it.
    for (const auto& [line_start, breaks] : line_starts) {
      ASSERT_EQ(LineBreaksIn(std::string_view(text).substr(0, line_start)), breaks);
      ASSERT_TRUE(line_start == 0 || line_breaks_detail::IsBreak(text[line_start - 1]));
    }
    if (blanks) {
      ASSERT_EQ(ToNotation(ExpandedTabs(text, 3)), ToNotation(ExpandedTabs(plain.text, 3)));
    } else {
      ASSERT_EQ(ToNotation(text), ToNotation(plain.text)) << "round " << round;
    }
  }
}

TEST(OutputText, PreambleCountsAsEmpty) {
  OutputText output("\xEF\xBB\xBF");
  EXPECT_TRUE(output.Empty());
  output.Append("x");
  EXPECT_EQ(output.LastByte(), 'x');
  EXPECT_EQ(output.Take(), "\xEF\xBB\xBFx");
}

TEST(OutputText, IndentationPastTheLimitFailsBeforeItIsWritten) {
  OutputText output;
  output.Append("\n");
  output.AppendIndentation(2147483647);
  output.Append("x");
  EXPECT_THROW(output.Append("\n"), ETextTooLarge);
  OutputText expanded("", IndentUnit{' ', 3});
  expanded.Append("\n");
  expanded.AppendIndentation(715827883);  // 3 blanks a level: two bytes too many
  EXPECT_THROW(expanded.Append("\n"), ETextTooLarge);
}

// A line's content is written behind room for its indentation; lines whose
// indentation is deeper than that room, or changes once the content has
// started, must still come out whole. Each case is one line: levels, then
// the content in two parts with an edit between them.
TEST(OutputText, ContentLandsBehindItsIndentationHoweverDeep) {
  struct Case {
    std::int32_t levels;
    std::int64_t width;
    bool drop_tab_between;  // a ":" takes back one TAB after the first part
  };
  const Case cases[] = {
      {3, 2, false}, {3, 2, true},       {40000, 2, false}, {40000, 2, true}, {70000, 1, true},
      {1, 0, true},  {100000, 3, false}, {100000, 3, true}, {0, 4, true},
  };
  for (const Case& c : cases) {
    OutputText output("", IndentUnit{' ', c.width});
    output.Append("a\r");
    output.Append("\n");
    output.AppendIndentation(c.levels);
    output.Append("x");
    if (c.drop_tab_between) output.DropIndentationTab();
    output.Append(":");
    output.Append("\n");
    output.Append("z");
    const std::int64_t levels = std::max(0, c.levels - (c.drop_tab_between && c.levels > 0));
    const std::string expected =
        "a\r\n" + std::string(static_cast<std::size_t>(levels * c.width), ' ') + "x:\nz";
    EXPECT_EQ(output.Take(), expected) << c.levels << " levels of " << c.width;
  }
}

// Whether a token holds a line break decides whether a ":" may take back
// its line's indentation. Tokens that are views into the source are tested
// sixteen bytes at a time, reading past their end: a break there, or in
// front of their start, is not theirs; one at any place inside is.
TEST(OutputText, LineBreaksCountOnlyInsideTheToken) {
  for (std::size_t size = 2; size <= 40; ++size) {
    // -1: no break; size: a break right behind the token.
    for (int at = -1; at <= static_cast<int>(size); ++at) {
      for (const char line_break : {'\r', '\n'}) {
        std::string source = "\n/" + std::string(size + 20, '*');
        if (at > 0) source[static_cast<std::size_t>(at) + 1] = line_break;
        const std::string_view token = std::string_view(source).substr(1, size);
        OutputText output("", IndentUnit{}, 0, kFinishedIndentLimit, source);
        output.Append("\n");
        output.AppendIndentation(1);
        output.AppendToken(token);
        output.DropIndentationTab();
        const bool holds = at > 0 && at < static_cast<int>(size);
        std::string expected = holds ? "\n\t" : "\n";
        expected.append(token);
        ASSERT_EQ(output.Take(), expected) << size << " bytes, break at " << at;
      }
    }
  }
}

TEST(WordTables, LookupIgnoresLetterCaseAndNothingElse) {
  for (std::string_view word : {"using", "USING", "Foreachrev", "#C_DeclareApi", "#endnamespace",
                                "IF", "Or", "#c_declareapi", "Event"}) {
    EXPECT_TRUE(IsKeyword(word) || IsDirective(word)) << word;
  }
  for (std::string_view other :
       {"", "inline", "procs", "pro", "#", "#id", "end$", "#define2", "PROC_", "\xC5nd", "#using",
        "i", "ifs", "#c_declareapix", "using_the_longest_name_there_is"}) {
    EXPECT_FALSE(IsKeyword(other) || IsDirective(other)) << other;
  }
}

// Words are found through a hash of a few of their bytes; every word in
// any letter case must be found, and every token one byte away from a word
// must be found exactly when it is itself a word.
TEST(WordTables, EveryWordAndEveryOneByteChangeOfIt) {
  const std::set<std::string> words = {"and",      "case",       "div",         "else",
                                       "end",      "event",      "except",      "finally",
                                       "for",      "foreach",    "foreachrev",  "forward",
                                       "func",     "if",         "mod",         "nfunc",
                                       "not",      "nproc",      "or",          "proc",
                                       "property", "read",       "repeat",      "return",
                                       "try",      "until",      "using",       "while",
                                       "write",    "xor",        "#c_declare",  "#c_declareapi",
                                       "#class",   "#debug",     "#debugfile",  "#debugoff",
                                       "#debugon", "#declare",   "#declareapi", "#define",
                                       "#else",    "#endclass",  "#endif",      "#endnamespace",
                                       "#globals", "#ifdef",     "#ifndef",     "#import",
                                       "#include", "#inherited", "#library",    "#link",
                                       "#locals",  "#namespace", "#noppc",      "#object"};
  const auto lowered = [](std::string text) {
    for (char& c : text) c = c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c;
    return text;
  };
  const auto is_word = [](std::string_view token) {
    return IsKeyword(token) || IsDirective(token);
  };
  for (const std::string& word : words) {
    std::string upper = word;
    for (char& c : upper) c = c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c;
    ASSERT_TRUE(is_word(word) && is_word(upper)) << word;
    for (std::size_t at = 0; at < word.size(); ++at) {
      for (int value = 0; value < 256; ++value) {
        std::string changed = word;
        changed[at] = static_cast<char>(value);
        ASSERT_EQ(is_word(changed), words.contains(lowered(changed))) << ToNotation(changed);
      }
    }
  }
}

// Tokens of a size no word has are looked up all the same: one byte, whose
// second byte is its first, and tokens so long that their size, shifted
// into the key, falls back onto a word's: "c...e" of 260 bytes has the key
// of "case".
TEST(WordTables, TokensOfSizesNoWordHasHaveNoRoles) {
  for (int value = 0; value < 256; ++value) {
    EXPECT_EQ(WordRolesOf(std::string(1, static_cast<char>(value))), 0u) << value;
  }
  for (const std::size_t size : {16u, 17u, 258u, 259u, 260u, 261u, 263u}) {
    for (const std::string_view word : {"if", "end", "case", "#define", "foreachrev"}) {
      std::string token(size, word[1]);
      token[0] = word[0];
      token.back() = word.back();
      EXPECT_EQ(WordRolesOf(token), 0u) << word << " stretched to " << size;
    }
  }
}

TEST(WordTables, RolesOfTheBlockWords) {
  EXPECT_EQ(WordRolesOf("Else"), kKeyword | kClosingWord | kOpeningWord | kElseWord);
  EXPECT_EQ(WordRolesOf("EXCEPT"), kKeyword | kClosingWord | kKeepsLevel);
  EXPECT_EQ(WordRolesOf("#EndClass"), kDirective | kClosingWord);
  EXPECT_EQ(WordRolesOf("inline"), static_cast<std::uint32_t>(kForwardWord));
  EXPECT_EQ(WordRolesOf("nproc"), kKeyword | kOpeningWord | kRoutineWord);
  EXPECT_EQ(WordRolesOf("#Object"), kDirective | kStaysInPlace);
  EXPECT_EQ(WordRolesOf("name"), 0u);
}

}  // namespace
}  // namespace vemra
