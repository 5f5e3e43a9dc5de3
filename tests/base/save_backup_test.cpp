// The backup that guards a file written over in place: where it goes, what a
// later run does when it finds one, and what happens when none can be made or
// the disk fills up.
#include "base/save_backup.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sched.h>
#include <sys/file.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>

#include "base/failures.h"
#include "base/string_list.h"
#include "base/unique_fd.h"
#include "tests/base/child_run.h"
#include "tests/base/test_folder.h"

namespace vemra {
namespace {

using testing::BecomeUnprivileged;
using testing::ReadBytes;
using testing::RunCapturingFailure;
using testing::SaveOutcome;
using testing::StatOf;
using testing::TempFolderVariable;
using testing::TestFolder;
using testing::WriteBytes;

const std::string kOld = "old\n";
const std::string kBackupBytes = "older\n";

struct LeftBackupCase {
  bool in_temp_folder;  // else beside the file
  bool in_use;          // locked by a run that is writing right now
};

TEST(SaveBackup, ABackupFoundStopsLoadAndSaveAndIsNeverTouched) {
  const LeftBackupCase cases[] = {{false, false}, {true, false}, {false, true}, {true, true}};
  for (const LeftBackupCase& c : cases) {
    TestFolder folder;
    mkdir((folder / "tmp").c_str(), 0700);
    const TempFolderVariable tmpdir(folder / "tmp");
    const std::string path = folder / "f.vem";
    WriteBytes(path, kOld);
    const BackupPlaces places = BackupPlacesOf(path);
    const std::string backup = c.in_temp_folder ? places.in_temp_folder : places.beside;
    WriteBytes(backup, kBackupBytes);
    const UniqueFd lock(open(backup.c_str(), O_RDONLY));
    if (c.in_use) {
      ASSERT_EQ(flock(lock.Get(), LOCK_EX), 0);
    }
    const std::string reason =
        c.in_use ? "Another run is writing over it right now (its old bytes are kept in \"" +
                       backup + "\" until it is done)"
                 : "An earlier save of it was interrupted while it wrote over the file, whose "
                   "old bytes are kept in \"" +
                       backup +
                       "\": compare the two, then copy the backup over the file or remove the "
                       "backup, and run again";
    const std::string label = backup + (c.in_use ? " in use" : " left");
    TStringList list;
    try {
      list.LoadFile(path);
      ADD_FAILURE() << label << ": loaded";
    } catch (const EFOpenError& failure) {
      EXPECT_EQ(failure.Message(), "Cannot open file \"" + path + "\". " + reason) << label;
    }
    list.AssignText("new");
    try {
      list.SaveFile(path);
      ADD_FAILURE() << label << ": saved";
    } catch (const EFCreateError& failure) {
      EXPECT_EQ(failure.Message(), "Cannot create file \"" + path + "\". " + reason) << label;
    }
    EXPECT_EQ(ReadBytes(path), kOld) << label;
    EXPECT_EQ(ReadBytes(backup), kBackupBytes) << label;
  }
}

// Gives the folder and a file in it to the unprivileged user, so that a child
// that becomes that user meets ordinary permission checks; then locks the
// folder against new files.
void LockFolderAgainstNewFiles(const TestFolder& folder, const std::string& file) {
  if (geteuid() == 0) {
    chown(folder.Path().c_str(), testing::kUnprivilegedId, testing::kUnprivilegedId);
    chown(file.c_str(), testing::kUnprivilegedId, testing::kUnprivilegedId);
  }
  chmod(folder.Path().c_str(), 0555);
}

TEST(SaveBackup, LockedFolderPutsTheBackupInTheTemporaryFolderOrRefuses) {
  for (const bool temp_folder_usable : {true, false}) {
    TestFolder folder;
    TestFolder temp;
    chmod(temp.Path().c_str(), 0777);
    const std::string temp_folder = temp_folder_usable ? temp.Path() : temp / "missing";
    const TempFolderVariable tmpdir(temp_folder);
    const std::string path = folder / "f.vem";
    WriteBytes(path, kOld);
    const ino_t inode = StatOf(path).st_ino;
    LockFolderAgainstNewFiles(folder, path);
    const auto result = RunCapturingFailure(BecomeUnprivileged, [&] {
      TStringList list;
      list.AssignText("new");
      list.SaveFile(path);
    });
    chmod(folder.Path().c_str(), 0755);
    EXPECT_EQ(StatOf(path).st_ino, inode);
    EXPECT_EQ(folder.Names(), std::set<std::string>{"f.vem"});
    EXPECT_TRUE(temp.Names().empty());
    if (temp_folder_usable) {
      EXPECT_EQ(result.outcome, SaveOutcome::kSaved) << result.message;
      EXPECT_EQ(ReadBytes(path), "new\r\n");
    } else {
      EXPECT_EQ(result.outcome, SaveOutcome::kCreateError);
      EXPECT_EQ(result.message, "Cannot create file \"" + path +
                                    "\". No backup of its old bytes can be made: not beside it "
                                    "(Permission denied) nor in \"" +
                                    temp_folder + "\" (No such file or directory)");
      EXPECT_EQ(ReadBytes(path), kOld);
    }
  }
}

// A small file system of the child's own on folder, where the system allows
// mounting one; else a limit on the size of every file the child writes.
void MakeDiskSmall(const std::string& folder) {
  const bool mounted = unshare(CLONE_NEWNS) == 0 &&
                       mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0 &&
                       mount("tmpfs", folder.c_str(), "tmpfs", 0, "size=64k") == 0;
  if (!mounted) testing::LimitFileSize(65536);
}

TEST(SaveBackup, FullDiskNamesTheFileAndTheCauseAndKeepsTheFile) {
  const std::string old_bytes(20000, 'o');
  for (const bool hard_linked : {false, true}) {
    TestFolder folder;
    const std::string disk = folder / "disk";
    mkdir(disk.c_str(), 0755);
    const TempFolderVariable tmpdir(disk);
    const std::string path = disk + "/f.vem";
    const auto result = RunCapturingFailure(
        [&] { MakeDiskSmall(disk); },
        [&] {
          WriteBytes(path, old_bytes);
          if (hard_linked) link(path.c_str(), (disk + "/g.vem").c_str());
          TStringList list;
          list.AssignText(std::string(100000, 'n'));
          try {
            list.SaveFile(path);
          } catch (const EWriteError& failure) {
            // What the disk holds afterwards, seen from inside the child.
            std::string names;
            for (const std::string& name : testing::NamesIn(disk)) names += name + " ";
            throw EWriteError(failure.Message() + " | " +
                              (ReadBytes(path) == old_bytes ? "old bytes" : "changed") + " | " +
                              names);
          }
        });
    ASSERT_EQ(result.outcome, SaveOutcome::kWriteError) << result.message;
    const std::string on_tmpfs =
        "Stream write error. Cannot write \"" + path + "\". No space left on device | old bytes | ";
    const std::string limited =
        "Stream write error. Cannot write \"" + path + "\". File too large | old bytes | ";
    EXPECT_TRUE(result.message.starts_with(on_tmpfs) || result.message.starts_with(limited))
        << result.message;
    const std::string names = result.message.substr(result.message.rfind(" | ") + 3);
    EXPECT_EQ(names, hard_linked ? "f.vem g.vem " : "f.vem ")
        << "no temporary file nor backup is left";
  }
}

}  // namespace
}  // namespace vemra
