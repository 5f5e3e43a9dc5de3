// Work runs out of order, reports come out in order. Workers claim the
// inputs one after another and may finish them in any order; one reader
// takes the reports in the order of the inputs. A worker never runs more
// than a window of inputs ahead of the reader, so that the reports waiting
// to be read (and whatever they hold) stay few however many inputs there
// are.
#pragma once

#include <condition_variable>
#include <cstddef>
#include <mutex>
#include <optional>
#include <vector>

namespace vemra {

template <typename Report>
class ReportSequencer {
 public:
  // For inputs 0 to count - 1; window is at least 1.
  ReportSequencer(std::size_t count, std::size_t window) : count_(count), slots_(window) {}

  // The next input to work on; none when every input is claimed or Stop()
  // was called. Waits while that input is a window ahead of the reader.
  std::optional<std::size_t> Claim() {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this] { return stopped_ || next_claim_ < next_read_ + slots_.size(); });
    if (stopped_ || next_claim_ == count_) return std::nullopt;
    return next_claim_++;
  }

  // Hands in the report of a claimed input.
  void Deliver(std::size_t index, Report report) {
    {
      const std::lock_guard lock(mutex_);
      slots_[index % slots_.size()] = std::move(report);
    }
    changed_.notify_all();
  }

  // Whether the report of the next input in order has been handed in.
  bool NextReady() {
    const std::lock_guard lock(mutex_);
    return next_read_ < count_ && slots_[next_read_ % slots_.size()].has_value();
  }

  // The report of the next input in order, once it is handed in; there must
  // be one left.
  Report TakeNext() {
    std::unique_lock lock(mutex_);
    std::optional<Report>& slot = slots_[next_read_ % slots_.size()];
    changed_.wait(lock, [&slot] { return slot.has_value(); });
    Report report = std::move(*slot);
    slot.reset();
    ++next_read_;
    lock.unlock();
    changed_.notify_all();
    return report;
  }

  // No input is handed out any more; workers finish what they hold.
  void Stop() {
    {
      const std::lock_guard lock(mutex_);
      stopped_ = true;
    }
    changed_.notify_all();
  }

 private:
  std::mutex mutex_;
  std::condition_variable changed_;           // a claim, delivery, read or stop
  const std::size_t count_;                   // inputs in all
  std::vector<std::optional<Report>> slots_;  // input i's report waits in slot i % window
  std::size_t next_claim_ = 0;                // first input not yet claimed
  std::size_t next_read_ = 0;                 // first input whose report is not yet taken
  bool stopped_ = false;                      // Stop() was called
};

}  // namespace vemra
