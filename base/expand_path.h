#pragma once

#include <string>

namespace vemra {

// The absolute form of a file name: a relative name is taken from the current
// directory, and "." and ".." segments and repeated slashes are resolved by
// the name alone (the file need not exist, and symbolic links are left as
// they are). A trailing slash is kept, since it says the name is a folder.
// Never fails: a name that cannot be used fails when it is opened.
std::string ExpandPath(const std::string& file_name);

}  // namespace vemra
