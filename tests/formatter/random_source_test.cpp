// Random texts over the bytes that matter to the layout rules: the layout
// never fails, keeps every token, and formatting its result again through
// the whole formatter changes nothing.
#include <atomic>
#include <chrono>
#include <future>
#include <memory>
#include <random>
#include <thread>

#include "base/failures.h"
#include "tests/formatter/layout_cases.h"

namespace vemra {
namespace {

// Pieces that make up random programs: block words, operators that could
// run together, labels, directives, comments and literals with TABs.
const std::vector<std::string_view> kPieces = {"proc",       "end",
                                               "case",       "if",
                                               "else",       "while",
                                               "until",      "read",
                                               "write",      "forward",
                                               "#class",     "#endclass",
                                               "#define",    "#object",
                                               "#ifdef",     "#id",
                                               "x",          "n$",
                                               "a1",         "1e",
                                               "0x1F",       "#1",
                                               "F",          "-",
                                               "--",         "+",
                                               "++",         "&",
                                               "=",          "~",
                                               "!",          ":",
                                               "::",         "@",
                                               "(",          ")",
                                               "[",          "]",
                                               ",",          ";",
                                               "/",          "*",
                                               "not",        "and",
                                               "xor",        "finally",
                                               "#inherited", "&h",
                                               "//c\t",      "/*\t*/",
                                               "/* a\r\n*/", "'\t'",
                                               "\"s\"",      "{ b }",
                                               " ",          " ",
                                               "\t",         "\r\n",
                                               "\r\n",       "\n",
                                               "\r",         "\xEF\xBB\xBF",
                                               "\x01"};

// A random text as the formatter receives it from a line list: every line
// end turned into CR LF.
std::string RandomSource(std::mt19937& random) {
  std::string text;
  const int pieces = static_cast<int>(random() % 60);
  for (int i = 0; i < pieces; ++i) text += kPieces[random() % kPieces.size()];
  TStringList lines;
  lines.AssignText(text);
  return lines.ReadText();
}

TEST(RandomSources, LayoutKeepsTheTokensAndFormattingIsStable) {
  std::mt19937 random(7);
  for (int round = 0; round < 3000; ++round) {
    const std::string source = RandomSource(random);
    const std::string laid_out = LayoutPass(source);
    ASSERT_EQ(FinishedTokens(laid_out), FinishedTokens(source)) << ToNotation(source);

    TStringList once;
    once.AssignText(source);
    FormatSource(once, 2, true, true);
    TStringList twice;
    twice.AssignText(once.ReadText());
    FormatSource(twice, 2, true, true);
    ASSERT_EQ(ToNotation(twice.ReadText()), ToNotation(once.ReadText())) << ToNotation(source);
  }
}

// Pieces whose tokens end at, or hold, a line end: for these a text as it
// was loaded and its joined form differ in more than the line ends.
const std::vector<std::string_view> kLineEndPieces = {
    "//c\n", "\"s\n", "\"a\\\n", "\"a\\\r", "/* \r\t\n */", "'\r'", "'\n\r\n'", "{\n}",
    "\x8B\r\x9B", "#id\n", "#id #id\r", "#id\r\n", "/* open", "'open", "{ open",
    // Regions left as they stood start and end at line ends too.
    "// vemrafmt: off\n", "//VEMRAFMT: ON\r"};

// A laid-out text as it was loaded must equal the laid-out joined text,
// for every mix of line ends, with and without a last line end, whether
// the layout trims its line ends or not. The walk over a loaded text also
// takes a shorter way for common tokens and finds blanks and word bodies
// through block masks, which the walk over a joined text does not, so this
// compares those ways too. Trimming the line ends early must leave the
// finished text as it is.
TEST(RandomSources, LayingOutTheLoadedTextEqualsLayingOutItsJoinedForm) {
  std::mt19937 random(29);
  for (int round = 0; round < 5000; ++round) {
    std::string text;
    const int pieces = static_cast<int>(random() % 40);
    for (int i = 0; i < pieces; ++i) {
      text += random() % 3 == 0 ? kLineEndPieces[random() % kLineEndPieces.size()]
                                : kPieces[random() % kPieces.size()];
    }
    TStringList lines;
    lines.AssignText(text);
    const IndentUnit unit = round % 2 == 0 ? IndentUnit{} : IndentUnit{' ', 3};
    const std::string joined = lines.ReadText();
    for (const TrailingBytes trailing : {TrailingBytes::kKept, TrailingBytes::kTrimmed}) {
      ASSERT_EQ(ToNotation(LayOutLines(text, unit, trailing).text),
                ToNotation(LayoutPass(joined, unit, trailing)))
          << ToNotation(text);
    }
    const std::int32_t tab_width = static_cast<std::int32_t>(round % 4) - 1;
    const bool use_tabs = round % 5 == 0;
    const bool collapse = round % 3 != 0;
    // The text itself, taken as joined, has lone CRs and LFs among its tokens.
    // A layout that collapses empty lines is only ever followed by a
    // finishing pass that does.
    const TrailingBytes trimmed =
        collapse ? TrailingBytes::kTrimmedAndCollapsed : TrailingBytes::kTrimmed;
    for (const std::string_view source : {std::string_view(joined), std::string_view(text)}) {
      const std::string plain =
          ToNotation(FinishedText(LayoutPass(source, unit), tab_width, use_tabs, collapse));
      ASSERT_EQ(ToNotation(FinishedText(LayoutPass(source, unit, TrailingBytes::kTrimmed),
                                        tab_width, use_tabs, collapse)),
                plain)
          << ToNotation(source);
      ASSERT_EQ(ToNotation(
                    FinishedText(LayoutPass(source, unit, trimmed), tab_width, use_tabs, collapse)),
                plain)
          << ToNotation(source);
    }
    ASSERT_EQ(ToNotation(FinishedText(LayOutLines(text, unit, trimmed).text, tab_width, use_tabs,
                                      collapse)),
              ToNotation(FinishedText(LayoutPass(joined, unit), tab_width, use_tabs, collapse)))
        << ToNotation(text);
  }
}

// Texts long enough to pass many batches through the ring of slots, and
// a few around its edges: cutting ahead of the layout, or by the table
// cutter on the layout's thread, must give the same text as cutting by the
// plain rules in the token loop.
TEST(RandomSources, EveryCuttingGivesTheSameText) {
  std::mt19937 random(41);
  for (int round = 0; round < 40; ++round) {
    std::string text;
    const int pieces = round < 4 ? round : static_cast<int>(random() % 40000);
    for (int i = 0; i < pieces; ++i) {
      text += random() % 5 == 0 ? kLineEndPieces[random() % kLineEndPieces.size()]
                                : kPieces[random() % kPieces.size()];
    }
    const TrailingBytes trailing = round % 2 == 0 ? TrailingBytes::kKept : TrailingBytes::kTrimmed;
    const LaidOutText plain = LayOutLines(text, {}, trailing, Cutting::kInLoop);
    for (const Cutting cutting : {Cutting::kAhead, Cutting::kTable, Cutting::kBySize}) {
      ASSERT_EQ(LayOutLines(text, {}, trailing, cutting), plain) << "round " << round;
    }
  }
}

// Many short runs one after another, each starting and ending a cutting
// thread, on texts from empty to a few batches long, several of them near
// a batch's edge, so that the end of the text meets the hand-over of a slot
// at many points. Every run gives the plain rules' text, and none leaves
// the layout or the thread waiting for the other: a hang fails the
// deadline instead of holding the test up.
TEST(RandomSources, CuttingAheadHandsOverEveryShortTextWithoutAHang) {
  struct Runs {
    std::vector<std::string> texts;
    std::vector<LaidOutText> plain;
    std::atomic<int> differing{0};
  };
  auto runs = std::make_shared<Runs>();
  for (const std::size_t tokens : {0, 1, 2, 1023, 1024, 1025, 2047, 2048, 2049, 3000}) {
    std::string text;
    for (std::size_t i = 0; i < tokens; ++i) text += i % 7 == 6 ? "\r\n" : "x ";
    runs->plain.push_back(LayOutLines(text, {}, TrailingBytes::kKept, Cutting::kInLoop));
    runs->texts.push_back(std::move(text));
  }
  auto done = std::make_shared<std::promise<void>>();
  std::future<void> finished = done->get_future();
  // Left behind, blocked, if it misses the deadline: it owns all it uses.
  std::thread([runs, done] {
    for (int run = 0; run < 1000; ++run) {
      const std::size_t which = static_cast<std::size_t>(run) % runs->texts.size();
      const LaidOutText laid_out =
          LayOutLines(runs->texts[which], {}, TrailingBytes::kKept, Cutting::kAhead);
      if (!(laid_out == runs->plain[which])) ++runs->differing;
    }
    done->set_value();
  }).detach();
  ASSERT_EQ(finished.wait_for(std::chrono::seconds(60)), std::future_status::ready)
      << "a run still waits after a minute";
  EXPECT_EQ(runs->differing, 0);
}

// A layout that fails early, while the cutting thread is busy or waits for
// a slot, or late, when it is done, fails as it would cutting in the loop:
// the thread is stopped and joined.
TEST(RandomSources, CuttingAheadStopsWhenTheLayoutFails) {
  std::string statements;
  for (int i = 0; i < 30000; ++i) statements += "x = y + 1;\r\n";
  const std::string too_deep = "proc A()\r\nx\r\nend\r\n";
  const IndentUnit too_wide{' ', std::int64_t{1} << 40};
  for (const std::string& text : {too_deep + statements, statements + too_deep}) {
    for (const Cutting cutting : {Cutting::kAhead, Cutting::kInLoop, Cutting::kTable}) {
      EXPECT_THROW(LayOutLines(text, too_wide, TrailingBytes::kKept, cutting), ETextTooLarge);
    }
  }
}

}  // namespace
}  // namespace vemra
