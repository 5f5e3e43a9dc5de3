// Whole file systems flushed at once. A flush of one file waits for the
// disk: its bytes are written, a journal commit records the file, and the
// disk's cache is emptied. Done for each of thousands of small files, those
// waits are most of a run that saves them. One flush of the whole file
// system instead writes every file's bytes and records them all in one or
// two journal commits; the flush of each file that follows finds its work
// done.
//
// Only a way to make those later flushes cheap, never in their place: a
// file system flush also writes what other programs have written, reports
// their failures as much as ours, and on older systems reports none at all.
// It is what each file's own flush reports that decides whether a save may
// go ahead.
#pragma once

#include <string>
#include <vector>

namespace vemra {

// Flushes, once each, the file systems that hold the given folders, and
// waits until they are on disk. Best effort: a folder that cannot be opened,
// or a flush that fails, is passed over in silence. Where the system offers
// no such flush, does nothing.
void FlushFileSystemsOf(const std::vector<std::string>& folders);

}  // namespace vemra
