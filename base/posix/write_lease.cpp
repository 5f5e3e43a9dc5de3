// Linux's file leases (fcntl F_SETLEASE). When a program opens a leased
// file, the kernel sends the holder SIGIO and holds the open back until the
// holder lets go or the lease break time (/proc/sys/fs/lease-break-time)
// has passed; the lease then reads as breaking.
#include "base/posix/write_lease.h"

#include <fcntl.h>
#include <time.h>

#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstdint>
#include <fstream>
#include <mutex>

namespace vemra {

namespace {

// When the last lease break began, in nanoseconds of the monotonic clock.
std::atomic<std::int64_t> break_began{0};

std::int64_t MonotonicNanoseconds() {
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  return static_cast<std::int64_t>(now.tv_sec) * 1000000000 + now.tv_nsec;
}

// SIGIO would end the run; here it only notes the time.
void OnLeaseBreak(int) {
  std::int64_t none = 0;
  break_began.compare_exchange_strong(none, MonotonicNanoseconds());
}

void HandleLeaseBreaks() {
  static std::once_flag installed;
  std::call_once(installed, [] {
    struct sigaction action {};
    action.sa_handler = OnLeaseBreak;
    action.sa_flags = SA_RESTART;
    sigemptyset(&action.sa_mask);
    sigaction(SIGIO, &action, nullptr);
  });
}

// How long the kernel holds an open back, less a margin for the time
// between its start and the signal's handling.
std::int64_t SafeWaitNanoseconds() {
  static const std::int64_t wait = [] {
    long seconds = 45;  // the kernel's default
    std::ifstream("/proc/sys/fs/lease-break-time") >> seconds;
    return static_cast<std::int64_t>(seconds - 1) * 1000000000;
  }();
  return wait;
}

}  // namespace

WriteLease::WriteLease(int fd) : fd_(fd), taken_(Outcome::kUnavailable) {
  HandleLeaseBreaks();
  break_began = 0;
  if (fcntl(fd_, F_SETLEASE, F_WRLCK) == 0) {
    taken_ = Outcome::kHeld;
  } else if (errno == EAGAIN) {
    taken_ = Outcome::kFileInUse;
  }
}

WriteLease::~WriteLease() {
  if (taken_ == Outcome::kHeld) fcntl(fd_, F_SETLEASE, F_UNLCK);
}

bool WriteLease::KeptOthersOut() const {
  if (taken_ != Outcome::kHeld) return false;
  if (fcntl(fd_, F_GETLEASE) == F_WRLCK) return true;
  const std::int64_t began = break_began.load();
  return began != 0 && MonotonicNanoseconds() - began < SafeWaitNanoseconds();
}

}  // namespace vemra
