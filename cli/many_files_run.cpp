#include "cli/many_files_run.h"

#include <sys/resource.h>

#include <algorithm>
#include <system_error>
#include <thread>
#include <vector>

#include "base/available_processors.h"
#include "cli/file_job.h"
#include "cli/input_walk.h"
#include "cli/project_settings.h"
#include "cli/report_sequencer.h"
#include "cli/run_progress.h"
#include "cli/run_summary.h"
#include "cli/save_batch.h"

namespace vemra {

namespace {

// Reports that may wait to be printed, per worker: enough to keep every
// worker busy while a long file holds up the printing, few enough that
// waiting diffs do not add up.
constexpr std::size_t kReportsAheadPerWorker = 4;

// A batch of saves is completed at this many files or bytes: large enough
// that its flushes cost little per file, small enough to bound the memory
// and descriptors it holds.
constexpr std::size_t kMaxBatchSaves = 1000;
constexpr std::size_t kMaxBatchBytes = 64 * 1000 * 1000;
// A staged save holds up to four descriptors; some are kept for the rest.
constexpr std::size_t kDescriptorsPerSave = 4;
constexpr std::size_t kSpareDescriptors = 64;

// How many descriptors the run may hold open, raised to what the system
// allows: the saves of a batch keep theirs open until it completes.
std::size_t DescriptorLimit() {
  rlimit limit{};
  if (getrlimit(RLIMIT_NOFILE, &limit) != 0) return 1024;
  if (limit.rlim_cur < limit.rlim_max) {
    rlimit raised = limit;
    raised.rlim_cur = std::min<rlim_t>(limit.rlim_max, 1 << 16);
    if (setrlimit(RLIMIT_NOFILE, &raised) == 0) limit = raised;
  }
  return static_cast<std::size_t>(std::min<rlim_t>(limit.rlim_cur, 1 << 16));
}

class ManyFilesRun {
 public:
  ManyFilesRun(Console& console, const RunSettings& settings, std::vector<InputFile> inputs,
               std::size_t workers)
      : console_(console),
        settings_(settings),
        inputs_(std::move(inputs)),
        workers_(workers),
        window_(kReportsAheadPerWorker * std::max<std::size_t>(workers, 1)),
        batch_(BatchSaves(window_), kMaxBatchBytes),
        project_(settings) {}

  int Run() {
    options_line_ = OptionsLine(CommandLineOptions(settings_), settings_);
    console_.Progress() << options_line_ << "\n";
    if (workers_ <= 1 || !RunInParallel()) RunInTurn();
    Print(batch_.Complete());
    console_.Out() << summary_.Line(settings_.Review()) << "\n";
    console_.Flush();
    return summary_.ExitStatus();
  }

 private:
  using Sequencer = ReportSequencer<FileReport>;

  // The saves a batch may gather, with the descriptors that the saves
  // waiting in the window may hold besides.
  static std::size_t BatchSaves(std::size_t window) {
    const std::size_t limit = DescriptorLimit();
    const std::size_t saves =
        limit > kSpareDescriptors ? (limit - kSpareDescriptors) / kDescriptorsPerSave : 0;
    return std::clamp<std::size_t>(saves > window ? saves - window : 1, 1, kMaxBatchSaves);
  }

  // Failures go where the run's failures go, the verdicts of a review are
  // what was asked for, and the reports of files formatted are progress.
  std::ostream& StreamFor(FileOutcome outcome) {
    switch (outcome) {
      case FileOutcome::kFailed:
        return console_.Failures();
      case FileOutcome::kWouldReformat:
      case FileOutcome::kAlreadyFormatted:
        return console_.Out();
      case FileOutcome::kReformatted:
      case FileOutcome::kUnchanged:
      case FileOutcome::kSkipped:
        break;
    }
    return console_.Progress();
  }

  // A file formatted with other options than the files before it, as the
  // project's settings for it say, has them shown above its report.
  void PrintOptionsFor(const FileReport& report) {
    if (report.options_line.empty() || report.options_line == options_line_) return;
    options_line_ = report.options_line;
    console_.Progress() << options_line_ << "\n";
  }

  void PrintOne(const FileReport& report) {
    for (const std::string& warning : report.warnings) console_.Warn(warning);
    PrintOptionsFor(report);
    StreamFor(report.outcome) << report.text;
    summary_.Count(report.outcome);
  }

  void Print(const std::vector<FileReport>& reports) {
    for (const FileReport& report : reports) PrintOne(report);
  }

  // Takes the next report in order: printed at once unless it, or one
  // before it, waits for a batch of saves to complete.
  void Take(FileReport report) {
    if (batch_.Empty() && !report.staged) {
      PrintOne(report);
      return;
    }
    batch_.Add(std::move(report));
    if (batch_.Full()) Print(batch_.Complete());
  }

  FileReport Work(std::size_t index) {
    try {
      return RunFileJob(inputs_[index], settings_, project_);
    } catch (...) {
      // Not even the failure's report could be made (out of memory): the
      // file still counts as failed.
      return {FileOutcome::kFailed, {}, nullptr};
    }
  }

  // One file after another.
  void RunInTurn() {
    for (std::size_t i = 0; i < inputs_.size(); ++i) {
      Take(Work(i));
      console_.Flush();
    }
  }

  // Workers take the files in order and hand in their reports, which this
  // thread, the only one that writes to the console, prints in order. False
  // when the system gives no thread at all.
  bool RunInParallel() {
    Sequencer sequencer(inputs_.size(), window_);
    std::vector<std::jthread> threads;
    // Declared after the threads, so that it runs first on every way out:
    // the workers are told to stop before they are joined.
    struct StopAtExit {
      Sequencer& sequencer;
      ~StopAtExit() { sequencer.Stop(); }
    } stop_at_exit{sequencer};
    try {
      for (std::size_t i = 0; i < workers_; ++i) {
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
      if (!sequencer.NextReady()) console_.Flush();
      Take(sequencer.TakeNext());
    }
    return true;
  }

  Console& console_;
  const RunSettings& settings_;
  const std::vector<InputFile> inputs_;  // sorted by path
  const std::size_t workers_;            // files worked on at once
  const std::size_t window_;             // reports that may wait to be taken
  SaveBatch batch_;           // saves waiting to be completed, with the reports after them
  ProjectSettings project_;   // the project's settings for each file, shared by the workers
  std::string options_line_;  // the options line printed last
  RunSummary summary_;
};

}  // namespace

int RunManyFiles(Console& console, const RunSettings& settings) {
  std::vector<InputFile> inputs =
      CollectInputs(settings.Names, settings.Extensions, settings.Files);
  const std::size_t jobs =
      settings.Jobs > 0 ? static_cast<std::size_t>(settings.Jobs) : AvailableProcessors();
  const std::size_t workers = std::min(jobs, inputs.size());
  return ManyFilesRun(console, settings, std::move(inputs), workers).Run();
}

}  // namespace vemra
