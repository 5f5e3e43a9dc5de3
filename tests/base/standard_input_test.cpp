// Standard input read whole, from a pipe in pieces of mapped memory or from
// a file read from where it stands.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <string>
#include <thread>

#include "base/posix/piece_buffer.h"
#include "base/read_whole_file.h"
#include "tests/base/test_folder.h"

namespace vemra {
namespace {

using testing::TestFolder;
using testing::WriteBytes;

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
