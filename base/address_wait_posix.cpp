#include "base/address_wait.h"

namespace vemra {

// The C++ library waits on a futex here.
void WaitWhileEquals(const std::atomic<std::uint32_t>& value, std::uint32_t old) {
  value.wait(old, std::memory_order_acquire);
}

void WakeOne(std::atomic<std::uint32_t>& value) {
  value.notify_one();
}

void WakeAll(std::atomic<std::uint32_t>& value) {
  value.notify_all();
}

}  // namespace vemra
