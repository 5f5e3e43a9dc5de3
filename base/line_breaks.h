// The one place that knows how a text is cut into lines. CR LF, a lone LF and
// a lone CR each end one line; LF CR and CR CR LF are two line ends with an
// empty line between them. A final line without a line end is still a line, a
// line end at the very end does not start another one, and an empty text has
// no lines. Every other byte, NUL included, belongs to its line.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace vemra {

namespace line_breaks_detail {

#if defined(__SSE2__)
// Bit i is set when byte i of the sixteen at `at` is a CR or an LF.
inline unsigned BreakMask(const char* at) {
  const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(at));
  const __m128i breaks = _mm_or_si128(_mm_cmpeq_epi8(bytes, _mm_set1_epi8('\r')),
                                      _mm_cmpeq_epi8(bytes, _mm_set1_epi8('\n')));
  return static_cast<unsigned>(_mm_movemask_epi8(breaks));
}

// The same for the sixty-four bytes at `at`.
inline std::uint64_t BreakMask64(const char* at) {
  return BreakMask(at) | std::uint64_t{BreakMask(at + 16)} << 16 |
         std::uint64_t{BreakMask(at + 32)} << 32 | std::uint64_t{BreakMask(at + 48)} << 48;
}
inline constexpr bool kHasBreakMasks = true;
#else
inline std::uint64_t BreakMask64(const char*) {
  return 0;
}
inline constexpr bool kHasBreakMasks = false;
#endif

inline bool IsBreak(char c) {
  return c == '\r' || c == '\n';
}

// The first CR or LF in [from, end), or end, for the last bytes of a text.
inline const char* FindBreak(const char* from, const char* end) {
#if defined(__SSE2__)
  for (; end - from >= 16; from += 16) {
    const unsigned mask = BreakMask(from);
    if (mask != 0) return from + __builtin_ctz(mask);
  }
#endif
  while (from < end && !IsBreak(*from)) ++from;
  return from;
}

// Just behind the line end (CR LF, CR or LF) at break_at, or end.
inline const char* PastLineEnd(const char* break_at, const char* end) {
  const char* next = break_at;
  if (next < end && *next == '\r') ++next;
  if (next < end && *next == '\n') ++next;
  return next;
}

// Finds the line ends of one text in order. Lines are short, and looking at
// the bytes afresh for every line (let alone a memchr call for each of CR
// and LF) costs more than the line: the CR and LF positions of a 64-byte
// window are found once, as a bit mask, and each line end in it then costs
// a shift and a bit count.
class BreakFinder {
 public:
  explicit BreakFinder(const char* end) : end_(end) {}

  // The first CR or LF in [from, end), or end.
  const char* Next(const char* from) {
    while (kHasBreakMasks) {
      if (window_ != nullptr && from >= window_ && from < window_ + kWindow) {
        const std::uint64_t ahead = mask_ >> (from - window_);
        if (ahead != 0) return from + __builtin_ctzll(ahead);
        from = window_ + kWindow;
      }
      if (end_ - from < kWindow) break;
      Load(from);
    }
    return FindBreak(from, end_);
  }

 private:
  static constexpr std::ptrdiff_t kWindow = 64;

  void Load(const char* at) {
    window_ = at;
    mask_ = BreakMask64(at);
  }

  const char* end_;
  const char* window_ = nullptr;  // the window's first byte; none yet
  std::uint64_t mask_ = 0;        // bit i: window_[i] is a CR or LF
};

}  // namespace line_breaks_detail

// Calls on_line(std::string_view) once per line of text, in order, with a view
// into text that excludes the line end.
template <typename F>
void ForEachLine(std::string_view text, F on_line) {
  const char* const end = text.data() + text.size();
  const char* pos = text.data();
  line_breaks_detail::BreakFinder breaks(end);
  while (pos < end) {
    const char* const line_end = breaks.Next(pos);
    on_line(std::string_view(pos, static_cast<std::size_t>(line_end - pos)));
    pos = line_breaks_detail::PastLineEnd(line_end, end);
  }
}

// The size of text's joined form: every line followed by CR LF.
inline std::size_t JoinedSize(std::string_view text) {
  std::size_t size = 0;
  ForEachLine(text, [&size](std::string_view line) { size += line.size() + 2; });
  return size;
}

}  // namespace vemra
