// How many files the process may hold open at once.
#pragma once

#include <cstddef>

namespace vemra {

// The limit, raised first as far as the system lets the process raise it
// (to 65,536 at most): a run that saves many files holds descriptors for
// each file of a batch until the batch completes.
std::size_t RaiseDescriptorLimit();

}  // namespace vemra
