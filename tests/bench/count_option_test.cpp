#include "bench/count_option.h"

#include <gtest/gtest.h>

#include "base/failures.h"

namespace vemra {
namespace {

TEST(CountOption, TakesOnlyAWholeNumber) {
  EXPECT_EQ(ParseCount("--runs", "0"), 0U);
  EXPECT_EQ(ParseCount("--runs", "1500"), 1500U);
  // A mistyped count must stop the tool, not run it with a count it guessed.
  for (const char* wrong : {"", "x", "5x", "1.5", "-1", " 3", "99999999999999999999999"}) {
    try {
      ParseCount("--runs", wrong);
      ADD_FAILURE() << "took '" << wrong << "'";
    } catch (const Exception& failure) {
      EXPECT_EQ(std::string(failure.what()),
                "option --runs needs a number, not '" + std::string(wrong) + "'");
    }
  }
}

}  // namespace
}  // namespace vemra
