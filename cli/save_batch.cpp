#include "cli/save_batch.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <exception>
#include <set>
#include <string>

#include "base/pending_save.h"
#include "base/save_target.h"
#include "base/unique_fd.h"

namespace vemra {

namespace {

// Has each file system that holds a folder of the saves write back all it
// has, in one go. Only a shortcut: each save still flushes its own file and
// folder afterwards, which then costs next to nothing; where this fails or
// misses a file system (a link to another one), those flushes do the work.
void SyncFileSystems(const std::vector<FileReport>& reports) {
  std::set<std::string> folders;
  std::set<dev_t> devices;
  for (const FileReport& report : reports) {
    if (!report.staged || !folders.insert(FolderOf(report.staged->path)).second) continue;
    const UniqueFd folder(
        open(FolderOf(report.staged->path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    struct stat info {};
    if (folder.Valid() && fstat(folder.Get(), &info) == 0 && devices.insert(info.st_dev).second) {
      syncfs(folder.Get());
    }
  }
}

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

}  // namespace

// One flush per folder: it covers every rename made in the folder before it.
// Saves in one folder as named land in one folder, except through a link
// to a file, which lands beside the file it points to.
void SaveBatch::FlushFolders() {
  std::set<std::string> flushed;
  for (FileReport& report : reports_) {
    if (!report.staged) continue;
    struct stat info {};
    const bool link = lstat(report.staged->path.c_str(), &info) == 0 && S_ISLNK(info.st_mode);
    if (link || flushed.insert(FolderOf(report.staged->path)).second) {
      RunStage(report, [](PendingSave& s) { s.FlushFolder(); });
    }
  }
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
    SyncFileSystems(reports_);
    for (FileReport& report : reports_) RunStage(report, [](PendingSave& s) { s.MakeDurable(); });
    for (FileReport& report : reports_) RunStage(report, [](PendingSave& s) { s.Commit(); });
    SyncFileSystems(reports_);
    FlushFolders();
    for (FileReport& report : reports_) report.staged.reset();  // its descriptors are closed
  }
  saves_ = 0;
  bytes_ = 0;
  return std::exchange(reports_, {});
}

}  // namespace vemra
