#include "formatter/plain_lines.h"

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace vemra {
namespace {

constexpr std::ptrdiff_t kBlock = 64;

// Bit i of each mask stands for byte i of a 64-byte block.
struct BlockBytes {
  std::uint64_t cr = 0;
  std::uint64_t lf = 0;
  std::uint64_t tab = 0;
  std::uint64_t low = 0;  // of value 0x20 or lower
};

#if defined(__SSE2__)
// Whether the 64 bytes at `at` hold a byte below 0x20: a CR, an LF, a TAB
// or another control byte. Long lines are mostly blocks without one,
// which can make no line flawed and end none.
bool HoldsControlByte(const char* at) {
  __m128i found = _mm_setzero_si128();
  for (std::ptrdiff_t k = 0; k < kBlock; k += 16) {
    const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(at + k));
    found = _mm_or_si128(found, _mm_cmpeq_epi8(_mm_min_epu8(bytes, _mm_set1_epi8(0x1F)), bytes));
  }
  return _mm_movemask_epi8(found) != 0;
}

std::uint64_t MaskOf(__m128i matches, std::ptrdiff_t shift) {
  return std::uint64_t{static_cast<unsigned>(_mm_movemask_epi8(matches))} << shift;
}

BlockBytes Classify(const char* at) {
  BlockBytes block;
  for (std::ptrdiff_t k = 0; k < kBlock; k += 16) {
    const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(at + k));
    block.cr |= MaskOf(_mm_cmpeq_epi8(bytes, _mm_set1_epi8('\r')), k);
    block.lf |= MaskOf(_mm_cmpeq_epi8(bytes, _mm_set1_epi8('\n')), k);
    block.tab |= MaskOf(_mm_cmpeq_epi8(bytes, _mm_set1_epi8('\t')), k);
    // Unsigned: a byte is at most 0x20 when the smaller of it and 0x20 is itself.
    const __m128i low = _mm_cmpeq_epi8(_mm_min_epu8(bytes, _mm_set1_epi8(0x20)), bytes);
    block.low |= MaskOf(low, k);
  }
  return block;
}
#else
bool HoldsControlByte(const char*) {
  return true;
}

BlockBytes Classify(const char* at) {
  BlockBytes block;
  for (std::ptrdiff_t k = 0; k < kBlock; ++k) {
    const auto byte = static_cast<unsigned char>(at[k]);
    block.cr |= std::uint64_t{byte == '\r'} << k;
    block.lf |= std::uint64_t{byte == '\n'} << k;
    block.tab |= std::uint64_t{byte == '\t'} << k;
    block.low |= std::uint64_t{byte <= 0x20} << k;
  }
  return block;
}
#endif

// What the block's masks need of the bytes around it.
struct Neighbours {
  std::uint64_t cr_before = 0;   // 1: the byte before the block is a CR
  std::uint64_t low_before = 1;  // 1: it is of value 0x20 or lower, or the run starts here
  std::uint64_t lf_after = 0;    // 1: the byte after the block is an LF
};

// Bit i set where byte i of the block makes its line not plain: a CR not
// followed by LF, a CR right behind a byte of value 0x20 or lower (which
// ends an empty line or one that trimming shortens), an LF not behind a CR,
// or a TAB that is to be expanded.
std::uint64_t Flaws(const BlockBytes& block, const Neighbours& around, bool tabs_expanded) {
  const std::uint64_t lone_cr = block.cr & ~((block.lf >> 1) | (around.lf_after << 63));
  const std::uint64_t cr_after_low = block.cr & ((block.low << 1) | around.low_before);
  const std::uint64_t lone_lf = block.lf & ~((block.cr << 1) | around.cr_before);
  return lone_cr | cr_after_low | lone_lf | (tabs_expanded ? block.tab : 0);
}

// Just behind the last LF of those in lf, in the block at `at`; lf is not 0.
const char* BehindLastLineFeed(const char* at, std::uint64_t lf) {
  return at + (kBlock - std::countl_zero(lf));
}

}  // namespace

const char* PlainLinesEnd(const char* from, const char* end, bool tabs_expanded) {
  // An empty line is never plain: in a run of them, each one is settled
  // without looking at a block.
  if (from < end && (*from == '\r' || *from == '\n')) return from;
  const char* line_start = from;  // the start of the line the scan is in
  Neighbours around;
  for (const char* at = from; at < end; at += kBlock) {
    BlockBytes block;
    if (end - at >= kBlock) {
      if (!HoldsControlByte(at)) {
        around.cr_before = 0;
        around.low_before = static_cast<unsigned char>(at[kBlock - 1]) <= 0x20;
        continue;
      }
      block = Classify(at);
      around.lf_after = end - at > kBlock && at[kBlock] == '\n';
    } else {
      // The last bytes, followed by NULs, which end no line and flaw none.
      char tail[kBlock] = {};
      std::memcpy(tail, at, static_cast<std::size_t>(end - at));
      block = Classify(tail);
      around.lf_after = 0;
    }
    const std::uint64_t flaws = Flaws(block, around, tabs_expanded);
    if (flaws != 0) {
      const std::uint64_t lf_before_flaw = block.lf & ((flaws & -flaws) - 1);
      return lf_before_flaw != 0 ? BehindLastLineFeed(at, lf_before_flaw) : line_start;
    }
    if (block.lf != 0) line_start = BehindLastLineFeed(at, block.lf);
    around.cr_before = block.cr >> 63;
    around.low_before = block.low >> 63;
  }
  // A last line without a line end is not plain; otherwise this is end.
  return line_start;
}

}  // namespace vemra
