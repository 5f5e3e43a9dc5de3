#include "base/prefault.h"

namespace vemra {

void ResizePrefaulted(std::string& bytes, std::size_t size) {
  if (size > bytes.size() && size <= bytes.capacity()) {
    PrefaultForWriting(bytes.data() + bytes.size(), size - bytes.size());
  }
  bytes.resize(size);
}

}  // namespace vemra
