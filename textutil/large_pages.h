// Large pages for the big text buffers.
#pragma once

#include <cstddef>

namespace vemra {

// Asks the system to back the not yet touched memory at data with large
// pages. A 100 MB text written into fresh memory otherwise costs some 25,000
// page faults of 4 KiB each; with 2 MiB pages it costs about 50. Only a
// hint: nothing changes where the system has no such pages, and buffers
// below a few megabytes are left alone.
void AdviseLargePages(const void* data, std::size_t size);

}  // namespace vemra
