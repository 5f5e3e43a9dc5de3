// Memory given back to the system while the buffer that holds it lives on:
// behind a reader that goes through a buffer once, from its start, a
// stretch at a time.
#pragma once

#include <cstddef>

namespace vemra {

class PageRelease {
 public:
  // Releases nothing.
  PageRelease() = default;
  // Releases within [begin, begin + size), bytes the caller owns.
  PageRelease(char* begin, std::size_t size) : end_(begin + size), released_(begin) {}

  // The bytes in front of at, bar the last kLag of them, will not be read
  // again: once a stretch of kStep bytes or more of them is passed, the
  // memory of its whole pages goes back to the system. It then no longer
  // counts towards the process's resident memory, and reads as zeros should
  // it be used again (a write takes a fresh page). The lag leaves room for a
  // reader that looks a little behind its place. Only a hint: where the
  // system declines, nothing changes.
  void Passed(const char* at) {
    if (released_ != nullptr && at >= released_ + kLag + kStep && at <= end_) Release(at);
  }

  static constexpr std::size_t kLag = std::size_t{256} << 10;
  static constexpr std::size_t kStep = std::size_t{1} << 20;

 private:
  void Release(const char* at);

  const char* end_ = nullptr;
  char* released_ = nullptr;  // every whole page in front of it is given back
};

}  // namespace vemra
