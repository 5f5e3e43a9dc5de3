#include "cli/save_batch.h"

#include <algorithm>
#include <atomic>
#include <exception>
#include <set>
#include <string>
#include <system_error>
#include <thread>
#include <utility>

#include "base/file_kind.h"
#include "base/file_system_flush.h"
#include "base/path_parts.h"
#include "base/pending_save.h"

namespace vemra {

namespace {

// Flushes of a batch in flight at once. One flush waits for the disk; many
// at once are served by the same few journal commits and cache flushes.
constexpr std::size_t kParallelFlushes = 16;

// Runs one stage of a staged save; a failure replaces the report.
template <typename Stage>
void RunStage(FileReport& report, Stage stage) {
  if (!report.staged) return;
  try {
    stage(*report.staged->save);
  } catch (...) {
    const std::string path = report.staged->path;
    report = FailureReport(path, FailureOf(std::current_exception()));
  }
}

// Runs a stage on the chosen reports from several threads at once, this
// one among them (alone, should the system give no other).
template <typename Stage>
void RunStageInParallel(std::vector<FileReport*> chosen, Stage stage) {
  std::atomic<std::size_t> next{0};
  auto run = [&] {
    for (std::size_t i; (i = next++) < chosen.size();) RunStage(*chosen[i], stage);
  };
  std::vector<std::jthread> helpers;
  try {
    while (helpers.size() + 1 < std::min(kParallelFlushes, chosen.size()))
      helpers.emplace_back(run);
  } catch (const std::system_error&) {
  }
  run();
}

}  // namespace

// One flush per folder, after the renames: it covers every rename made in
// the folder. Saves in one folder as named land in one folder, except
// through a link to a file, which lands beside the file it points to.
void SaveBatch::FlushFolders() {
  std::set<std::string> folders;
  std::vector<FileReport*> chosen;
  for (FileReport& report : reports_) {
    if (!report.staged) continue;
    const PathLook look = LookAt(report.staged->path, false);
    const bool link = look.Exists() && look.kind == FileKind::kLink;
    if (link || folders.insert(FolderOf(report.staged->path)).second) chosen.push_back(&report);
  }
  RunStageInParallel(std::move(chosen), [](PendingSave& save) { save.FlushFolder(); });
}

// The file systems of the batch flushed whole, so that the flush of each
// file that follows finds its bytes on disk already and costs little.
void SaveBatch::FlushFileSystems() {
  std::vector<std::string> folders;
  for (const FileReport& report : reports_) {
    if (report.staged) folders.push_back(FolderOf(report.staged->path));
  }
  FlushFileSystemsOf(folders);
}

void SaveBatch::Add(FileReport report) {
  if (report.staged) {
    ++saves_;
    bytes_ += report.staged->bytes.size();
  }
  reports_.push_back(std::move(report));
}

std::vector<FileReport> SaveBatch::Complete() {
  if (saves_ > 0) {
    FlushFileSystems();
    // Each file's own flush still decides: it reports a failure to write
    // that file, which the flush of its file system may not.
    std::vector<FileReport*> all;
    for (FileReport& report : reports_) all.push_back(&report);
    RunStageInParallel(std::move(all), [](PendingSave& save) { save.MakeDurable(); });
    // In order, each only once every file's new bytes are on disk.
    for (FileReport& report : reports_) RunStage(report, [](PendingSave& save) { save.Commit(); });
    FlushFolders();
    for (FileReport& report : reports_) report.staged.reset();  // its descriptors are closed
  }
  saves_ = 0;
  bytes_ = 0;
  return std::exchange(reports_, {});
}

}  // namespace vemra
