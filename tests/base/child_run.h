// Runs a save in a child process that has given up rights the test process
// may hold: the superuser's power over permissions, a capability, or an
// unlimited file size. The child's exit status says how the save ended, and
// a failure's message comes back through a pipe.
#pragma once

#include <linux/capability.h>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <functional>
#include <string>

#include "base/failures.h"
#include "tests/support/test_system.h"

namespace vemra::testing {

enum class SaveOutcome { kSaved, kCreateError, kWriteError, kOtherFailure, kChildFailed };

struct ChildResult {
  SaveOutcome outcome;
  std::string message;  // the failure's message, if the save failed
};

namespace child_detail {

[[noreturn]] inline void ExitWith(int status, int pipe_fd, const std::string& message) {
  if (!message.empty() && write(pipe_fd, message.data(), message.size()) < 0) status = 5;
  _exit(status);
}

inline SaveOutcome OutcomeOf(int status) {
  if (!WIFEXITED(status)) return SaveOutcome::kChildFailed;
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

}  // namespace child_detail

inline ChildResult RunCapturingFailure(const std::function<void()>& limit,
                                       const std::function<void()>& save) {
  int pipe_fds[2];
  if (pipe(pipe_fds) != 0) return {SaveOutcome::kChildFailed, "no pipe"};
  const pid_t child = fork();
  if (child == 0) {
    close(pipe_fds[0]);
    limit();
    try {
      save();
      child_detail::ExitWith(0, pipe_fds[1], "");
    } catch (const EFCreateError& failure) {
      child_detail::ExitWith(1, pipe_fds[1], failure.Message());
    } catch (const EWriteError& failure) {
      child_detail::ExitWith(2, pipe_fds[1], failure.Message());
    } catch (const Exception& failure) {
      child_detail::ExitWith(3, pipe_fds[1], failure.ClassName() + ": " + failure.Message());
    } catch (...) {
      child_detail::ExitWith(3, pipe_fds[1], "");
    }
  }
  close(pipe_fds[1]);
  std::string message;
  char buffer[512];
  for (ssize_t got; (got = read(pipe_fds[0], buffer, sizeof buffer)) > 0;) {
    message.append(buffer, static_cast<std::size_t>(got));
  }
  close(pipe_fds[0]);
  int status = 0;
  if (child < 0 || waitpid(child, &status, 0) != child) return {SaveOutcome::kChildFailed, ""};
  return {child_detail::OutcomeOf(status), message};
}

inline SaveOutcome RunInChild(const std::function<void()>& limit,
                              const std::function<void()>& save) {
  return RunCapturingFailure(limit, save).outcome;
}

// Gives up one capability of the superuser and keeps the others.
inline void DropCapability(int capability) {
  __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
  __user_cap_data_struct data[2]{};
  if (syscall(SYS_capget, &header, data) != 0) _exit(4);
  const unsigned bit = 1u << (capability % 32);
  data[capability / 32].effective &= ~bit;
  data[capability / 32].permitted &= ~bit;
  if (syscall(SYS_capset, &header, data) != 0) _exit(4);
}

// Makes every write beyond max_bytes fail, as on a full disk.
inline void LimitFileSize(rlim_t max_bytes) {
  std::signal(SIGXFSZ, SIG_IGN);
  const rlimit limit{max_bytes, max_bytes};
  if (setrlimit(RLIMIT_FSIZE, &limit) != 0) _exit(4);
}

}  // namespace vemra::testing
