#include "base/line_ending.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "base/string_list.h"
#include "tests/base/test_folder.h"

namespace vemra {
namespace {

using testing::ReadBytes;
using testing::TestFolder;
using testing::WriteBytes;

const char* Name(LineEnding ending) {
  return ending == LineEnding::kLf ? "LF" : "CR LF";
}

TEST(KeptLineEnding, IsThatOfTheFirstLine) {
  struct Case {
    std::string_view text;
    LineEnding kept;
  };
  const Case cases[] = {
      {"a\nb\r\n", LineEnding::kLf},   {"\n", LineEnding::kLf},
      {"a\n\r", LineEnding::kLf},  // LF CR: the first line ends in the LF alone
      {"a\r\nb\n", LineEnding::kCrLf}, {"a\rb\n", LineEnding::kCrLf},  // a lone CR is not an LF
      {"\r", LineEnding::kCrLf},       {"no line end", LineEnding::kCrLf},
      {"", LineEnding::kCrLf},         {std::string_view("a\0b\nc", 5), LineEnding::kLf},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Name(KeptLineEnding(c.text)), Name(c.kept)) << c.text;
    TStringList list;
    list.AssignText(c.text);
    EXPECT_EQ(Name(list.FirstLineEnding()), Name(c.kept)) << c.text;
  }
}

TEST(CrLfToLf, DropsTheCrOfEveryLineEnd) {
  const std::string nul(1, '\0');
  const std::pair<std::string, std::string> cases[] = {
      {"", ""},
      {"\r\n", "\n"},
      {"a\r\n\r\nbc\r\n", "a\n\nbc\n"},
      {"x" + nul + "\r\n" + nul + "\r\n", "x" + nul + "\n" + nul + "\n"},
      {std::string(100, 'a') + "\r\n" + std::string(3, 'b') + "\r\n",
       std::string(100, 'a') + "\n" + std::string(3, 'b') + "\n"},
  };
  for (const auto& [crlf, lf] : cases) {
    std::string text = crlf;
    CrLfToLf(text);
    EXPECT_EQ(text, lf);
  }
}

// What the list writes after each use, with either line end: every line
// followed by it, whether the list holds its text as given, split or edited.
TEST(ListLineEnding, EveryWayOutWritesTheListsLineEnd) {
  using Use = std::function<void(TStringList&)>;
  const std::pair<const char*, Use> uses[] = {
      {"as given", [](TStringList&) {}},
      {"split", [](TStringList& l) { l.LineCount(); }},
      {"edited", [](TStringList& l) { l.ReplaceLine(0, "a"); }},
      {"line end set twice",
       [](TStringList& l) {
         const LineEnding set = l.GetLineEnding();
         l.SetLineEnding(set == LineEnding::kLf ? LineEnding::kCrLf : LineEnding::kLf);
         l.LineCount();
         l.SetLineEnding(set);
       }},
  };
  const char* const texts[] = {"a\nb\n", "a\r\nb\r\n", "a\rb", "a\nb\r\n"};
  for (const LineEnding ending : {LineEnding::kCrLf, LineEnding::kLf}) {
    std::string expected = "a";
    expected.append(LineEndBytes(ending)).append("b").append(LineEndBytes(ending));
    for (const char* text : texts) {
      for (const auto& [name, use] : uses) {
        TStringList list;
        list.SetLineEnding(ending);
        list.AssignText(text);
        use(list);
        std::string holder;
        EXPECT_EQ(list.JoinedText(holder), expected) << name << " " << Name(ending);
        EXPECT_EQ(list.ReadText(), expected) << name << " " << Name(ending);
        TestFolder folder;
        list.SaveFile(folder / "out.vem");
        EXPECT_EQ(ReadBytes(folder / "out.vem"), expected) << name << " " << Name(ending);
      }
    }
  }
}

// A text adopted as joined with LF is saved as it stands; a loaded text
// that already ends every line in the list's line end is not copied.
TEST(ListLineEnding, AJoinedTextIsWrittenWithoutACopy) {
  TStringList adopted;
  adopted.AdoptJoinedText("a\nb\n", LineEnding::kLf);
  EXPECT_EQ(Name(adopted.GetLineEnding()), Name(LineEnding::kLf));
  std::string holder;
  EXPECT_EQ(adopted.JoinedText(holder), "a\nb\n");
  EXPECT_TRUE(holder.empty());

  TestFolder folder;
  WriteBytes(folder / "in.vem", "x\ny\n");
  TStringList loaded;
  loaded.SetLineEnding(LineEnding::kLf);
  loaded.LoadFile(folder / "in.vem");
  EXPECT_EQ(loaded.JoinedText(holder), "x\ny\n");
  EXPECT_TRUE(holder.empty());
  loaded.SetLineEnding(LineEnding::kCrLf);
  EXPECT_EQ(loaded.JoinedText(holder), "x\r\ny\r\n");
}

}  // namespace
}  // namespace vemra
