// Reading a standard stream, given as a descriptor, as its bytes arrive.
#pragma once

#include <cstddef>

namespace vemra {

// Reads what has arrived on the stream open on fd, at most size bytes and
// at least one unless the stream has ended; returns how many, 0 at the end
// (a pipe whose writer has gone has ended), or -1 on a read error. Bytes
// come as they are: no line end is translated.
long ReadFromStream(int fd, char* buffer, std::size_t size);

}  // namespace vemra
