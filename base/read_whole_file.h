#pragma once

#include <string>

#include "base/file_identity.h"

namespace vemra {

// Every byte of the named file, read at once into one buffer, and which file
// that was. Throws EFOpenError when the file cannot be opened, is a folder or
// is 2 GiB or larger, and EReadError when it delivers fewer bytes than its
// size (a shorter text must never be saved over the file).
std::string ReadWholeFile(const std::string& file_name, FileIdentity& identity);

}  // namespace vemra
