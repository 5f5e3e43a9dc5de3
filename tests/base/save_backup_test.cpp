// The backup that guards a file written over in place: where it goes, what a
// later run does when it finds one, and what happens when none can be made or
// the disk fills up.
#include "base/posix/save_backup.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sched.h>
#include <sys/file.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>

#include "base/failures.h"
#include "base/posix/unique_fd.h"
#include "base/string_list.h"
#include "tests/base/child_run.h"
#include "tests/base/stat_of.h"
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

enum class Place { kBeside, kOwnFolder, kSharedFolder };

// What stands under a backup's name.
enum class Planted {
  kBackup,         // the user's own: mode 0600, a regular file
  kBackupInUse,    // the same, locked by a run writing right now
  kOpenToOthers,   // the user's, mode 0644
  kOtherUsers,     // another user's file, mode 0600
  kLink,           // a link to a file of the user's
  kForeignFolder,  // another user's folder where the user's own should be
};

enum class Verdict { kInterrupted, kInProgress, kForeign, kIgnored };

struct BackupCase {
  Place place;
  Planted planted;
  Verdict verdict;
};

// Puts what the case plants at its place; false when this user cannot.
bool Plant(const BackupCase& c, const std::string& path, const std::string& tmp) {
  const std::string own_folder = tmp + "/vemrafmt-" + std::to_string(geteuid());
  if (c.place == Place::kOwnFolder || c.planted == Planted::kForeignFolder) {
    mkdir(own_folder.c_str(), 0700);
  }
  const BackupPlaces places = BackupPlacesOf(path);
  const std::string backup = c.place == Place::kBeside      ? places.beside
                             : c.place == Place::kOwnFolder ? places.in_temp_folder
                                                            : places.in_shared_folder;
  const bool other_user = c.planted == Planted::kOtherUsers || c.planted == Planted::kForeignFolder;
  if (other_user && geteuid() != 0) return false;
  if (c.planted == Planted::kLink) {
    WriteBytes(tmp + "/target", kBackupBytes);
    chmod((tmp + "/target").c_str(), 0600);
    return symlink((tmp + "/target").c_str(), backup.c_str()) == 0;
  }
  WriteBytes(backup, kBackupBytes);
  chmod(backup.c_str(), c.planted == Planted::kOpenToOthers ? 0644 : 0600);
  if (other_user) chown(backup.c_str(), testing::kUnprivilegedId, testing::kUnprivilegedId);
  if (c.planted == Planted::kForeignFolder) {
    chown(own_folder.c_str(), testing::kUnprivilegedId, testing::kUnprivilegedId);
  }
  return true;
}

// A backup this user's runs made stops every load and save, and is named as
// holding the old bytes; anything else under a backup's name is never
// offered as the old bytes: beside the file or in the user's own folder it
// is named as foreign, in the shared folder (where anyone may put a file of
// that name) it is passed over.
TEST(SaveBackup, OnlyTheUsersOwnBackupCountsAndNothingElseIsOfferedAsTheOldBytes) {
  const BackupCase cases[] = {
      {Place::kBeside, Planted::kBackup, Verdict::kInterrupted},
      {Place::kBeside, Planted::kBackupInUse, Verdict::kInProgress},
      {Place::kOwnFolder, Planted::kBackup, Verdict::kInterrupted},
      {Place::kOwnFolder, Planted::kBackupInUse, Verdict::kInProgress},
      {Place::kSharedFolder, Planted::kBackup, Verdict::kInterrupted},
      {Place::kBeside, Planted::kOpenToOthers, Verdict::kForeign},
      {Place::kBeside, Planted::kLink, Verdict::kForeign},
      {Place::kOwnFolder, Planted::kOtherUsers, Verdict::kForeign},
      {Place::kSharedFolder, Planted::kOtherUsers, Verdict::kIgnored},
      {Place::kSharedFolder, Planted::kOpenToOthers, Verdict::kIgnored},
      {Place::kSharedFolder, Planted::kLink, Verdict::kIgnored},
      {Place::kOwnFolder, Planted::kForeignFolder, Verdict::kIgnored},
  };
  for (const BackupCase& c : cases) {
    TestFolder folder;
    const std::string tmp = folder / "tmp";
    mkdir(tmp.c_str(), 01777);
    const TempFolderVariable tmpdir(tmp);
    const std::string path = folder / "f.vem";
    WriteBytes(path, kOld);
    const std::string label = "place " + std::to_string(static_cast<int>(c.place)) + ", planted " +
                              std::to_string(static_cast<int>(c.planted));
    if (!Plant(c, path, tmp)) continue;  // needs the superuser to plant
    const BackupPlaces places = BackupPlacesOf(path);
    const std::string backup = c.place == Place::kBeside      ? places.beside
                               : c.place == Place::kOwnFolder ? places.in_temp_folder
                                                              : places.in_shared_folder;
    const UniqueFd lock(open(backup.c_str(), O_RDONLY));
    if (c.planted == Planted::kBackupInUse) {
      ASSERT_EQ(flock(lock.Get(), LOCK_EX), 0) << label;
    }
    const std::string reason =
        c.verdict == Verdict::kInProgress
            ? "Another run is writing over it right now (its old bytes are kept in \"" + backup +
                  "\" until it is done)"
        : c.verdict == Verdict::kInterrupted
            ? "An earlier save of it was interrupted while it wrote over the file, whose old "
              "bytes are kept in \"" +
                  backup +
                  "\": compare the two, then copy the backup over the file or remove the backup, "
                  "and run again"
            : "A file stands under the name of its backup, \"" + backup +
                  "\", that is no backup this program made for this user: look at it, move it "
                  "out of the way, and run again";
    TStringList list;
    try {
      list.LoadFile(path);
      EXPECT_EQ(c.verdict, Verdict::kIgnored) << label << ": loaded";
    } catch (const EFOpenError& failure) {
      EXPECT_EQ(failure.Message(), "Cannot open file \"" + path + "\". " + reason) << label;
    }
    list.AssignText("new");
    try {
      list.SaveFile(path);
      EXPECT_EQ(c.verdict, Verdict::kIgnored) << label << ": saved";
    } catch (const EFCreateError& failure) {
      EXPECT_EQ(failure.Message(), "Cannot create file \"" + path + "\". " + reason) << label;
    }
    EXPECT_EQ(ReadBytes(path), c.verdict == Verdict::kIgnored ? "new\r\n" : kOld) << label;
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
    // Nothing is left but, where it could be made, the user's own folder.
    const std::string own_folder = "vemrafmt-" + std::to_string(testing::kUnprivilegedId);
    if (temp_folder_usable) {
      EXPECT_EQ(temp.Names(), std::set<std::string>{own_folder});
      EXPECT_TRUE(testing::NamesIn(temp / own_folder).empty());
      EXPECT_EQ(StatOf(temp / own_folder).st_mode & 07777, 0700);
    } else {
      EXPECT_TRUE(temp.Names().empty());
    }
    if (temp_folder_usable) {
      EXPECT_EQ(result.outcome, SaveOutcome::kSaved) << result.message;
      EXPECT_EQ(ReadBytes(path), "new\r\n");
    } else {
      EXPECT_EQ(result.outcome, SaveOutcome::kCreateError);
      EXPECT_EQ(result.message, "Cannot create file \"" + path +
                                    "\". No backup of its old bytes can be made: not beside it "
                                    "(Permission denied) nor in \"" +
                                    temp_folder + "/" + own_folder +
                                    "\" (No such file or directory)");
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
