#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "base/string_list.h"
#include "bench/program_generator.h"
#include "formatter/format_source.h"

namespace vemra {
namespace {

// Every block a generated program opens must be closed again, or the corpus
// would be full of texts that end inside an open block. Wrapped in a "while"
// block, a balanced program leaves the closing lines at their own level: a
// program that opens more blocks than it closes pushes them right, one that
// closes more pulls them left.
TEST(GeneratedProgramTest, OpensAndClosesTheSameBlocks) {
  for (std::uint64_t seed = 1; seed <= 300; ++seed) {
    std::string text = "while wrapped\r\n" + GenerateProgram(seed, 100 + seed * 20);
    text += "\r\nlast\r\nend\r\n";
    TStringList lines;
    lines.AssignText(text);
    FormatSource(lines, 2, true, true);
    const std::int32_t count = lines.LineCount();
    ASSERT_GE(count, 2);
    EXPECT_EQ(lines.LineAt(count - 2), "\tlast") << "seed " << seed;
    EXPECT_EQ(lines.LineAt(count - 1), "end") << "seed " << seed;
  }
}

}  // namespace
}  // namespace vemra
