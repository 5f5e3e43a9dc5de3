#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "base/failures.h"
#include "base/read_whole_file.h"
#include "base/string_list.h"
#include "tests/base/test_folder.h"

namespace vemra {
namespace {

using testing::ReadBytes;
using testing::TestFolder;
using testing::WriteBytes;

TEST(LoadFile, EveryByteSurvivesLoadingAndSaving) {
  TestFolder folder;
  std::string bytes;
  for (int byte = 0; byte < 256; ++byte) bytes += static_cast<char>(byte);
  bytes += bytes;  // NUL, CR, LF and high bytes, twice
  WriteBytes(folder / "in.vem", bytes);
  TStringList list;
  list.LoadFile(folder / "in.vem");
  TStringList expected;
  expected.AssignText(bytes);
  EXPECT_EQ(list.ReadText(), expected.ReadText());
  list.SaveFile(folder / "out.vem");
  EXPECT_EQ(ReadBytes(folder / "out.vem"), expected.ReadText());
}

TEST(LoadFile, EmptyFileGivesNoLinesAndSavesAsAnEmptyFile) {
  TestFolder folder;
  WriteBytes(folder / "empty.vem", "");
  TStringList list;
  list.AssignText("left over");
  list.LoadFile(folder / "empty.vem");
  EXPECT_EQ(list.LineCount(), 0);
  list.SaveFile(folder / "out.vem");
  EXPECT_EQ(ReadBytes(folder / "out.vem"), "");
}

struct RefusedLoad {
  std::string name;  // in the test folder
  std::string reason;
};

TEST(LoadFile, RefusalsNameThePathAndKeepThePreviousLines) {
  TestFolder folder;
  std::filesystem::create_directory(folder / "sub");
  // A sparse file of exactly 2 GiB: refused without reading a byte.
  WriteBytes(folder / "huge.vem", "");
  std::filesystem::resize_file(folder / "huge.vem", 2147483648LL);
  const RefusedLoad cases[] = {
      {"missing.vem", testing::NotFoundText()},
      {"sub", "It is not a regular file"},
      {"huge.vem", "File too large"},
  };
  for (const RefusedLoad& c : cases) {
    TStringList list;
    list.AssignText("kept");
    try {
      list.LoadFile(folder / c.name);
      ADD_FAILURE() << c.name << " loaded";
    } catch (const EFOpenError& failure) {
      EXPECT_EQ(failure.Message(), "Cannot open file \"" + (folder / c.name) + "\". " + c.reason);
    }
    EXPECT_EQ(list.ReadText(), "kept\r\n") << c.name;
  }
}

}  // namespace
}  // namespace vemra
