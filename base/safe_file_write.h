// Saving a text over a file without ever losing the file that was there.
#pragma once

#include <string>
#include <string_view>

#include "base/file_identity.h"

namespace vemra {

// Puts bytes into the named file, through the name as given (the file system
// resolves its links and ".."). The text goes to a new, private file in the
// same folder, is flushed to disk and, once the new file has the old one's
// owner, extended attributes (ACLs included) and permission bits (on
// Windows, its owner, access list and attributes), renamed over the old
// one; so a failure or a kill at any point leaves the old file as it was. A
// symbolic link stays a link and the file it points to is replaced. A file
// with several hard links, a file in a folder that allows no new file, and a
// file whose owner or attributes a new file cannot be given are written over
// in place instead, after a complete, flushed backup of their old bytes (see
// save_backup.h), which is removed once the new bytes are on disk. See
// PendingSave for the stages.
//
// loaded: the file the text was loaded from, if any. When the file to save
// is that file, it must still be exactly as it was loaded (someone else's
// change wins); when it already holds exactly bytes, it is not touched.
//
// Throws EFCreateError when the file cannot be created or may not be written
// (folder missing, no permission, a folder of that name, no backup possible,
// a backup left by an interrupted save, a change by someone else) and
// EWriteError when not every byte could be written.
void WriteFileSafely(const std::string& file_name, std::string_view bytes,
                     const LoadedFile* loaded);

}  // namespace vemra
