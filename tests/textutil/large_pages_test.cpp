// The large-page advice is only a hint: whatever range it is given, the
// bytes already in the buffer must stay as they are.
#include "textutil/large_pages.h"

#include <gtest/gtest.h>

#include <string>

namespace vemra {
namespace {

TEST(AdviseLargePages, KeepsTheBytesOfAnyRange) {
  constexpr std::size_t kMegabyte = std::size_t{1} << 20;
  struct Case {
    std::size_t offset;
    std::size_t size;
  };
  const Case cases[] = {{0, 0},         {0, 16 * kMegabyte},   {1, 5 * kMegabyte},
                        {3, kMegabyte}, {4095, 9 * kMegabyte}, {0, 4 * kMegabyte}};
  std::string buffer(18 * kMegabyte, '\0');
  for (std::size_t i = 0; i < buffer.size(); ++i) buffer[i] = static_cast<char>(i * 7 + i / 4096);
  const std::string before = buffer;
  for (const Case& c : cases) {
    AdviseLargePages(buffer.data() + c.offset, c.size);
    EXPECT_EQ(buffer, before) << c.offset << " " << c.size;
  }
  AdviseLargePages(nullptr, 0);
}

}  // namespace
}  // namespace vemra
