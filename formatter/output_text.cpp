#include "formatter/output_text.h"

namespace vemra {
namespace {

// How far ahead of the end the buffer is made writable at a time. Making it
// writable fills it with zeros, so the step is kept small enough to stay in
// the cache until the bytes are written over, and within the reservation.
constexpr std::size_t kGrowStep = std::size_t{1} << 20;

}  // namespace

std::size_t OutputText::GrowBuffer(std::string& bytes, std::size_t needed) {
  bytes.resize(std::max(needed, std::min(bytes.size() + kGrowStep, bytes.capacity())));
  return bytes.size();
}

}  // namespace vemra
