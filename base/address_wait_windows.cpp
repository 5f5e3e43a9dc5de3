#include <windows.h>

#include "base/address_wait.h"

namespace vemra {

static_assert(sizeof(std::atomic<std::uint32_t>) == sizeof(std::uint32_t) &&
              std::atomic<std::uint32_t>::is_always_lock_free);

void WaitWhileEquals(const std::atomic<std::uint32_t>& value, std::uint32_t old) {
  WaitOnAddress(const_cast<std::atomic<std::uint32_t>*>(&value), &old, sizeof old, INFINITE);
}

void WakeOne(std::atomic<std::uint32_t>& value) {
  WakeByAddressSingle(&value);
}

void WakeAll(std::atomic<std::uint32_t>& value) {
  WakeByAddressAll(&value);
}

}  // namespace vemra
