// The whole memory pages within a range of bytes: what the kernel's advice
// on memory acts on.
#pragma once

#include <cstddef>
#include <cstdint>

namespace vemra {

struct WholePages {
  std::uintptr_t first = 0;  // address of the first whole page
  std::uintptr_t end = 0;    // address past the last one; at most first

  bool Empty() const { return end <= first; }
  void* Start() const { return reinterpret_cast<void*>(first); }
  std::size_t Size() const { return Empty() ? 0 : end - first; }
};

// The whole pages in [begin, begin + size); none when the range holds no
// whole page.
WholePages WholePagesWithin(const char* begin, std::size_t size);

}  // namespace vemra
