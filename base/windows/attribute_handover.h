// Giving a new file, written beside an old one under a temporary name, what
// the old file had, before the new one is renamed into its place.
#pragma once

#include <windows.h>

#include <string>

namespace vemra {

// Gives the file open on to (with WRITE_DAC, WRITE_OWNER and
// FILE_WRITE_ATTRIBUTES) what the file open on from (with READ_CONTROL)
// has: its owner, group and access list (the entries of its own, and
// whether it takes entries from its folder, whose entries it then takes in
// the same folder again), its hidden, system and not-indexed attributes,
// and the time it was made. False when any of it cannot be given, or when the old file
// has what a new file cannot get here: named data streams, encryption or
// compression that the new file lacks. The caller then writes over the old
// file in place rather than lose it. path is the old file's, verbatim.
bool HandOverAttributes(HANDLE from, HANDLE to, const std::wstring& path);

}  // namespace vemra
