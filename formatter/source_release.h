// The memory under a text the layout reads once, given back to the system a
// little behind the layout as it goes through the text, so that a large
// text and its laid-out form never stand in memory whole at the same time:
// the peak is the larger of the two, not their sum.
#pragma once

#include <cstddef>
#include <span>

#include "base/page_release.h"
#include "formatter/cut_token_record.h"

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
  // every byte in front of the end of the last of them that lies in the
  // bytes given is passed, bar those from needed on (nullptr: none), which
  // a region still takes from the text. Tokens are views into the text,
  // but a line end's tokens are not; a batch of nothing else passes nothing.
  void Passed(std::span<const CutTokenRecord> laid_out, const char* needed);

 private:
  // The end of the last token of laid_out that lies in the bytes given, or
  // nullptr.
  const char* LastEndWithin(std::span<const CutTokenRecord> laid_out) const;

  const char* begin_ = nullptr;
  const char* end_ = nullptr;
  PageRelease pages_;
};

}  // namespace vemra
