#include "base/prefault.h"

namespace vemra {

// The pages come as they are first written; nothing to ask for ahead.
void PrefaultForWriting(const char* begin, std::size_t size) {
  (void)begin;
  (void)size;
}

}  // namespace vemra
