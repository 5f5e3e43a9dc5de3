#include "textutil/quote_name.h"

#include <gtest/gtest.h>

#include <string>

namespace vemra {
namespace {

struct QuoteCase {
  std::string name;
  std::string quoted;   // QuoteName
  std::string escaped;  // EscapedName
};

TEST(QuoteName, EscapesOnlyNamesWithControlBytes) {
  using namespace std::string_literals;
  const QuoteCase cases[] = {
      // Ordinary names, quotes, backslashes and bytes above 0x7F among them,
      // stay as they are.
      {"src/a.vem", "src/a.vem", "src/a.vem"},
      {"", "", ""},
      {"a \"b\"\\c \xc3\xa9\xff.vem", "a \"b\"\\c \xc3\xa9\xff.vem", "a \"b\"\\c \xc3\xa9\xff.vem"},
      {"a\nb.vem", "\"a\\nb.vem\"", "a\\nb.vem"},
      {"\a\b\t\n\v\f\r", "\"\\a\\b\\t\\n\\v\\f\\r\"", "\\a\\b\\t\\n\\v\\f\\r"},
      // Once a name is escaped, so are its quotes and backslashes.
      {"q\"\\\x1b[2J", "\"q\\\"\\\\\\033[2J\"", "q\\\"\\\\\\033[2J"},
      {"\x01\x7f\x1f\x80"s, "\"\\001\\177\\037\x80\"", "\\001\\177\\037\x80"},
      {"nul\0x"s, "\"nul\\000x\"", "nul\\000x"},
  };
  for (const QuoteCase& c : cases) {
    EXPECT_EQ(QuoteName(c.name), c.quoted) << c.quoted;
    EXPECT_EQ(EscapedName(c.name), c.escaped) << c.quoted;
  }
}

}  // namespace
}  // namespace vemra
