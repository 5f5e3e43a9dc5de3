// Runs a save in a child process that has given up rights the test process
// may hold: the superuser's power over permissions, or an unlimited file size.
// The child's exit status says how the save ended.
#pragma once

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <functional>

#include "base/failures.h"

namespace vemra::testing {

enum class SaveOutcome { kSaved, kCreateError, kWriteError, kOtherFailure, kChildFailed };

// The user id the child takes when the test runs as the superuser.
inline constexpr uid_t kUnprivilegedId = 65534;

inline SaveOutcome RunInChild(const std::function<void()>& limit,
                              const std::function<void()>& save) {
  const pid_t child = fork();
  if (child == 0) {
    limit();
    try {
      save();
      _exit(0);
    } catch (const EFCreateError&) {
      _exit(1);
    } catch (const EWriteError&) {
      _exit(2);
    } catch (...) {
      _exit(3);
    }
  }
  int status = 0;
  if (child < 0 || waitpid(child, &status, 0) != child || !WIFEXITED(status)) {
    return SaveOutcome::kChildFailed;
  }
  switch (WEXITSTATUS(status)) {
    case 0:
      return SaveOutcome::kSaved;
    case 1:
      return SaveOutcome::kCreateError;
    case 2:
      return SaveOutcome::kWriteError;
    case 3:
      return SaveOutcome::kOtherFailure;
    default:
      return SaveOutcome::kChildFailed;
  }
}

// Drops the superuser's rights, so that permission bits apply.
inline void BecomeUnprivileged() {
  if (geteuid() != 0) return;
  if (setgid(kUnprivilegedId) != 0 || setuid(kUnprivilegedId) != 0) _exit(4);
}

// Makes every write beyond max_bytes fail, as on a full disk.
inline void LimitFileSize(rlim_t max_bytes) {
  std::signal(SIGXFSZ, SIG_IGN);
  const rlimit limit{max_bytes, max_bytes};
  if (setrlimit(RLIMIT_FSIZE, &limit) != 0) _exit(4);
}

}  // namespace vemra::testing
