#pragma once

#include <string>

namespace vemra {

// The absolute form of a file name, naming the file that opening the name
// reaches: a relative name is taken from the current directory, and "." and
// ".." segments and repeated slashes are resolved. The part up to the last
// ".." is resolved by the file system, where it exists, because ".." after a
// symbolic link to a folder leads to that folder's parent, not back to
// where the link is; the rest by the name alone (the file need not exist,
// and symbolic links are left as they are). A trailing slash is kept, since
// it says the name is a folder. Never fails: a name that cannot be used
// fails when it is opened.
std::string ExpandPath(const std::string& file_name);

}  // namespace vemra
