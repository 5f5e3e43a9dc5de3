// A write lease on a file that is about to be written over in place. While
// the lease is held, a program that opens or truncates the file is made to
// wait until it is released (or until the system's lease break time runs
// out), so that nothing it writes can mix with the bytes being written; and
// the holder can tell afterwards whether anyone tried.
#pragma once

namespace vemra {

class WriteLease {
 public:
  enum class Outcome {
    kHeld,        // granted: whoever opens the file from now on waits
    kFileInUse,   // refused: another program has the file open
    kUnavailable  // refused: the file system or the user's rights give no lease
  };

  // Asks for the lease on the file open for writing on fd, which must be
  // the process's only descriptor of that file.
  explicit WriteLease(int fd);
  WriteLease(const WriteLease&) = delete;
  WriteLease& operator=(const WriteLease&) = delete;
  // Releases the lease: a program waiting to open the file goes on.
  ~WriteLease();

  Outcome Taken() const { return taken_; }
  // Whether the lease kept every other program out of the file since it
  // was granted: no one tried to open it, or whoever tried is still waiting.
  // False when it was never granted.
  bool KeptOthersOut() const;

 private:
  int fd_;
  Outcome taken_;
};

}  // namespace vemra
