// Giving a new file, written beside an old one under a temporary name, what
// the old file had, before the new one is renamed into its place.
#pragma once

#include <string>

namespace vemra {

// Gives the file open on to the owner, every extended attribute (POSIX ACLs
// included, which live in "system.posix_acl_access") and the permission bits
// of the file open on from; attributes from has not are removed from to.
// False, with errno, when any of them cannot be given (an owner only the
// superuser could give, an attribute that needs a privilege): the caller
// then writes over the old file in place rather than lose one.
bool HandOverAttributes(int from, int to);

// Gives the file open on fd, created with mode 0600, what a file created
// with mode 0666 in folder_path would have had: the folder's default ACL
// where it has one, else the mode less the umask. False, with errno, on
// failure.
bool GiveNewFileAttributes(int fd, const std::string& folder_path);

}  // namespace vemra
