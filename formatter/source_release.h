// The memory under a text the layout reads once, given back to the system a
// little behind the layout as it goes through the text, so that a large
// text and its laid-out form never stand in memory whole at the same time:
// the peak is the larger of the two, not their sum.
#pragma once

#include <algorithm>
#include <cstddef>

#include "base/page_release.h"
#include "formatter/block_facts.h"

namespace vemra {

// What becomes of the bytes of a text once the layout has passed them: kept
// as they are, or given back to the system, for a caller that reads them no
// more (they read as zeros afterwards).
enum class LaidOutBytes { kKept, kReleased };

class SourceRelease {
 public:
  // Releases nothing.
  SourceRelease() = default;
  // Releases within [begin, begin + size), bytes the caller owns and will
  // not read once they are laid out.
  SourceRelease(char* begin, std::size_t size)
      : begin_(begin), end_(begin + size), pages_(begin, size) {}

  // Called once the layout has laid out the tokens it was handed last:
  // every byte in front of laid_out_end (where the cutter says the tokens
  // handed over end) is passed, bar those from needed on (nullptr: none),
  // which a region still takes from the text. A place outside the bytes
  // given passes nothing.
  void Passed(const char* laid_out_end, const char* needed) {
    if (begin_ == nullptr || laid_out_end < begin_ || laid_out_end > end_) return;
    const char* const passed = needed != nullptr ? std::min(laid_out_end, needed) : laid_out_end;
    if (blocks_ != nullptr) blocks_->CountLinesBefore(passed);
    pages_.Passed(passed);
  }

  // The record of blocks whose line numbers are counted before bytes go.
  void CountLinesFor(BlockFacts* blocks) { blocks_ = blocks; }

 private:
  const char* begin_ = nullptr;
  const char* end_ = nullptr;
  PageRelease pages_;
  BlockFacts* blocks_ = nullptr;
};

}  // namespace vemra
