// How many processors this process may run on.
#pragma once

#include <cstddef>

namespace vemra {

// The processors the process's affinity allows (as under taskset), or when
// the system does not say, those of the machine; at least 1.
std::size_t AvailableProcessors();

}  // namespace vemra
