#include "cli/report_sequencer.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstddef>
#include <functional>
#include <future>
#include <memory>
#include <thread>
#include <vector>

namespace vemra {
namespace {

// Far beyond what the cases take, far below the test runner's own limit.
constexpr std::chrono::seconds kDeadline{30};

// Runs body on a thread of its own and waits for it until the deadline, so
// that a sequencer that leaves a worker or the reader waiting for ever fails
// an assertion instead of holding the test up until the runner kills it. A
// body that misses the deadline is left behind, blocked: it must own all it
// uses.
bool FinishesInTime(std::function<void()> body) {
  auto done = std::make_shared<std::promise<void>>();
  std::future<void> finished = done->get_future();
  std::thread([body = std::move(body), done] {
    body();
    done->set_value();
  }).detach();
  return finished.wait_for(kDeadline) == std::future_status::ready;
}

struct SequencerCase {
  std::size_t inputs;
  std::size_t workers;
  std::size_t window;
};

// What one case shares between its reader and its workers.
struct SequencerRun {
  explicit SequencerRun(const SequencerCase& c) : c(c), sequencer(c.inputs, c.window) {}
  const SequencerCase c;
  ReportSequencer<std::size_t> sequencer;
  std::atomic<std::size_t> read{0};
  std::atomic<bool> too_far_ahead{false};
  std::vector<std::jthread> workers;
};

// Workers finish in a scrambled order (some inputs take longer); the reader
// still gets every report once, in input order, and no worker ever holds an
// input a window or more ahead of the reader.
TEST(ReportSequencer, ReportsComeOutInOrderAndWorkStaysWithinTheWindow) {
  const SequencerCase cases[] = {{0, 2, 1}, {1, 3, 1}, {50, 1, 1}, {200, 4, 3}, {300, 8, 32}};
  for (const SequencerCase& c : cases) {
    auto run = std::make_shared<SequencerRun>(c);
    const bool in_time = FinishesInTime([run] {
      for (std::size_t w = 0; w < run->c.workers; ++w) {
        run->workers.emplace_back([&run = *run] {
          while (const std::optional<std::size_t> index = run.sequencer.Claim()) {
            // read is set just after each TakeNext, so it may lag by one.
            if (*index >= run.read.load() + run.c.window + 1) run.too_far_ahead = true;
            if (*index % 7 == 3) std::this_thread::sleep_for(std::chrono::microseconds(200));
            run.sequencer.Deliver(*index, *index * 10);
          }
        });
      }
      for (std::size_t i = 0; i < run->c.inputs; ++i) {
        const std::size_t report = run->sequencer.TakeNext();
        EXPECT_EQ(report, i * 10) << run->c.inputs << " inputs";
        if (report != i * 10) {
          run->sequencer.Stop();  // the workers may wait for room that never comes
          break;
        }
        run->read = i + 1;
      }
      EXPECT_FALSE(run->sequencer.NextReady());
      run->workers.clear();  // every worker finds no input left and ends
    });
    ASSERT_TRUE(in_time) << c.inputs << " inputs: a worker or the reader still waits";
    EXPECT_FALSE(run->too_far_ahead) << c.inputs << " inputs";
  }
}

struct StopRun {
  ReportSequencer<int> sequencer{100, 2};
  std::atomic<int> claimed{0};
  std::vector<std::jthread> workers;
};

TEST(ReportSequencer, StopEndsTheClaimsOfWaitingWorkers) {
  auto run = std::make_shared<StopRun>();
  const bool in_time = FinishesInTime([run] {
    for (int w = 0; w < 3; ++w) {
      run->workers.emplace_back([&run = *run] {
        while (const std::optional<std::size_t> index = run.sequencer.Claim()) {
          ++run.claimed;
          run.sequencer.Deliver(*index, 1);
        }
      });
    }
    EXPECT_EQ(run->sequencer.TakeNext(), 1);
    run->sequencer.Stop();
    run->workers.clear();  // would never end if a worker still waited for room
  });
  ASSERT_TRUE(in_time) << "a worker still waits after Stop()";
  EXPECT_LE(run->claimed.load(), 3);
}

}  // namespace
}  // namespace vemra
