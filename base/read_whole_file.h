#pragma once

#include <string>

#include "base/file_identity.h"

namespace vemra {

// Every byte of the named file, read at once into one buffer, and which file
// that was. Throws EFOpenError when the file cannot be opened, is no regular
// file (a folder, pipe, socket or device: never opened, so never waited
// for), is 2 GiB or larger, or has the backup of an interrupted save beside it or
// in the temporary folder (its bytes may be half old, half new), and
// EReadError when it delivers fewer bytes than its size (a shorter text must
// never be saved over the file).
std::string ReadWholeFile(const std::string& file_name, LoadedFile& loaded);

// Every byte that standard input, open on fd, delivers from where it stands
// until it ends: a pipe, a terminal or a file. Throws EReadError, naming
// standard input and the reason, when a read fails or the bytes reach
// 2 GiB.
std::string ReadStandardInput(int fd);

}  // namespace vemra
