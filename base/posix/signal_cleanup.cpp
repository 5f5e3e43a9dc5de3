#include "base/posix/signal_cleanup.h"

#include <fcntl.h>
#include <pthread.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstring>

namespace vemra {

// The registered files and the program's hold on the signals. Changed only
// under Lock, which also keeps the signals away from the changing thread;
// the handler takes the same lock, so that on another thread it waits until
// a change is complete.
struct SignalRegistry {
  static constexpr int kSignals[] = {SIGINT, SIGTERM, SIGHUP};
  static constexpr int kSignalCount = 3;

  std::atomic<bool> busy{false};            // the lock
  RemovedOnSignal* head = nullptr;          // registered files
  int users = 0;                            // registrations and deferring sections
  std::atomic<int> deferring{0};            // SignalsDeferred alive
  std::atomic<int> deferred_signal{0};      // a signal that arrived while deferring
  struct sigaction previous[kSignalCount];  // what the signals did before
  bool handled[kSignalCount] = {};          // the program's handler is installed

  void Lock() {
    while (busy.exchange(true, std::memory_order_acquire)) {
    }
  }
  void Unlock() { busy.store(false, std::memory_order_release); }

  void RemoveRegisteredFiles() {
    for (const RemovedOnSignal* file = head; file != nullptr; file = file->next_) {
      unlinkat(file->folder_fd_, file->name_, 0);
    }
  }

  static void OnSignal(int signal_number);
  void AddUser();
  void DropUser();
  void Install();
  void Uninstall();
  void RestorePrevious(int signal_number);
};

namespace {

SignalRegistry registry;

// Keeps the three signals from the calling thread and takes the registry's
// lock, so that the handler never sees a change half made.
class RegistryChange {
 public:
  RegistryChange() {
    sigset_t set;
    sigemptyset(&set);
    for (const int signal_number : SignalRegistry::kSignals) sigaddset(&set, signal_number);
    pthread_sigmask(SIG_BLOCK, &set, &old_mask_);
    registry.Lock();
  }
  ~RegistryChange() {
    registry.Unlock();
    pthread_sigmask(SIG_SETMASK, &old_mask_, nullptr);
  }
  RegistryChange(const RegistryChange&) = delete;
  RegistryChange& operator=(const RegistryChange&) = delete;

 private:
  sigset_t old_mask_;
};

}  // namespace

// Runs in signal context: only async-signal-safe calls.
void SignalRegistry::OnSignal(int signal_number) {
  const int saved_errno = errno;
  if (registry.deferring.load() > 0) {
    registry.deferred_signal.store(signal_number);
    errno = saved_errno;
    return;
  }
  registry.Lock();
  registry.RemoveRegisteredFiles();
  // The signal is sent again with what it did before the program took it
  // over; blocked while this handler runs, it takes effect on return.
  registry.RestorePrevious(signal_number);
  registry.Unlock();
  raise(signal_number);
  errno = saved_errno;
}

void SignalRegistry::RestorePrevious(int signal_number) {
  for (int i = 0; i < kSignalCount; ++i) {
    if (kSignals[i] == signal_number && handled[i]) {
      sigaction(signal_number, &previous[i], nullptr);
      handled[i] = false;
    }
  }
}

void SignalRegistry::Install() {
  struct sigaction action {};
  action.sa_handler = &SignalRegistry::OnSignal;
  action.sa_flags = SA_RESTART;
  sigemptyset(&action.sa_mask);
  for (const int signal_number : kSignals) sigaddset(&action.sa_mask, signal_number);
  for (int i = 0; i < kSignalCount; ++i) {
    sigaction(kSignals[i], nullptr, &previous[i]);
    // A signal the run was told to ignore (nohup) stays ignored.
    handled[i] = previous[i].sa_handler != SIG_IGN;
    if (handled[i]) sigaction(kSignals[i], &action, nullptr);
  }
}

void SignalRegistry::Uninstall() {
  for (int i = 0; i < kSignalCount; ++i) RestorePrevious(kSignals[i]);
}

void SignalRegistry::AddUser() {
  if (users++ == 0) Install();
}

void SignalRegistry::DropUser() {
  if (--users == 0) Uninstall();
}

void RemovedOnSignal::Register(int folder_fd, std::string_view name) {
  Unregister();
  if (name.size() >= sizeof name_) return;
  const RegistryChange change;
  folder_fd_ = folder_fd;
  std::memcpy(name_, name.data(), name.size());
  name_[name.size()] = '\0';
  previous_ = nullptr;
  next_ = registry.head;
  if (next_ != nullptr) next_->previous_ = this;
  registry.head = this;
  registered_ = true;
  registry.AddUser();
}

void RemovedOnSignal::Unregister() {
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
  registry.DropUser();
}

SignalsDeferred::SignalsDeferred() {
  const RegistryChange change;
  registry.AddUser();
  registry.deferring.fetch_add(1);
}

SignalsDeferred::~SignalsDeferred() {
  int signal_number = 0;
  {
    const RegistryChange change;
    if (registry.deferring.fetch_sub(1) == 1) signal_number = registry.deferred_signal.exchange(0);
  }
  // Sent again now that nothing is half written; the handler is still in
  // place, so registered files go first.
  if (signal_number != 0) raise(signal_number);
  const RegistryChange change;
  registry.DropUser();
}

}  // namespace vemra
