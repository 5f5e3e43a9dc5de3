#include <gtest/gtest.h>

#include <set>

#include "bench/code_base_bench.h"

namespace vemra {
namespace {

// The benchmark's code base is the same every time, its files of about the
// size asked for, each path once and no folder over a hundred files.
TEST(CodeBase, IsTheSameEveryTimeWithFilesOfTheSizeAskedFor) {
  std::vector<CodeBaseFile> first;
  std::vector<CodeBaseFile> second;
  for (std::size_t i = 0; i < 250; ++i) {
    first.push_back(CodeBaseFileAt(i, 10000));
    second.push_back(CodeBaseFileAt(i, 10000));
  }
  std::set<std::string> paths;
  std::set<std::string> folders;
  for (std::size_t i = 0; i < first.size(); ++i) {
    EXPECT_EQ(first[i].bytes, second[i].bytes);
    EXPECT_GT(first[i].bytes.size(), 8000u);
    EXPECT_LT(first[i].bytes.size(), 12000u);
    EXPECT_TRUE(first[i].path.ends_with(".vem"));
    paths.insert(first[i].path);
    folders.insert(first[i].path.substr(0, first[i].path.find('/')));
  }
  EXPECT_EQ(paths.size(), 250u);
  EXPECT_EQ(folders.size(), 3u);
  EXPECT_NE(first[0].bytes, first[1].bytes);
}

}  // namespace
}  // namespace vemra
