// What SIGINT, SIGTERM and SIGHUP do while a save is under way: they remove
// the save's unfinished temporary files before they end the run as they
// would have, and they wait while a file is being written over in place, so
// that it is finished rather than left half old and half new.
#pragma once

#include <limits.h>

#include <string_view>

namespace vemra {

// A file to remove should one of those signals end the run: a temporary file
// whose bytes nobody needs yet. While any is registered (or a
// SignalsDeferred lives) the program handles the three signals; a signal
// that was ignored when the first registration came stays ignored.
// Registering allocates nothing, so the signal handler can walk the list;
// an object must not move while it is registered.
class RemovedOnSignal {
 public:
  RemovedOnSignal() = default;
  ~RemovedOnSignal() { Unregister(); }
  RemovedOnSignal(const RemovedOnSignal&) = delete;
  RemovedOnSignal& operator=(const RemovedOnSignal&) = delete;

  // name is a file in the folder open on folder_fd, which must stay open
  // while the file is registered. A name longer than NAME_MAX is not
  // registered.
  void Register(int folder_fd, std::string_view name);
  // The file has been renamed or removed, or must stay from now on.
  void Unregister();

 private:
  friend struct SignalRegistry;

  int folder_fd_ = -1;
  char name_[NAME_MAX + 1] = {};
  RemovedOnSignal* next_ = nullptr;
  RemovedOnSignal* previous_ = nullptr;
  bool registered_ = false;
};

// While one of these lives, the three signals are held back: the first one
// to arrive takes effect (registered files removed, the run ended) when the
// last SignalsDeferred ends.
class SignalsDeferred {
 public:
  SignalsDeferred();
  ~SignalsDeferred();
  SignalsDeferred(const SignalsDeferred&) = delete;
  SignalsDeferred& operator=(const SignalsDeferred&) = delete;
};

}  // namespace vemra
