// What Ctrl-C, Ctrl-Break and closing the console do while a save is under
// way: they remove the save's unfinished temporary files before the run
// ends as the event would have ended it, and they wait while a file is
// being written over in place, so that it is finished rather than left half
// old and half new.
//
// The system runs the handler on a thread of its own, while the run's
// threads go on; from the moment the handler has removed the files, no
// file can be registered, and no write in place begin, until the process
// has ended.
#pragma once

#include <string>

namespace vemra {

// A file to remove should one of those events end the run: a temporary file
// whose bytes nobody needs yet. An object must not move while it is
// registered.
class RemovedOnInterrupt {
 public:
  RemovedOnInterrupt() = default;
  ~RemovedOnInterrupt() { Unregister(); }
  RemovedOnInterrupt(const RemovedOnInterrupt&) = delete;
  RemovedOnInterrupt& operator=(const RemovedOnInterrupt&) = delete;

  // path: the file's full path as the wide file functions take it. May be
  // registered before the file is made, so that no moment is left in which
  // it exists unregistered.
  void Register(std::wstring path);
  // The file has been renamed or removed, or must stay from now on.
  void Unregister();

 private:
  friend struct InterruptRegistry;

  std::wstring path_;
  RemovedOnInterrupt* next_ = nullptr;
  RemovedOnInterrupt* previous_ = nullptr;
  bool registered_ = false;
};

// While one of these lives, the handler waits: the registered files are
// removed, and the run ended, when the last InterruptsDeferred ends.
class InterruptsDeferred {
 public:
  InterruptsDeferred();
  ~InterruptsDeferred();
  InterruptsDeferred(const InterruptsDeferred&) = delete;
  InterruptsDeferred& operator=(const InterruptsDeferred&) = delete;
};

}  // namespace vemra
