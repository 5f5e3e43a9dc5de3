#include "cli/many_files_run.h"

#include <sched.h>

#include <algorithm>
#include <mutex>
#include <system_error>
#include <thread>
#include <vector>

#include "cli/file_job.h"
#include "cli/input_walk.h"
#include "cli/report_sequencer.h"
#include "cli/run_progress.h"
#include "cli/run_summary.h"

namespace vemra {

namespace {

// Reports that may wait to be printed, per worker: enough to keep every
// worker busy while a long file holds up the printing, few enough that
// waiting diffs do not add up.
constexpr std::size_t kReportsAheadPerWorker = 4;

std::size_t AvailableProcessors() {
  cpu_set_t set;
  CPU_ZERO(&set);
  if (sched_getaffinity(0, sizeof set, &set) == 0 && CPU_COUNT(&set) > 0) {
    return static_cast<std::size_t>(CPU_COUNT(&set));
  }
  return std::max(1u, std::thread::hardware_concurrency());
}

class ManyFilesRun {
 public:
  ManyFilesRun(std::ostream& console, const RunSettings& settings, std::vector<InputFile> inputs)
      : console_(console), settings_(settings), inputs_(std::move(inputs)) {}

  int Run() {
    PrintOptions(console_, settings_);
    const std::size_t jobs =
        settings_.Jobs > 0 ? static_cast<std::size_t>(settings_.Jobs) : AvailableProcessors();
    const std::size_t workers = std::min(jobs, inputs_.size());
    if (workers <= 1 || !RunInParallel(workers)) RunInTurn();
    console_ << summary_.Line(settings_.Review()) << "\n" << std::flush;
    return summary_.ExitStatus();
  }

 private:
  using Sequencer = ReportSequencer<FileReport>;

  void Print(const FileReport& report) {
    console_ << report.text;
    summary_.Count(report.outcome);
  }

  FileReport Work(std::size_t index) {
    try {
      return RunFileJob(inputs_[index], settings_, save_lock_);
    } catch (...) {
      // Not even the failure's report could be made (out of memory): the
      // file still counts as failed.
      return {FileOutcome::kFailed, {}};
    }
  }

  // One file after another, each reported as soon as it is done.
  void RunInTurn() {
    for (std::size_t i = 0; i < inputs_.size(); ++i) {
      Print(Work(i));
      console_ << std::flush;
    }
  }

  // Workers take the files in order and hand in their reports, which this
  // thread, the only one that writes to the console, prints in order. False
  // when the system gives no thread at all.
  bool RunInParallel(std::size_t workers) {
    Sequencer sequencer(inputs_.size(), kReportsAheadPerWorker * workers);
    std::vector<std::jthread> threads;
    // Declared after the threads, so that it runs first on every way out:
    // the workers are told to stop before they are joined.
    struct StopAtExit {
      Sequencer& sequencer;
      ~StopAtExit() { sequencer.Stop(); }
    } stop_at_exit{sequencer};
    try {
      for (std::size_t i = 0; i < workers; ++i) {
        threads.emplace_back([this, &sequencer] {
          while (const std::optional<std::size_t> index = sequencer.Claim()) {
            sequencer.Deliver(*index, Work(*index));
          }
        });
      }
    } catch (const std::system_error&) {
      if (threads.empty()) return false;  // the few that started do the work
    }
    for (std::size_t i = 0; i < inputs_.size(); ++i) {
      // Reports that are ready go out together; the console is flushed
      // whenever the next one is still being worked on.
      if (!sequencer.NextReady()) console_ << std::flush;
      Print(sequencer.TakeNext());
    }
    return true;
  }

  std::ostream& console_;
  const RunSettings& settings_;
  const std::vector<InputFile> inputs_;  // sorted by path
  // Saves run one at a time: the save names its temporary files from a
  // counter that the whole process shares.
  std::mutex save_lock_;
  RunSummary summary_;
};

}  // namespace

int RunManyFiles(std::ostream& console, const RunSettings& settings) {
  return ManyFilesRun(console, settings,
                      CollectInputs(settings.Names, settings.Extensions, settings.Files))
      .Run();
}

}  // namespace vemra
