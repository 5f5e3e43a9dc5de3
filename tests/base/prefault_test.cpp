#include "base/prefault.h"

#include <gtest/gtest.h>

#include <string>

namespace vemra {
namespace {

// Asking for pages is only a hint, but the resize around it is not: the
// bytes already there stay, and the string ends up exactly the size asked
// for, within its reservation or past it (where the string moves).
TEST(ResizePrefaulted, KeepsTheBytesAndTakesTheSize) {
  constexpr std::size_t kMegabyte = std::size_t{1} << 20;
  struct Case {
    std::size_t reserved;
    std::size_t size;
  };
  for (const Case& c : {Case{3 * kMegabyte, kMegabyte + 5}, Case{3 * kMegabyte, 3 * kMegabyte},
                        Case{kMegabyte, 3 * kMegabyte}, Case{kMegabyte, 10}, Case{0, 0}}) {
    std::string bytes;
    bytes.reserve(c.reserved);
    bytes.assign(c.size < 100 ? c.size : 100, 'x');
    const std::string before = bytes;
    ResizePrefaulted(bytes, c.size);
    ASSERT_EQ(bytes.size(), c.size) << c.reserved;
    EXPECT_EQ(bytes.substr(0, before.size()), before);
    EXPECT_EQ(bytes.find_first_not_of('\0', before.size()), std::string::npos);
  }
}

}  // namespace
}  // namespace vemra
