#include "cli/report_sequencer.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstddef>
#include <thread>
#include <vector>

namespace vemra {
namespace {

struct SequencerCase {
  std::size_t inputs;
  std::size_t workers;
  std::size_t window;
};

// Workers finish in a scrambled order (some inputs take longer); the reader
// still gets every report once, in input order, and no worker ever holds an
// input a window or more ahead of the reader.
TEST(ReportSequencer, ReportsComeOutInOrderAndWorkStaysWithinTheWindow) {
  const SequencerCase cases[] = {{0, 2, 1}, {1, 3, 1}, {50, 1, 1}, {200, 4, 3}, {300, 8, 32}};
  for (const SequencerCase& c : cases) {
    ReportSequencer<std::size_t> sequencer(c.inputs, c.window);
    std::atomic<std::size_t> read{0};
    std::atomic<bool> too_far_ahead{false};
    std::vector<std::jthread> workers;
    for (std::size_t w = 0; w < c.workers; ++w) {
      workers.emplace_back([&] {
        while (const std::optional<std::size_t> index = sequencer.Claim()) {
          // read is set just after each TakeNext, so it may lag by one.
          if (*index >= read.load() + c.window + 1) too_far_ahead = true;
          if (*index % 7 == 3) std::this_thread::sleep_for(std::chrono::microseconds(200));
          sequencer.Deliver(*index, *index * 10);
        }
      });
    }
    for (std::size_t i = 0; i < c.inputs; ++i) {
      ASSERT_EQ(sequencer.TakeNext(), i * 10) << c.inputs << " inputs";
      read = i + 1;
    }
    EXPECT_FALSE(sequencer.NextReady());
    workers.clear();  // every worker finds no input left and ends
    EXPECT_FALSE(too_far_ahead) << c.inputs << " inputs";
  }
}

TEST(ReportSequencer, StopEndsTheClaimsOfWaitingWorkers) {
  ReportSequencer<int> sequencer(100, 2);
  std::vector<std::jthread> workers;
  std::atomic<int> claimed{0};
  for (int w = 0; w < 3; ++w) {
    workers.emplace_back([&] {
      while (const std::optional<std::size_t> index = sequencer.Claim()) {
        ++claimed;
        sequencer.Deliver(*index, 1);
      }
    });
  }
  EXPECT_EQ(sequencer.TakeNext(), 1);
  sequencer.Stop();
  workers.clear();  // would never end if a worker still waited for room
  EXPECT_LE(claimed.load(), 3);
}

}  // namespace
}  // namespace vemra
