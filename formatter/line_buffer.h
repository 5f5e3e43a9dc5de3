// A growable byte buffer that always keeps spare room behind its end. The
// layout pass appends a token for every token it reads, and with the room
// there is no need to ask how long a short token is before copying it: it
// is copied as a fixed sixteen bytes, of which only its own count. That
// saves the branches on the length that a copy of a few bytes otherwise
// takes, and that the varying lengths of tokens keep mispredicting.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <memory>
#include <string_view>

namespace vemra {

class LineBuffer {
 public:
  // Bytes copied at once for a short token.
  static constexpr std::size_t kWideCopy = 16;

  bool empty() const { return size_ == 0; }
  std::size_t size() const { return size_; }
  const char* data() const { return bytes_.get(); }
  char back() const { return bytes_[size_ - 1]; }
  void pop_back() { --size_; }
  void clear() { size_ = 0; }

  // Appends text. may_read_wide: the kWideCopy bytes from text.data() may be
  // read, even where they run past text's end.
  void Append(std::string_view text, bool may_read_wide) {
    MakeRoom(text.size());
    char* const end = bytes_.get() + size_;
    if (may_read_wide && text.size() <= kWideCopy) {
      CopyWide(end, text.data());
    } else {
      std::memcpy(end, text.data(), text.size());
    }
    size_ += text.size();
  }
  void Append(char c) {
    MakeRoom(1);
    bytes_[size_++] = c;
  }
  void AppendRepeated(std::size_t count, char c) {
    MakeRoom(count);
    std::memset(bytes_.get() + size_, c, count);
    size_ += count;
  }

 private:
  // The compiler cannot see that a wide copy only starts where kWideCopy
  // bytes can be read, and warns where a caller passes a short literal.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Warray-bounds"
#pragma GCC diagnostic ignored "-Wstringop-overread"
#endif
  static void CopyWide(char* to, const char* from) {
    std::memcpy(to, from, kWideCopy);
  }
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic pop
#endif

  // Room behind the end, kept after every append: a wide copy fits in it.
  static constexpr std::size_t kSpare = kWideCopy;

  void MakeRoom(std::size_t more) {
    if (size_ + more + kSpare > capacity_) Grow(more);
  }
  // Fresh memory is left unwritten until used, so a line of many megabytes
  // costs pages for its own bytes only, not for the room ahead of them.
  void Grow(std::size_t more) {
    const std::size_t capacity = std::max(2 * capacity_, size_ + more + kSpare);
    std::unique_ptr<char[]> bytes(new char[capacity]);
    std::memcpy(bytes.get(), bytes_.get(), size_);
    bytes_ = std::move(bytes);
    capacity_ = capacity;
  }

  static constexpr std::size_t kInitialCapacity = 256;
  std::unique_ptr<char[]> bytes_{new char[kInitialCapacity]};  // the bytes and the room behind them
  std::size_t capacity_ = kInitialCapacity;
  std::size_t size_ = 0;  // how many of them are the buffer's content
};

}  // namespace vemra
