// Opening a file only when it is a regular file. A pipe blocks an open until
// its other end appears, a device may do something of its own when opened,
// and neither can be read whole or replaced; a folder or socket cannot be
// read at all. Such a name is refused before it is opened.
#pragma once

#include <sys/stat.h>

#include "base/posix/unique_fd.h"

namespace vemra {

struct RegularFile {
  UniqueFd fd;               // open, unless the name was refused
  struct stat info {};       // what the open file is
  bool not_regular = false;  // the name is there but no regular file
  int error_code = 0;        // why the open failed otherwise
};

// Opens name in the folder open on folder (AT_FDCWD: the current folder),
// following symbolic links, with access (O_RDONLY or O_WRONLY). The open
// never blocks on a pipe: the name is looked at first and opened only when
// it is a regular file, and the open file is looked at again in case the
// name was swapped meanwhile.
RegularFile OpenRegularFile(int folder, const char* name, int access);

}  // namespace vemra
