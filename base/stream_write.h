// Writing to a standard stream, given as a descriptor.
#pragma once

#include <string_view>

namespace vemra {

// Writes every byte of bytes to the stream open on fd, as they are; 0 when
// all were taken, else the system's error code (a full disk, a reader that
// went away).
int WriteToStream(int fd, std::string_view bytes);

}  // namespace vemra
