// A thread waiting until a 32-bit atomic value changes, and another waking
// it: the handover between two threads that share a ring of slots. Built on
// the system's own wait on an address (a futex on Linux, WaitOnAddress on
// Windows): the value is compared and the thread put to sleep as one step,
// so no wake-up is lost between them. (The C++ library of the toolchain for
// Windows builds std::atomic::wait from a check and a separate wait, and
// can lose one there.)
#pragma once

#include <atomic>
#include <cstdint>

namespace vemra {

// Returns once value no longer holds old, or sooner: the caller looks again.
void WaitWhileEquals(const std::atomic<std::uint32_t>& value, std::uint32_t old);
// Wakes one thread, or every thread, waiting on value.
void WakeOne(std::atomic<std::uint32_t>& value);
void WakeAll(std::atomic<std::uint32_t>& value);

}  // namespace vemra
