// A long run of bytes at the end of a line that trimming would take away,
// kept in about half its bytes until the line shows whether it stays. The
// layout writes one blank between two tokens of control bytes, so a line
// of NUL bytes grows to twice its size, while the memory under the source
// goes back only once: packed, the run takes no more memory than the
// source it comes from, and when the line ends it is dropped unread.
//
// Only bytes of value 0x20 or lower other than TAB, CR and LF are packed:
// a TAB may vanish or grow in the finished text, and a line break ends the
// run. A packed byte is the run's byte, or, for a byte followed by a
// blank, that byte plus 0x40: the two never meet, as a run's bytes are
// below 0x40.
#pragma once

#include <cstddef>

namespace vemra {
namespace packed_tail {

inline bool Packable(char c) {
  return static_cast<unsigned char>(c) <= 0x20 && c != '\t' && c != '\r' && c != '\n';
}

// The start of the run of packable bytes that ends at end, no further back
// than limit.
inline const char* RunStart(const char* limit, const char* end) {
  while (end != limit && Packable(end[-1])) --end;
  return end;
}

// Packs the packable bytes [from, to) into the bytes from from on, which a
// write never overtakes a read in. Returns where the packed bytes end.
inline char* Pack(char* from, const char* to) {
  char* out = from;
  const char* at = from;
  while (at != to) {
    if (to - at >= 2 && at[1] == ' ') {
      *out++ = static_cast<char>(at[0] + 0x40);
      at += 2;
    } else {
      *out++ = *at++;
    }
  }
  return out;
}

// Unpacks the packed bytes [from, to) so that they end at out_end, from the
// last to the first: out_end - to must be at least the growth, so that a
// write never overtakes a read.
inline void UnpackBackward(const char* from, const char* to, char* out_end) {
  while (to != from) {
    const char c = *--to;
    if (static_cast<unsigned char>(c) >= 0x40) {
      *--out_end = ' ';
      *--out_end = static_cast<char>(c - 0x40);
    } else {
      *--out_end = c;
    }
  }
}

// How many bytes the packed bytes [from, to) stand for.
inline std::size_t UnpackedSize(const char* from, const char* to) {
  std::size_t size = 0;
  for (; from != to; ++from) size += static_cast<unsigned char>(*from) >= 0x40 ? 2 : 1;
  return size;
}

// Whether the packed bytes [from, to) stand for blanks only.
inline bool AllBlanks(const char* from, const char* to) {
  for (; from != to; ++from) {
    if (*from != ' ' && *from != ' ' + 0x40) return false;
  }
  return true;
}

}  // namespace packed_tail
}  // namespace vemra
