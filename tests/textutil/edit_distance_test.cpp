#include "textutil/edit_distance.h"

#include <gtest/gtest.h>

#include <string>

namespace vemra {
namespace {

struct DistanceCase {
  std::string a;
  std::string b;
  std::size_t distance;
};

TEST(EditDistance, CountsInsertionsDeletionsReplacementsAndSwaps) {
  const DistanceCase cases[] = {
      {"", "", 0},
      {"", "check", 5},
      {"tabs", "tabs", 0},
      {"tabwith", "tabwidth", 1},    // one byte left out
      {"tabwidthh", "tabwidth", 1},  // one too many
      {"chekc", "check", 1},         // neighbours swapped
      {"quite", "quiet", 1},
      {"ecxt", "ext", 1},
      {"x", "ext", 2},
      {"abc", "cab", 2},  // a swap cannot be edited again
      {"verbose", "version", 4},
      {std::string("a\0b", 3),
       std::string("a\xff"
                   "b",
                   3),
       1},
  };
  for (const DistanceCase& c : cases) {
    EXPECT_EQ(EditDistance(c.a, c.b), c.distance) << c.a << " / " << c.b;
    EXPECT_EQ(EditDistance(c.b, c.a), c.distance) << c.b << " / " << c.a;
  }
}

}  // namespace
}  // namespace vemra
