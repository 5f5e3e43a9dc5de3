// A file's path from the current folder, as a patch names the files it
// changes: the tools that apply a patch take its names from the folder they
// run in, and refuse full paths.
#pragma once

#include <string>

namespace vemra {

// The path from the current folder to the file a name reaches, its parts
// separated by '/' whatever the system writes: "src/a.vem" for
// "./src/a.vem", for "src/lib/../a.vem" and for the full path of that file.
// Empty when the file lies outside the current folder (or is the folder
// itself), or the current folder cannot be had.
std::string PathFromCurrentFolder(const std::string& name);

}  // namespace vemra
