// Saving a text over a file without ever losing the file that was there.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "base/file_identity.h"

namespace vemra {

// Puts bytes into the named file. The text goes to a new file in the same
// folder, is flushed to disk and then renamed over the old one, so a failure
// at any point leaves the old file as it was and no temporary file behind.
// The new file keeps the old one's permission bits and owner; a symbolic link
// stays a link and the file it points to is replaced. A file with several
// hard links, a file whose owner cannot be kept, and a file in a folder that
// allows no new file are written over in place instead, restoring the old
// bytes if that write fails. When the file is unchanged_if (the file the text
// was loaded from) and already holds exactly bytes, it is not touched.
// Throws EFCreateError when the file cannot be created or may not be written
// (folder missing, no permission, a folder of that name) and EWriteError when
// not every byte could be written.
void WriteFileSafely(const std::string& file_name, std::string_view bytes,
                     const std::optional<FileIdentity>& unchanged_if);

}  // namespace vemra
