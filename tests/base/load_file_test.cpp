#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <thread>

#include "base/failures.h"
#include "base/posix/piece_buffer.h"
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
      {"missing.vem", "No such file or directory"},
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

// Bytes that differ from their neighbours, so that a piece lost, doubled or
// out of order shows.
std::string Counted(std::size_t size) {
  std::string bytes(size, '\0');
  for (std::size_t i = 0; i < size; ++i) bytes[i] = static_cast<char>(i % 251);
  return bytes;
}

// Standard input, from a pipe or from a file read from where it stands,
// gives exactly its bytes, at every size around the pieces a pipe is read
// in, with room for the line end the formatter may add.
TEST(ReadStandardInput, GivesEveryByteAcrossPieces) {
  constexpr std::size_t kPiece = PieceBuffer::kPieceSize;
  TestFolder folder;
  for (const std::size_t size :
       {std::size_t{0}, std::size_t{1}, kPiece - 1, kPiece, kPiece + 1, 3 * kPiece + 5}) {
    const std::string bytes = Counted(size);
    int ends[2];
    ASSERT_EQ(pipe(ends), 0);
    std::thread writer([&bytes, &ends] {
      EXPECT_EQ(write(ends[1], bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
      close(ends[1]);
    });
    const std::string from_pipe = ReadStandardInput(ends[0]);
    writer.join();
    close(ends[0]);
    EXPECT_TRUE(from_pipe == bytes) << "pipe, " << size;
    EXPECT_GE(from_pipe.capacity(), size + 2) << "pipe, " << size;

    // A file whose first bytes were read already: the rest is what counts.
    WriteBytes(folder / "in.vem", "xyz" + bytes);
    const int fd = open((folder / "in.vem").c_str(), O_RDONLY);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(lseek(fd, 3, SEEK_SET), 3);
    const std::string from_file = ReadStandardInput(fd);
    close(fd);
    EXPECT_TRUE(from_file == bytes) << "file, " << size;
    EXPECT_GE(from_file.capacity(), size + 2) << "file, " << size;
  }
}

}  // namespace
}  // namespace vemra
