// The saves of many files, made durable together. One flush of a file's
// new bytes costs a disk's round trip; done for each of thousands of small
// files, and again for each folder, those round trips are most of the run.
// A batch instead gathers the saves that workers have written beside their
// files, and completes them together: each file system of the batch is
// flushed whole, once, which writes the new bytes of all; then each file is
// flushed on its own (cheap now, and the flush that reports a failure to
// write that file), many at once; then every file is put in place by its
// rename, then each folder is flushed once. Each file's bytes are on disk
// before its rename, as in a save of one file.
#pragma once

#include <cstddef>
#include <vector>

#include "cli/file_job.h"

namespace vemra {

class SaveBatch {
 public:
  // A batch is full at max_saves staged saves or max_bytes of their bytes.
  SaveBatch(std::size_t max_saves, std::size_t max_bytes)
      : max_saves_(max_saves), max_bytes_(max_bytes) {}

  // Takes the next report in order. A report with a staged save waits for
  // the batch to complete, and so does every report after it.
  void Add(FileReport report);
  bool Empty() const { return reports_.empty(); }
  bool Full() const { return saves_ >= max_saves_ || bytes_ >= max_bytes_; }

  // Completes every staged save and hands back the reports in order, the
  // batch empty again; a save that fails has its report replaced by the
  // failure's.
  std::vector<FileReport> Complete();

 private:
  void FlushFileSystems();
  void FlushFolders();

  const std::size_t max_saves_;
  const std::size_t max_bytes_;
  std::vector<FileReport> reports_;  // in the order of the inputs
  std::size_t saves_ = 0;            // reports_ with a staged save
  std::size_t bytes_ = 0;            // their bytes
};

}  // namespace vemra
