// The blanks and word bodies of one text, for a walk that passes over the
// whole text from start to end. The text is classified 64 bytes at a time
// into one bit per byte and class, so that passing a run inside a block
// costs a shift and a bit count rather than a fresh look at the bytes: a
// token's start is then known a few cycles after its predecessor's end.
// Both give exactly what SkipBlanks and SkipWordBody give.
#pragma once

#include <algorithm>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

#include "formatter/byte_runs.h"
#include "formatter/char_classes.h"

namespace vemra {

// The runs of one text, through SkipBlanks and SkipWordBody with the same
// meaning as the free functions of byte_runs.h; the text argument must be
// the text the object was made for. The object keeps no copy of the text,
// so that the token loop holds it once.
class BlockRuns {
 public:
  static constexpr std::size_t kBlock = 64;

  explicit BlockRuns(std::string_view text) : block_(text.size() + kBlock) {}

  std::size_t SkipBlanks(std::string_view text, std::size_t from) {
    return Skip<&BlockRuns::blanks_>(text, from);
  }
  std::size_t SkipWordBody(std::string_view text, std::size_t from) {
    return Skip<&BlockRuns::word_body_>(text, from);
  }

 private:
  // First offset at or after from whose byte is outside the class whose
  // bits kMask holds; from is at most the text's size.
  template <std::uint64_t BlockRuns::*kMask>
  std::size_t Skip(std::string_view text, std::size_t from) {
    for (;;) {
      // Below the block in hand the difference wraps round, and counts as
      // outside it too.
      if (from - block_ >= kBlock) {
        if (from >= text.size()) return text.size();
        Classify(text, from - from % kBlock);
      }
      const std::uint64_t outside = ~(this->*kMask) >> (from - block_);
      if (outside != 0) return from + static_cast<std::size_t>(std::countr_zero(outside));
      from = block_ + kBlock;
    }
  }

  struct BlockMasks {
    std::uint64_t blanks;
    std::uint64_t word_body;
  };

  void Classify(std::string_view text, std::size_t block) {
    block_ = block;
    const BlockMasks masks = ClassifyBlock(text, block);
    blanks_ = masks.blanks;
    word_body_ = masks.word_body;
  }

  // The masks of the block of text that starts at the given offset. Bytes
  // past the text's end are classified as NUL bytes, which belong to
  // neither class, so every run stops there. Out of line: it runs once per
  // block, and the object's address never leaves the token loop.
  [[gnu::noinline]] static BlockMasks ClassifyBlock(std::string_view text, std::size_t block) {
    const std::size_t size = std::min(kBlock, text.size() - block);
    if (size == kBlock) return ClassifyBytes(text.data() + block);
    char tail[kBlock] = {};
    std::memcpy(tail, text.data() + block, size);
    return ClassifyBytes(tail);
  }

  static BlockMasks ClassifyBytes(const char* bytes) {
    BlockMasks masks{0, 0};
    if constexpr (byte_runs_detail::kScansSixteen) {
      for (std::size_t at = 0; at < kBlock; at += 16) {
        masks.blanks |= std::uint64_t{byte_runs_detail::kBlankMask(bytes + at)} << at;
        masks.word_body |= std::uint64_t{byte_runs_detail::kWordBodyMask(bytes + at)} << at;
      }
    } else {
      for (std::size_t at = 0; at < kBlock; ++at) {
        masks.blanks |= std::uint64_t{IsInClass(bytes[at], kBlankChar)} << at;
        masks.word_body |= std::uint64_t{IsInClass(bytes[at], kWordBodyChar)} << at;
      }
    }
    return masks;
  }

  std::size_t block_;            // offset of the classified block
  std::uint64_t blanks_ = 0;     // bit i: byte block_ + i is a blank
  std::uint64_t word_body_ = 0;  // bit i: byte block_ + i continues a word
};

// The same two scans without a state, sixteen bytes at a time: for a caller
// that cuts one token here and there.
struct SixteenByteRuns {
  static std::size_t SkipBlanks(std::string_view text, std::size_t from) {
    return vemra::SkipBlanks(text, from);
  }
  static std::size_t SkipWordBody(std::string_view text, std::size_t from) {
    return vemra::SkipWordBody(text, from);
  }
};

}  // namespace vemra
