#include "base/fd_output_buffer.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cerrno>
#include <ostream>
#include <string>
#include <vector>

#include "tests/base/test_folder.h"

namespace vemra {
namespace {

using testing::ReadBytes;
using testing::TestFolder;

// Writes of every size around the buffer's, in any order, arrive whole and
// in order, whether they are gathered or passed straight through.
TEST(FdOutputBuffer, EveryByteArrivesInOrder) {
  const std::vector<std::vector<std::size_t>> sequences = {
      {1, 2, 3}, {65536}, {65535, 1, 1}, {10, 65536, 10}, {70000, 1, 200000}, {65000, 1000, 500},
  };
  for (const std::vector<std::size_t>& sizes : sequences) {
    TestFolder folder;
    const std::string path = folder / "out";
    const int fd = open(path.c_str(), O_WRONLY | O_CREAT, 0600);
    std::string expected;
    {
      FdOutputBuffer buffer(fd);
      std::ostream out(&buffer);
      for (std::size_t i = 0; i < sizes.size(); ++i) {
        const std::string piece(sizes[i], static_cast<char>('a' + i));
        out << piece;
        expected += piece;
      }
      out << '.' << std::flush;
      expected += '.';
      EXPECT_TRUE(out.good());
      EXPECT_EQ(buffer.Error(), 0);
    }
    close(fd);
    EXPECT_EQ(ReadBytes(path), expected) << sizes.front();
  }
}

// A full device is a failure the stream shows, with its reason, and stays.
TEST(FdOutputBuffer, AFailedWriteLeavesTheStreamBadWithTheReason) {
  if (!testing::OnLinux()) GTEST_SKIP() << "needs Linux: /dev/full";
  const int fd = open("/dev/full", O_WRONLY);
  ASSERT_GE(fd, 0);
  FdOutputBuffer buffer(fd);
  std::ostream out(&buffer);
  out << "a line\n";
  EXPECT_TRUE(out.good()) << "gathered, not yet written";
  out.flush();
  EXPECT_FALSE(out.good());
  EXPECT_EQ(buffer.Error(), ENOSPC);
  out.clear();
  out << std::string(100000, 'x') << std::flush;
  EXPECT_FALSE(out.good());
  EXPECT_EQ(buffer.Error(), ENOSPC);
  close(fd);
}

}  // namespace
}  // namespace vemra
