// The runs of lines the finishing pass can leave as they stand, found 64
// bytes at a time, against a line-by-line reading of the same text.
#include "formatter/plain_lines.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <string_view>

#include "base/line_breaks.h"
#include "tests/formatter/layout_cases.h"

namespace vemra {
namespace {

// The start of the first line at or after from that is not plain, line by line.
const char* PlainLinesEndOneByOne(const char* from, const char* end, bool tabs_expanded) {
  const char* at = from;
  while (at < end) {
    const char* const break_at = line_breaks_detail::FindBreak(at, end);
    const std::string_view line(at, static_cast<std::size_t>(break_at - at));
    const bool plain = !line.empty() && static_cast<unsigned char>(line.back()) > 0x20 &&
                       !(tabs_expanded && line.find('\t') != std::string_view::npos) &&
                       end - break_at >= 2 && break_at[0] == '\r' && break_at[1] == '\n';
    if (!plain) return at;
    at = break_at + 2;
  }
  return at;
}

// Plain lines of every length around the 64-byte blocks, with now and then
// a line that is not plain in one way: so that the flaw, and the bytes
// around it, fall at every place in a block and on either side of its edge.
std::string MostlyPlainText(std::mt19937& random) {
  const std::vector<std::string_view> flaws = {" \r\n", "\t\r\n", "\r\n", "\r",       "\n",
                                               "\n\r",  "\r\r\n", "\t",   "\x01\r\n", "\x01"};
  std::string text;
  const int lines = static_cast<int>(random() % 40);
  for (int i = 0; i < lines; ++i) {
    text.append(1 + random() % 140, 'a');
    if (random() % 8 == 0) {
      text.append(flaws[random() % flaws.size()]);
    } else {
      text.append("\r\n");
    }
  }
  if (random() % 4 == 0) text.append(random() % 90, 'b');
  return text;
}

TEST(PlainLines, RunEndsWhereTheLineByLineReadingEndsIt) {
  std::vector<std::string> texts = {
      "",        "\r\n", "a\r\n", "a", "a \r\n", "a\tb\r\n", "a\r", "a\n", "a\r\nb\r\n\r\nc\r\n",
      "\x80\r\n"};
  std::mt19937 random(11);
  for (int n = 0; n < 2000; ++n) texts.push_back(MostlyPlainText(random));
  for (const std::string& text : texts) {
    const char* const end = text.data() + text.size();
    // Every line start, as the finishing pass may start a run at any of them.
    std::vector<const char*> starts = {text.data()};
    ForEachLine(text, [&](std::string_view line) {
      const char* const next = line_breaks_detail::PastLineEnd(line.data() + line.size(), end);
      if (next < end) starts.push_back(next);
    });
    for (const char* from : starts) {
      for (const bool tabs_expanded : {false, true}) {
        ASSERT_EQ(PlainLinesEnd(from, end, tabs_expanded) - text.data(),
                  PlainLinesEndOneByOne(from, end, tabs_expanded) - text.data())
            << ToNotation(text) << " from " << from - text.data() << " tabs " << tabs_expanded;
      }
    }
  }
}

}  // namespace
}  // namespace vemra
