// The parts of a file's path, as the system writes paths: the folder a file
// is in and its name there, and the file's path with every link and ".."
// resolved by the file system.
#pragma once

#include <string>

namespace vemra {

// The folder part of a path: "." for a bare name, the root itself for a
// name in a root ("/" on POSIX, "C:\" or "\\server\share\" on Windows).
std::string FolderOf(const std::string& path);
// The last part of a path, after its last separator.
std::string NameOf(const std::string& path);
// path and name joined by the system's separator, none doubled.
std::string JoinPath(const std::string& folder, const std::string& name);
// Whether the folder is a root, the top of its file system: its own folder.
bool IsRootFolder(const std::string& folder);

// The full path of an existing file with every link and ".." resolved by
// the file system; empty when it cannot be had.
std::string ResolvedPath(const std::string& path);

}  // namespace vemra
