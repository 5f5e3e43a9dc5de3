#include "cli/many_files_run.h"

#include <algorithm>
#include <string>
#include <system_error>
#include <thread>
#include <vector>

#include "base/available_processors.h"
#include "base/descriptor_limit.h"
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

// Files worked on at once, per processor, at most: more only share the
// processors and hold more memory.
constexpr std::size_t kJobsPerProcessor = 8;

// A batch of saves is completed at this many files or bytes: large enough
// that its flushes cost little per file, small enough to bound the memory
// and descriptors it holds.
constexpr std::size_t kMaxBatchSaves = 1000;
constexpr std::size_t kMaxBatchBytes = 64 * 1000 * 1000;

// The descriptors a run holds. A staged save holds up to four until its
// batch completes. Every report a worker may run ahead of the printing may
// hold a staged save, and the worker itself briefly opens up to two more
// while it reads a settings file, loads a file or stages its save. The run
// itself has the standard streams, the search for settings files, and a
// file or two opened briefly while a batch completes; a spare, smaller under
// a small limit, is left for descriptors the run was given open and for the
// libraries.
constexpr std::size_t kDescriptorsPerSave = 4;
constexpr std::size_t kDescriptorsPerWorker = kReportsAheadPerWorker * kDescriptorsPerSave + 2;
constexpr std::size_t kDescriptorsInTurn = kDescriptorsPerSave + 2;  // one file at a time
constexpr std::size_t kRunDescriptors = 6;
constexpr std::size_t kMaxSpareDescriptors = 64;

// How many files are worked on at once, and how many saves a batch gathers,
// within what the descriptor limit and the processors allow.
struct RunShape {
  std::size_t workers;
  std::size_t batch_saves;
};

// The descriptors left for the workers and the batch under limit.
std::size_t UsableDescriptors(std::size_t limit) {
  const std::size_t reserved = kRunDescriptors + std::min(kMaxSpareDescriptors, limit / 8);
  return limit > reserved ? limit - reserved : 0;
}

// The workers that usable descriptors allow beside a batch of one save; at
// least one, which works in turn.
std::size_t WorkersAllowed(std::size_t usable) {
  const std::size_t for_workers = usable > kDescriptorsPerSave ? usable - kDescriptorsPerSave : 0;
  return std::max<std::size_t>(1, for_workers / kDescriptorsPerWorker);
}

// The saves a batch may gather with the descriptors the workers leave.
std::size_t BatchSaves(std::size_t usable, std::size_t workers) {
  const std::size_t held = workers <= 1 ? kDescriptorsInTurn : workers * kDescriptorsPerWorker;
  const std::size_t left = usable > held ? usable - held : 0;
  return std::clamp<std::size_t>(left / kDescriptorsPerSave, 1, kMaxBatchSaves);
}

// Why the jobs asked for were lowered: the descriptors, or the processors.
std::string LoweredReason(bool by_descriptors, std::size_t limit, std::size_t processors) {
  if (by_descriptors) return "the run may open at most " + std::to_string(limit) + " files at once";
  return "at most " + std::to_string(kJobsPerProcessor) + " for " +
         (processors == 1 ? std::string("the processor")
                          : "each of the " + std::to_string(processors) + " processors") +
         " the run may use";
}

// The shape of a run over that many inputs: the jobs asked for, or as many
// as the processors, but no more than there are inputs, than the
// descriptors allow, or than a few for each processor. Jobs lowered below
// what the inputs could keep busy are told on standard error.
RunShape ShapeRun(Console& console, const RunSettings& settings, std::size_t inputs) {
  const std::size_t processors = AvailableProcessors();
  const std::size_t asked =
      settings.Jobs > 0 ? static_cast<std::size_t>(settings.Jobs) : processors;
  const std::size_t limit = RaiseDescriptorLimit();
  const std::size_t usable = UsableDescriptors(limit);
  const std::size_t by_descriptors = WorkersAllowed(usable);
  const std::size_t by_processors = kJobsPerProcessor * processors;
  const std::size_t wanted = std::min(asked, inputs);
  const std::size_t workers = std::min({wanted, by_descriptors, by_processors});
  if (workers < wanted) {
    console.Warn("-jobs=" + std::to_string(asked) + " lowered to " + std::to_string(workers) +
                 ": " + LoweredReason(by_descriptors <= by_processors, limit, processors));
  }
  return {workers, BatchSaves(usable, workers)};
}

class ManyFilesRun {
 public:
  ManyFilesRun(Console& console, const RunSettings& settings, CollectedInputs collected,
               RunShape shape)
      : console_(console),
        settings_(settings),
        inputs_(std::move(collected.inputs)),
        workers_(shape.workers),
        window_(kReportsAheadPerWorker * std::max<std::size_t>(shape.workers, 1)),
        batch_(shape.batch_saves, kMaxBatchBytes),
        project_(settings),
        review_{settings.Diff, settings.List, console.ColoursReports(), console.ColoursData()} {
    summary_.CountIgnored(collected.ignored);
  }

  int Run() {
    options_line_ = OptionsLine(CommandLineOptions(settings_), settings_);
    console_.Progress() << options_line_ << "\n";
    if (workers_ <= 1 || !RunInParallel()) RunInTurn();
    Print(batch_.Complete());
    console_.Reports() << summary_.Line(settings_.Review()) << "\n";
    console_.Flush();
    return summary_.ExitStatus();
  }

 private:
  using Sequencer = ReportSequencer<FileReport>;

  // Failures go where the run's failures go, the verdicts of a review are
  // what was asked for, and the reports of files formatted are progress.
  std::ostream& StreamFor(FileOutcome outcome) {
    switch (outcome) {
      case FileOutcome::kFailed:
        return console_.Failures();
      case FileOutcome::kWouldReformat:
      case FileOutcome::kAlreadyFormatted:
        return console_.Reports();
      case FileOutcome::kReformatted:
      case FileOutcome::kUnchanged:
      case FileOutcome::kSkipped:
      case FileOutcome::kIgnored:
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
    console_.Data() << report.data;
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
      return RunFileJob(inputs_[index], settings_, project_, review_);
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
  SaveBatch batch_;             // saves waiting to be completed, with the reports after them
  ProjectSettings project_;     // the project's settings for each file, shared by the workers
  const ReviewRequest review_;  // what a review prints for each file
  std::string options_line_;    // the options line printed last
  RunSummary summary_;
};

}  // namespace

int RunManyFiles(Console& console, const RunSettings& settings) {
  CollectedInputs collected =
      CollectInputs(settings.Names, {settings.Extensions, settings.Files, settings.IgnoreFiles});
  const RunShape shape = ShapeRun(console, settings, collected.inputs.size());
  return ManyFilesRun(console, settings, std::move(collected), shape).Run();
}

}  // namespace vemra
