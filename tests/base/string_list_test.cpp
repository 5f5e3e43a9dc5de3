#include "base/string_list.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "base/failures.h"
#include "base/line_breaks.h"

namespace vemra {
namespace {

using Lines = std::vector<std::string>;

// CR and LF spelled out, for failure messages.
std::string ToVisible(std::string_view text) {
  std::string visible;
  for (char c : text) visible += c == '\r' ? "<CR>" : c == '\n' ? "<LF>" : std::string(1, c);
  return visible;
}

Lines LinesOf(const TStringList& list) {
  Lines lines;
  for (std::int32_t i = 0; i < list.LineCount(); ++i) lines.push_back(list.LineAt(i));
  return lines;
}

struct SplitCase {
  std::string name;
  std::string text;
  Lines lines;
  std::string joined;  // ReadText after AssignText
};

const std::string kNul(1, '\0');

const SplitCase kSplitCases[] = {
    {"empty text", "", {}, ""},
    {"no line end", "a", {"a"}, "a\r\n"},
    {"LF", "a\nb", {"a", "b"}, "a\r\nb\r\n"},
    {"CR", "a\rb", {"a", "b"}, "a\r\nb\r\n"},
    {"CR LF", "a\r\nb", {"a", "b"}, "a\r\nb\r\n"},
    {"LF CR is two line ends", "a\n\rb", {"a", "", "b"}, "a\r\n\r\nb\r\n"},
    {"CR CR LF is two line ends", "a\r\r\nb", {"a", "", "b"}, "a\r\n\r\nb\r\n"},
    {"final CR LF adds no line", "a\r\n", {"a"}, "a\r\n"},
    {"CR LF alone", "\r\n", {""}, "\r\n"},
    {"LF alone", "\n", {""}, "\r\n"},
    {"empty lines", "\n\n\r\r", {"", "", "", ""}, "\r\n\r\n\r\n\r\n"},
    {"mixed line ends", "a\nb\rc\r\nd", {"a", "b", "c", "d"}, "a\r\nb\r\nc\r\nd\r\n"},
    {"byte-order mark stays", "\xEF\xBB\xBFx\ny", {"\xEF\xBB\xBFx", "y"}, "\xEF\xBB\xBFx\r\ny\r\n"},
    {"NUL is an ordinary byte",
     "a" + kNul + "b\n" + kNul,
     {"a" + kNul + "b", kNul},
     "a" + kNul + "b\r\n" + kNul + "\r\n"},
    {"high bytes", "\x80\xff\n\xe4", {"\x80\xff", "\xe4"}, "\x80\xff\r\n\xe4\r\n"},
};

TEST(LineSplitting, AssignTextSplitsAtEveryLineEndAndReadTextJoinsWithCrLf) {
  for (const SplitCase& c : kSplitCases) {
    TStringList list;
    list.AssignText(c.text);
    EXPECT_EQ(LinesOf(list), c.lines) << c.name;
    EXPECT_EQ(list.ReadText(), c.joined) << c.name;
    // A list is split on demand: the joined text must come out the same
    // before any line was asked for.
    TStringList unsplit;
    unsplit.AssignText(c.text);
    std::string holder;
    EXPECT_EQ(unsplit.JoinedText(holder), c.joined) << c.name;
    EXPECT_EQ(unsplit.ReadText(), c.joined) << c.name;
    EXPECT_EQ(LinesOf(unsplit), c.lines) << c.name;
  }
}

TEST(LineSplitting, ForEachLineAgreesWithTheList) {
  for (const SplitCase& c : kSplitCases) {
    Lines lines;
    ForEachLine(c.text, [&lines](std::string_view line) { lines.emplace_back(line); });
    EXPECT_EQ(lines, c.lines) << c.name;
  }
}

// Byte by byte, the way the line ends are defined.
Lines ReferenceLines(std::string_view text) {
  Lines lines;
  std::size_t pos = 0;
  while (pos < text.size()) {
    std::size_t end = pos;
    while (end < text.size() && text[end] != '\r' && text[end] != '\n') ++end;
    lines.emplace_back(text.substr(pos, end - pos));
    pos = end;
    if (pos < text.size() && text[pos] == '\r') ++pos;
    if (pos < text.size() && text[pos] == '\n') ++pos;
  }
  return lines;
}

// Lines are found sixteen bytes at a time; lines and runs of line ends of
// every length around the widths scanned at once (16 and 64 bytes), at every
// alignment, must split alike.
TEST(LineSplitting, LongAndShortLinesSplitAlike) {
  std::mt19937 random(11);
  for (int round = 0; round < 2000; ++round) {
    std::string text;
    const std::size_t size = random() % 200;
    const unsigned break_odds = 1 + random() % 40;  // one byte in break_odds is a line end
    for (std::size_t i = 0; i < size; ++i) {
      text += random() % break_odds == 0 ? "\r\n"[random() % 2] : static_cast<char>(random());
    }
    const Lines expected = ReferenceLines(text);
    Lines forward;
    ForEachLine(text, [&forward](std::string_view line) { forward.emplace_back(line); });
    EXPECT_EQ(forward, expected) << ToVisible(text);
  }
}

// The handed-over text must give the list's lines again, each followed by a
// line end, and leave the list empty; a list not edited hands over its own
// bytes, with CR LF added only where the last line has no line end.
TEST(HandOverText, GivesEveryLineBackWithItsLineEnd) {
  std::vector<std::string> texts;
  for (const SplitCase& c : kSplitCases) texts.push_back(c.text);
  std::mt19937 random(7);
  for (int round = 0; round < 300; ++round) {
    std::string text;
    const std::size_t size = random() % 100;
    const unsigned break_odds = 2 + random() % 30;
    for (std::size_t i = 0; i < size; ++i) {
      text += random() % break_odds == 0 ? "\r\n"[random() % 2] : 'a';
    }
    texts.push_back(text);
  }
  for (const std::string& text : texts) {
    TStringList reference;
    reference.AssignText(text);
    const Lines lines = LinesOf(reference);
    TStringList list;
    list.AssignText(text);
    const std::string handed = list.HandOverText();
    EXPECT_EQ(list.LineCount(), 0);
    Lines again;
    ForEachLine(handed, [&again](std::string_view line) { again.emplace_back(line); });
    EXPECT_EQ(again, lines) << ToVisible(text);
    const bool ends_in_break = !text.empty() && (text.back() == '\r' || text.back() == '\n');
    EXPECT_EQ(handed, text.empty() || ends_in_break ? text : text + "\r\n") << ToVisible(text);
  }
  TStringList edited;
  edited.AssignText("a\nb");
  edited.AppendLine("c");
  EXPECT_EQ(edited.HandOverText(), "a\r\nb\r\nc\r\n");
}

TEST(LineSplitting, AdoptTextAndAssigningAgainReplaceEveryLine) {
  TStringList list;
  list.AssignText("old\nlines\nhere");
  list.ReplaceLine(0, "a much longer line than before");
  list.AdoptText(std::string("x\ny"));
  EXPECT_EQ(LinesOf(list), (Lines{"x", "y"}));
  list.AssignText("");
  EXPECT_EQ(list.LineCount(), 0);
}

TEST(LineEditing, ReplaceRemoveAndAppendKeepEveryOtherLine) {
  TStringList list;
  list.AssignText("one  \ntwo\nthree");
  list.ReplaceLine(0, "one");                          // shorter: rewritten in place
  list.ReplaceLine(1, "two, now longer than it was");  // longer: stored apart
  list.ReplaceLine(2, list.LineView(1));               // a view of another line
  list.ReplaceLine(1, list.LineView(1).substr(5));     // a view of itself
  list.AppendLine("four");
  list.AppendLine("");
  EXPECT_EQ(LinesOf(list),
            (Lines{"one", "now longer than it was", "two, now longer than it was", "four", ""}));
  list.RemoveLine(1);
  list.RemoveLine(3);
  EXPECT_EQ(LinesOf(list), (Lines{"one", "two, now longer than it was", "four"}));
  EXPECT_EQ(list.ReadText(), "one\r\ntwo, now longer than it was\r\nfour\r\n");
}

// JoinedText hands out the list's own buffer only while that buffer is the
// joined text; a split that found another line end, and every edit, must
// fall back to the joined copy.
TEST(JoinedText, OwnBufferOnlyWhileItIsTheJoinedText) {
  struct Case {
    std::string name;
    std::string text;
    void (*edit)(TStringList&);
    bool own_buffer;
  };
  const Case cases[] = {
      {"CR LF everywhere", "a\r\n\r\nb\r\n", nullptr, true},
      {"empty text", "", nullptr, true},
      {"no final line end", "a\r\nb", nullptr, false},
      {"an LF", "a\r\nb\n", nullptr, false},
      {"a CR", "a\rb\r\n", nullptr, false},
      {"CR CR LF", "a\r\r\n", nullptr, false},
      {"shorter line in place", "one\r\ntwo\r\n", [](TStringList& l) { l.ReplaceLine(0, "1"); },
       false},
      {"same line again", "one\r\n", [](TStringList& l) { l.ReplaceLine(0, "one"); }, false},
      {"longer line", "one\r\n", [](TStringList& l) { l.ReplaceLine(0, "one more"); }, false},
      {"removed line", "one\r\ntwo\r\n", [](TStringList& l) { l.RemoveLine(0); }, false},
      {"appended line", "one\r\n", [](TStringList& l) { l.AppendLine("two"); }, false},
  };
  for (const Case& c : cases) {
    TStringList list;
    list.AdoptText(c.text);
    if (c.edit != nullptr) c.edit(list);
    std::string holder;
    const std::string_view joined = list.JoinedText(holder);
    EXPECT_EQ(joined, list.ReadText()) << c.name;
    EXPECT_EQ(holder.empty() && joined.data() != holder.data(), c.own_buffer) << c.name;
  }
}

// A text adopted as already joined is split only when a line is asked for;
// every reader and every edit must then see the same lines as after
// AdoptText, and an edit must end the fast path.
TEST(JoinedText, AdoptedJoinedTextSplitsOnFirstUse) {
  const std::string text = "a\r\n\r\nbc\r\n";
  const Lines lines = {"a", "", "bc"};
  using Use = void (*)(TStringList&, Lines&);
  const Use uses[] = {
      [](TStringList& l, Lines& expected) { EXPECT_EQ(LinesOf(l), expected); },
      [](TStringList& l, Lines& expected) { EXPECT_EQ(l.LineView(2), expected[2]); },
      [](TStringList& l, Lines& expected) {
        l.AppendLine("d");
        expected.push_back("d");
      },
      [](TStringList& l, Lines& expected) {
        l.ReplaceLine(0, "x");
        expected[0] = std::string("x");
      },
      [](TStringList& l, Lines& expected) {
        l.RemoveLine(1);
        expected.erase(expected.begin() + 1);
      },
  };
  for (const Use& use : uses) {
    TStringList list;
    list.AssignText("old\nlines\nhere\nand\nmore");
    list.AdoptJoinedText(text);
    Lines expected = lines;
    use(list, expected);
    EXPECT_EQ(LinesOf(list), expected);
    std::string holder;
    EXPECT_EQ(list.JoinedText(holder), list.ReadText());
  }
  TStringList untouched;
  untouched.AdoptJoinedText(text);
  std::string holder;
  EXPECT_EQ(untouched.JoinedText(holder), text);
  EXPECT_TRUE(holder.empty());
  EXPECT_EQ(untouched.ReadText(), text);
}

TEST(LineEditing, BadIndexFailsAndLeavesTheListAlone) {
  TStringList list;
  list.AssignText("a\nb");
  const std::int32_t bad_indexes[] = {-1, 2, 1000, INT32_MIN};
  for (const std::int32_t index : bad_indexes) {
    const std::string expected = "List index out of bounds (" + std::to_string(index) + ")";
    const auto expect_failure = [&](auto operation) {
      try {
        operation();
        ADD_FAILURE() << "no failure for " << index;
      } catch (const EStringListError& failure) {
        EXPECT_EQ(failure.ClassName(), "EStringListError");
        EXPECT_EQ(failure.Message(), expected);
      }
    };
    expect_failure([&] { list.LineAt(index); });
    expect_failure([&] { list.LineView(index); });
    expect_failure([&] { list.ReplaceLine(index, "x"); });
    expect_failure([&] { list.RemoveLine(index); });
  }
  EXPECT_EQ(LinesOf(list), (Lines{"a", "b"}));
}

}  // namespace
}  // namespace vemra
