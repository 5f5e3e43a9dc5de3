#include "base/conversions.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "base/expand_path.h"
#include "base/failures.h"
#include "base/system_error_text.h"
#include "tests/base/test_folder.h"

namespace vemra {
namespace {

struct IntegerCase {
  std::string text;
  std::int32_t value;
};

TEST(ParseInteger, AcceptsDecimalAndHexadecimalForms) {
  const IntegerCase cases[] = {
      {"2", 2},
      {"  7", 7},
      {"+5", 5},
      {"-0", 0},
      {"007", 7},
      {"0", 0},
      {"$1F", 31},
      {"0x1f", 31},
      {"0X1F", 31},
      {"X1F", 31},
      {"x1f", 31},
      {"-$10", -16},
      {"$FFFFFFFF", -1},
      {"$80000000", INT32_MIN},
      {"$7fffffff", INT32_MAX},
      {"2147483647", INT32_MAX},
      {"-2147483648", INT32_MIN},
      {"000000000000002147483647", INT32_MAX},
  };
  for (const IntegerCase& c : cases) EXPECT_EQ(ParseInteger(c.text), c.value) << c.text;
}

TEST(ParseInteger, RefusesEverythingElseNamingTheWholeText) {
  const std::string refused[] = {
      "",           " ",   "-",   "$",   "0x", "7 ",  "1.0",  "2147483648",  "-2147483649",
      "$100000000", "+-5", "\t5", "- 5", "5a", "$1G", "0x-1", "99999999999", std::string("1\0", 2)};
  for (const std::string& text : refused) {
    try {
      ParseInteger(text);
      ADD_FAILURE() << "accepted '" << text << "'";
    } catch (const EConvertError& failure) {
      EXPECT_EQ(failure.ClassName(), "EConvertError");
      EXPECT_EQ(failure.Message(), "'" + text + "' is not a valid integer value");
    }
  }
}

struct BooleanCase {
  std::string text;
  bool value;
};

TEST(ParseBoolean, TakesNumbersAndTheWordsTrueAndFalse) {
  const BooleanCase cases[] = {
      {"1", true},    {"-1", true},     {"2.5", true},       {"1e3", true},    {" 3 ", true},
      {"true", true}, {"TRUE", true},   {"True", true},      {"0", false},     {"0.0", false},
      {"-0", false},  {".", false},     {"-.", false},       {"false", false}, {"FALSE", false},
      {".5", true},   {"5.", true},     {"1e", true},        {"0e5", false},   {"+0.000", false},
      {"1E-3", true}, {"1e+499", true}, {"0.0e4999", false},
  };
  for (const BooleanCase& c : cases) EXPECT_EQ(ParseBoolean(c.text, "."), c.value) << c.text;
}

TEST(ParseBoolean, RefusesEverythingElseNamingTheWholeText) {
  const std::string refused[] = {"yes", "",       "on",     "e5",    "+",     "1 2", "\t1",
                                 "1,5", "1e5000", "1e4999", "truex", " true", "--1", "0x1"};
  for (const std::string& text : refused) {
    try {
      ParseBoolean(text, ".");
      ADD_FAILURE() << "accepted '" << text << "'";
    } catch (const EConvertError& failure) {
      EXPECT_EQ(failure.Message(), "'" + text + "' is not a valid boolean value");
    }
  }
}

TEST(ParseBoolean, UsesTheGivenDecimalSeparator) {
  EXPECT_TRUE(ParseBoolean("0,5", ","));
  EXPECT_FALSE(ParseBoolean("0,0", ","));
  EXPECT_THROW(ParseBoolean("0.5", ","), EConvertError);
  EXPECT_TRUE(
      ParseBoolean("0\xD9\xAB"
                   "5",
                   "\xD9\xAB"));  // a separator of two bytes
}

TEST(SmallConversions, IntegerToTextTrimTrailingLowerAscii) {
  EXPECT_EQ(IntegerToText(0), "0");
  EXPECT_EQ(IntegerToText(2), "2");
  EXPECT_EQ(IntegerToText(-1), "-1");
  EXPECT_EQ(IntegerToText(INT32_MIN), "-2147483648");

  EXPECT_EQ(TrimTrailing("ab \t\r"), "ab");
  EXPECT_EQ(TrimTrailing(" \t"), "");
  EXPECT_EQ(TrimTrailing(" ab"), " ab");
  EXPECT_EQ(TrimTrailing(std::string("a\0\x1f\x20", 4)), "a");
  EXPECT_EQ(TrimTrailing("a\x7f"), "a\x7f");
  EXPECT_EQ(TrimTrailing("a\xa0"), "a\xa0");

  EXPECT_EQ(LowerAscii("#DeFine"), "#define");
  EXPECT_EQ(LowerAscii("\xC4\xE4@[`{"), "\xC4\xE4@[`{");
  EXPECT_EQ(LowerAscii(std::string("A\0Z", 3)), std::string("a\0z", 3));
}

TEST(SystemErrorText, NamesTheReasonAsLinuxWordsIt) {
  if (!testing::OnLinux()) GTEST_SKIP() << "needs Linux: its wording of the reasons";
  EXPECT_EQ(SystemErrorText(ENOENT), "No such file or directory");
}

TEST(SystemErrorText, HasNoTrailingFullStopOrLineEnd) {
  for (int code = 1; code < 134; ++code) {
    const std::string text = SystemErrorText(code);
    ASSERT_FALSE(text.empty()) << code;
    EXPECT_NE(text.back(), '.') << code;
    EXPECT_GT(static_cast<unsigned char>(text.back()), 0x20) << code;
  }
}

struct PathCase {
  std::string name;
  std::string full;
};

TEST(ExpandPath, ResolvesDotsAndSlashesByNameAlone) {
  if (!testing::OnLinux()) GTEST_SKIP() << "needs Linux: POSIX paths";
  const PathCase cases[] = {
      {"/a/b/../c", "/a/c"},
      {"/a/./b", "/a/b"},
      {"//a//b", "/a/b"},
      {"/..", "/"},
      {"/", "/"},
      {"/a/b/", "/a/b/"},
      {"/missing/../x.vem", "/x.vem"},
      {"/a/..", "/"},
  };
  for (const PathCase& c : cases) EXPECT_EQ(ExpandPath(c.name), c.full) << c.name;
  const std::string relative = ExpandPath("x/../y.vem");
  EXPECT_EQ(relative.front(), '/');
  EXPECT_TRUE(relative.ends_with("/y.vem")) << relative;
  EXPECT_EQ(relative.find("/../"), std::string::npos) << relative;
}

// Windows names: a drive's root, either slash, doubled separators, and a
// trailing one.
TEST(ExpandPath, ResolvesWindowsNamesByNameAlone) {
  if (testing::OnLinux()) GTEST_SKIP() << "needs Windows: its drives and separators";
  const PathCase cases[] = {
      {"C:\\a\\b\\..\\c", "C:\\a\\c"}, {"C:/a/./b", "C:\\a\\b"},
      {"C:\\a\\\\b", "C:\\a\\b"},      {"C:\\..", "C:\\"},
      {"C:\\a\\b\\", "C:\\a\\b\\"},    {"C:\\missing\\..\\x.vem", "C:\\x.vem"},
  };
  for (const PathCase& c : cases) EXPECT_EQ(ExpandPath(c.name), c.full) << c.name;
}

// ".." after a link to a folder leads where the file system goes: to the
// parent of the folder linked to.
TEST(ExpandPath, ResolvesDotDotAfterALinkAsTheFileSystemDoes) {
  if (!testing::OnLinux()) GTEST_SKIP() << "needs Linux: POSIX paths and a link to a folder";
  testing::TestFolder folder;
  std::filesystem::create_directories(folder / "real/sub");
  std::filesystem::create_directory_symlink("real/sub", folder / "link");
  const PathCase cases[] = {
      {folder / "link/../f.vem", folder / "real/f.vem"},
      {folder / "link/../sub/../g.vem", folder / "real/g.vem"},
      {folder / "link/f.vem", folder / "link/f.vem"},  // links without ".." stay
      {folder / "link/..", folder / "real"},
      {folder / "missing/../f.vem", folder / "f.vem"},
  };
  for (const PathCase& c : cases) EXPECT_EQ(ExpandPath(c.name), c.full) << c.name;
}

}  // namespace
}  // namespace vemra
