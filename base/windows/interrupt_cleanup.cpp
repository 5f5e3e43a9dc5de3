#include "base/windows/interrupt_cleanup.h"

#include <windows.h>

#include <mutex>
#include <utility>

namespace vemra {

// The registered files and the deferring sections, under one lock. Slim
// locks and condition variables need no setup and no teardown, so the
// handler may use them until the process ends.
struct InterruptRegistry {
  SRWLOCK lock = SRWLOCK_INIT;
  CONDITION_VARIABLE deferring_ended = CONDITION_VARIABLE_INIT;
  RemovedOnInterrupt* head = nullptr;  // registered files
  int deferring = 0;                   // InterruptsDeferred alive

  static BOOL WINAPI OnConsoleEvent(DWORD event);
};

namespace {

InterruptRegistry registry;

class RegistryChange {
 public:
  RegistryChange() { AcquireSRWLockExclusive(&registry.lock); }
  ~RegistryChange() { ReleaseSRWLockExclusive(&registry.lock); }
  RegistryChange(const RegistryChange&) = delete;
  RegistryChange& operator=(const RegistryChange&) = delete;
};

// Installed once and left in place: a handler that finds nothing to do
// costs nothing, and adding or removing one under the registry's lock
// could wait for the system's own lock while the handler holds it and
// waits for the registry's.
void InstallHandler() {
  static std::once_flag installed;
  std::call_once(installed,
                 [] { SetConsoleCtrlHandler(&InterruptRegistry::OnConsoleEvent, TRUE); });
}

}  // namespace

BOOL WINAPI InterruptRegistry::OnConsoleEvent(DWORD event) {
  // Logging off and shutting down are told to every console process, even
  // to one that runs as a service, and are the system's to handle.
  if (event != CTRL_C_EVENT && event != CTRL_BREAK_EVENT && event != CTRL_CLOSE_EVENT) {
    return FALSE;
  }
  AcquireSRWLockExclusive(&registry.lock);
  while (registry.deferring > 0) {
    SleepConditionVariableSRW(&registry.deferring_ended, &registry.lock, INFINITE, 0);
  }
  for (const RemovedOnInterrupt* file = registry.head; file != nullptr; file = file->next_) {
    DeleteFileW(file->path_.c_str());
  }
  // The lock stays taken: no thread of the run makes or registers another
  // file, or begins a write in place, before the process ends. The next
  // handler, the system's own, ends it as the event says.
  return FALSE;
}

void RemovedOnInterrupt::Register(std::wstring path) {
  Unregister();
  InstallHandler();
  const RegistryChange change;
  path_ = std::move(path);
  previous_ = nullptr;
  next_ = registry.head;
  if (next_ != nullptr) next_->previous_ = this;
  registry.head = this;
  registered_ = true;
}

void RemovedOnInterrupt::Unregister() {
  if (!registered_) return;
  const RegistryChange change;
  if (previous_ != nullptr) {
    previous_->next_ = next_;
  } else {
    registry.head = next_;
  }
  if (next_ != nullptr) next_->previous_ = previous_;
  next_ = previous_ = nullptr;
  registered_ = false;
}

InterruptsDeferred::InterruptsDeferred() {
  InstallHandler();
  const RegistryChange change;
  ++registry.deferring;
}

InterruptsDeferred::~InterruptsDeferred() {
  const RegistryChange change;
  if (--registry.deferring == 0) WakeAllConditionVariable(&registry.deferring_ended);
}

}  // namespace vemra
