#include "formatter/output_text.h"

#include "base/prefault.h"

namespace vemra {
namespace {

// How far ahead of the end the buffer is made writable at a time. Making it
// writable fills it with zeros, so the step is kept small enough to stay in
// the cache until the bytes are written over, and within the reservation.
constexpr std::size_t kGrowStep = std::size_t{1} << 20;

}  // namespace

std::size_t OutputText::GrowBuffer(std::string& bytes, std::size_t needed) {
  // The step's fresh pages in one request rather than a fault for each as
  // the zeros go in: the layout's thread is the one every other waits for.
  ResizePrefaulted(bytes, std::max(needed, std::min(bytes.size() + kGrowStep, bytes.capacity())));
  return bytes.size();
}

}  // namespace vemra
