// Page faults in bulk. Memory freshly taken from the system gets a page on
// the first write to each 4 KB; for a buffer of a hundred megabytes that is
// tens of thousands of faults, each a trip into the kernel. Asking for the
// pages of a whole range at once costs less.
#pragma once

#include <cstddef>
#include <string>

namespace vemra {

// Has the kernel back every whole page in [begin, begin + size) with
// writable memory now. Only a hint: where the kernel cannot, the pages come
// on first write as usual. The bytes are left as they are.
void PrefaultForWriting(const char* begin, std::size_t size);

// bytes.resize(size), asking first for the pages of the bytes it adds when
// they lie within the string's reservation. Beyond it the string moves to
// new memory, which the resize takes page by page as before.
void ResizePrefaulted(std::string& bytes, std::size_t size);

}  // namespace vemra
