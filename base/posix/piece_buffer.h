// Bytes of a length not known in advance, gathered in pieces of memory
// mapped one at a time. Growing never copies a byte, and once the length is
// known the pieces are moved into one string of exactly that size, each
// going back to the system as soon as it is copied: the peak is the bytes
// once and a piece, where a string doubled whenever it fills holds up to
// twice them, and more while it copies them.
#pragma once

#include <cstddef>
#include <span>
#include <string>
#include <vector>

namespace vemra {

class PieceBuffer {
 public:
  static constexpr std::size_t kPieceSize = std::size_t{1} << 20;

  PieceBuffer() = default;
  ~PieceBuffer();
  PieceBuffer(const PieceBuffer&) = delete;
  PieceBuffer& operator=(const PieceBuffer&) = delete;

  // Where the next bytes go: the free end of the last piece, or a new one.
  // Throws std::bad_alloc when the system gives no memory.
  std::span<char> Room();
  // count bytes were written at the start of the last Room().
  void Added(std::size_t count) { size_ += count; }
  std::size_t Size() const { return size_; }

  // Every byte, in order, in one string that has room for extra_room more
  // bytes; the buffer is left empty.
  std::string TakeJoined(std::size_t extra_room);

 private:
  void Unmap(std::size_t piece);

  std::vector<char*> pieces_;  // each kPieceSize bytes; all full but the last
  std::size_t size_ = 0;       // bytes added
};

}  // namespace vemra
