#include "base/posix/piece_buffer.h"

#include <sys/mman.h>

#include <algorithm>
#include <new>

#include "base/prefault.h"

namespace vemra {

PieceBuffer::~PieceBuffer() {
  for (std::size_t piece = 0; piece < pieces_.size(); ++piece) Unmap(piece);
}

std::span<char> PieceBuffer::Room() {
  const std::size_t used = size_ - (pieces_.empty() ? 0 : (pieces_.size() - 1) * kPieceSize);
  if (pieces_.empty() || used == kPieceSize) {
    // A mapping of its own, not the heap's: unmapped, its memory goes back
    // to the system at once, where a freed heap block may stay with the
    // process.
    void* piece =
        mmap(nullptr, kPieceSize, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (piece == MAP_FAILED) throw std::bad_alloc();
    pieces_.push_back(static_cast<char*>(piece));
    return {pieces_.back(), kPieceSize};
  }
  return {pieces_.back() + used, kPieceSize - used};
}

std::string PieceBuffer::TakeJoined(std::size_t extra_room) {
  std::string joined;
  joined.reserve(size_ + extra_room);
  for (std::size_t piece = 0; piece < pieces_.size(); ++piece) {
    const std::size_t count = std::min(kPieceSize, size_ - joined.size());
    // A piece's worth of pages at a time: asked for all at once, the
    // string's pages would stand beside every piece not yet unmapped.
    PrefaultForWriting(joined.data() + joined.size(), count);
    joined.append(pieces_[piece], count);
    Unmap(piece);
  }
  pieces_.clear();
  size_ = 0;
  return joined;
}

void PieceBuffer::Unmap(std::size_t piece) {
  if (pieces_[piece] != nullptr) munmap(pieces_[piece], kPieceSize);
  pieces_[piece] = nullptr;
}

}  // namespace vemra
