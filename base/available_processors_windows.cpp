#include <windows.h>

#include <bit>

#include "base/available_processors.h"

namespace vemra {

std::size_t AvailableProcessors() {
  DWORD_PTR process = 0;
  DWORD_PTR system = 0;
  if (GetProcessAffinityMask(GetCurrentProcess(), &process, &system) && process != 0) {
    return static_cast<std::size_t>(std::popcount(static_cast<unsigned long long>(process)));
  }
  const DWORD count = GetActiveProcessorCount(ALL_PROCESSOR_GROUPS);
  return count > 0 ? count : 1;
}

}  // namespace vemra
