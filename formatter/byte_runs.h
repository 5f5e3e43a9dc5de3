// The two runs the tokenizer passes most often: the blanks in front of a
// token and the body of a word. A byte-by-byte loop pays a mispredicted
// branch where each run ends, and runs of varying length end somewhere new
// every time; with SSE2 sixteen bytes are classified at once and the run's
// end is read from a bit mask, so a short run costs no branch at all.
// Both give exactly what a loop over the tokenizer's class table gives.
#pragma once

#include <cstddef>
#include <string_view>

#include "formatter/char_classes.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace vemra {

// First offset at or after from whose byte is outside cls, byte by byte:
// for the runs too rare or too short to pay for anything more.
inline std::size_t SkipClass(std::string_view text, std::size_t from, CharClass cls) {
  while (from < text.size() && IsInClass(text[from], cls)) ++from;
  return from;
}

namespace byte_runs_detail {

// Bit i of a mask is set when byte i of the sixteen at its argument is in
// the class; without SSE2 there are no masks and runs go byte by byte.
using SixteenByteMask = unsigned (*)(const char*);

#if defined(__SSE2__)
inline unsigned BlankMask(const char* at) {
  const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(at));
  const __m128i blanks = _mm_or_si128(_mm_cmpeq_epi8(bytes, _mm_set1_epi8(' ')),
                                      _mm_cmpeq_epi8(bytes, _mm_set1_epi8('\t')));
  return static_cast<unsigned>(_mm_movemask_epi8(blanks));
}

// True bytes for lo <= byte <= hi, for bounds within 0x01..0x7E; bytes from
// 0x80 up compare as negative and fall outside.
inline __m128i InRange(__m128i bytes, char lo, char hi) {
  return _mm_and_si128(_mm_cmpgt_epi8(bytes, _mm_set1_epi8(static_cast<char>(lo - 1))),
                       _mm_cmplt_epi8(bytes, _mm_set1_epi8(static_cast<char>(hi + 1))));
}

inline __m128i Equal(__m128i bytes, char c) {
  return _mm_cmpeq_epi8(bytes, _mm_set1_epi8(c));
}

// The word body: letters, digits and _ . # : backslash.
inline unsigned WordBodyMask(const char* at) {
  const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(at));
  const __m128i letters = InRange(_mm_or_si128(bytes, _mm_set1_epi8(0x20)), 'a', 'z');
  __m128i body = _mm_or_si128(letters, InRange(bytes, '0', '9'));
  body = _mm_or_si128(body, _mm_or_si128(Equal(bytes, '_'), Equal(bytes, '.')));
  body = _mm_or_si128(body, _mm_or_si128(Equal(bytes, '#'), Equal(bytes, ':')));
  body = _mm_or_si128(body, Equal(bytes, '\\'));
  return static_cast<unsigned>(_mm_movemask_epi8(body));
}

inline constexpr bool kScansSixteen = true;
inline constexpr SixteenByteMask kBlankMask = BlankMask;
inline constexpr SixteenByteMask kWordBodyMask = WordBodyMask;
#else
inline constexpr bool kScansSixteen = false;
inline constexpr SixteenByteMask kBlankMask = nullptr;
inline constexpr SixteenByteMask kWordBodyMask = nullptr;
#endif

// First offset at or after from whose byte is outside cls, whose members
// in_class_mask finds sixteen bytes at a time.
template <SixteenByteMask in_class_mask>
std::size_t SkipRun(std::string_view text, std::size_t from, CharClass cls) {
  if constexpr (kScansSixteen) {
    while (from + 16 <= text.size()) {
      const unsigned outside = ~in_class_mask(text.data() + from) & 0xFFFFu;
      if (outside != 0) return from + static_cast<std::size_t>(__builtin_ctz(outside));
      from += 16;
    }
  }
  return SkipClass(text, from, cls);
}

}  // namespace byte_runs_detail

// First offset at or after from whose byte is no blank (space or TAB).
inline std::size_t SkipBlanks(std::string_view text, std::size_t from) {
  return byte_runs_detail::SkipRun<byte_runs_detail::kBlankMask>(text, from, kBlankChar);
}

// First offset at or after from whose byte does not continue a word body.
inline std::size_t SkipWordBody(std::string_view text, std::size_t from) {
  return byte_runs_detail::SkipRun<byte_runs_detail::kWordBodyMask>(text, from, kWordBodyChar);
}

}  // namespace vemra
