#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>

#include "base/failures.h"
#include "base/string_list.h"
#include "tests/base/child_run.h"
#include "tests/base/stat_of.h"
#include "tests/base/test_folder.h"

namespace vemra {
namespace {

using testing::BecomeUnprivileged;
using testing::LimitFileSize;
using testing::MakeOld;
using testing::ReadBytes;
using testing::RunInChild;
using testing::SaveOutcome;
using testing::StatOf;
using testing::TestFolder;
using testing::WriteBytes;

const std::string kOld = "old content\nkept byte for byte\n";
const std::string kNewText = "new\nlines";
const std::string kNewBytes = "new\r\nlines\r\n";

TStringList NewLines() {
  TStringList list;
  list.AssignText(kNewText);
  return list;
}

void SaveNewLines(const std::string& path) {
  NewLines().SaveFile(path);
}

struct RefusedCase {
  std::string name;
  std::string output;  // relative to the test folder
  std::string reason;
};

TEST(SafeSave, RefusedOutputNamesThePathAndTouchesNothing) {
  const RefusedCase cases[] = {
      {"missing folder", "no/such/out.vem", "No such file or directory"},
      {"output is a folder", "sub", "It is not a regular file"},
      {"output ends in a slash", "new/", "Is a directory"},
      {"a file used as a folder", "in.vem/out.vem", "Not a directory"},
  };
  for (const RefusedCase& c : cases) {
    TestFolder folder;
    mkdir((folder / "sub").c_str(), 0755);
    WriteBytes(folder / "in.vem", kOld);
    const std::string output = folder / c.output;
    try {
      SaveNewLines(output);
      ADD_FAILURE() << c.name << ": saved";
    } catch (const EFCreateError& failure) {
      EXPECT_EQ(failure.Message(), "Cannot create file \"" + output + "\". " + c.reason) << c.name;
    }
    EXPECT_EQ(ReadBytes(folder / "in.vem"), kOld) << c.name;
    EXPECT_EQ(folder.Names(), (std::set<std::string>{"in.vem", "sub"})) << c.name;
  }
}

TEST(SafeSave, ReplacesTheFileKeepingItsPermissionBits) {
  const mode_t modes[] = {0600, 0640, 0755, 0444, 02750};
  for (const mode_t mode : modes) {
    TestFolder folder;
    const std::string path = folder / "out.vem";
    WriteBytes(path, kOld);
    chmod(path.c_str(), mode);
    if (geteuid() != 0 && (mode & 0200) == 0) continue;  // refused: see the unprivileged test
    SaveNewLines(path);
    EXPECT_EQ(ReadBytes(path), kNewBytes);
    EXPECT_EQ(StatOf(path).st_mode & 07777, mode) << std::oct << mode;
    EXPECT_EQ(folder.Names(), std::set<std::string>{"out.vem"});
  }
}

TEST(SafeSave, NewFileGetsTheUsualModeForNewFiles) {
  TestFolder folder;
  const mode_t mask = umask(022);
  SaveNewLines(folder / "fresh.vem");
  umask(mask);
  EXPECT_EQ(StatOf(folder / "fresh.vem").st_mode & 07777, 0644u);
  EXPECT_EQ(ReadBytes(folder / "fresh.vem"), kNewBytes);
}

TEST(SafeSave, SymbolicLinksStayAndTheirTargetIsReplaced) {
  TestFolder folder;
  mkdir((folder / "real").c_str(), 0755);
  WriteBytes(folder / "real/target.vem", kOld);
  ASSERT_EQ(symlink("real/target.vem", (folder / "link1").c_str()), 0);           // relative
  ASSERT_EQ(symlink((folder / "link1").c_str(), (folder / "link2").c_str()), 0);  // chain
  ASSERT_EQ(symlink("real/dangling.vem", (folder / "dangling").c_str()), 0);
  SaveNewLines(folder / "link2");
  SaveNewLines(folder / "dangling");
  EXPECT_TRUE(S_ISLNK(StatOf(folder / "link1").st_mode));
  EXPECT_TRUE(S_ISLNK(StatOf(folder / "link2").st_mode));
  EXPECT_TRUE(S_ISLNK(StatOf(folder / "dangling").st_mode));
  EXPECT_EQ(ReadBytes(folder / "real/target.vem"), kNewBytes);
  EXPECT_EQ(ReadBytes(folder / "real/dangling.vem"), kNewBytes);
  EXPECT_EQ(folder.Names(), (std::set<std::string>{"real", "link1", "link2", "dangling"}));
}

TEST(SafeSave, HardLinkedFileIsWrittenInPlaceAndKeepsItsLinks) {
  TestFolder folder;
  WriteBytes(folder / "a.vem", kOld);
  ASSERT_EQ(link((folder / "a.vem").c_str(), (folder / "b.vem").c_str()), 0);
  const ino_t inode = StatOf(folder / "a.vem").st_ino;
  SaveNewLines(folder / "a.vem");
  EXPECT_EQ(ReadBytes(folder / "b.vem"), kNewBytes);
  EXPECT_EQ(StatOf(folder / "a.vem").st_ino, inode);
  EXPECT_EQ(StatOf(folder / "a.vem").st_nlink, 2u);
  EXPECT_EQ(folder.Names(), (std::set<std::string>{"a.vem", "b.vem"}));
}

TEST(SafeSave, UnchangedInputIsNotRewritten) {
  TestFolder folder;
  const std::string input = folder / "in.vem";
  const std::string copy = folder / "copy.vem";
  WriteBytes(input, kNewBytes);
  WriteBytes(copy, kNewBytes);
  MakeOld(input);
  MakeOld(copy);
  TStringList list;
  list.LoadFile(input);
  list.SaveFile(input);  // the loaded file, same bytes: left alone
  list.SaveFile(copy);   // another file: written even though its bytes agree
  EXPECT_EQ(StatOf(input).st_mtim.tv_sec, 1000000000);
  EXPECT_NE(StatOf(copy).st_mtim.tv_sec, 1000000000);
  list.ReplaceLine(0, "changed");
  list.SaveFile(input);
  EXPECT_EQ(ReadBytes(input), "changed\r\nlines\r\n");
}

TEST(SafeSave, FailedWriteLeavesTheOldFileAndNoTemporaryFile) {
  for (const bool hard_linked : {false, true}) {
    TestFolder folder;
    const std::string path = folder / "out.vem";
    WriteBytes(path, kOld);
    if (hard_linked) link(path.c_str(), (folder / "other.vem").c_str());
    TStringList big;
    big.AssignText(std::string(100000, 'x'));
    // Writes past 64 KiB fail: the old file is smaller, the new text larger.
    const auto result =
        testing::RunCapturingFailure([] { LimitFileSize(65536); }, [&] { big.SaveFile(path); });
    EXPECT_EQ(result.outcome, SaveOutcome::kWriteError) << hard_linked;
    EXPECT_EQ(result.message, "Stream write error. Cannot write \"" + path + "\". File too large")
        << hard_linked;
    EXPECT_EQ(ReadBytes(path), kOld) << hard_linked;
    const std::set<std::string> expected = hard_linked
                                               ? std::set<std::string>{"out.vem", "other.vem"}
                                               : std::set<std::string>{"out.vem"};
    EXPECT_EQ(folder.Names(), expected) << hard_linked;
  }
}

// Gives the folder and the named files to the unprivileged user, so that a
// child that becomes that user meets ordinary permission checks.
void HandOver(const TestFolder& folder, std::initializer_list<std::string> names) {
  if (geteuid() != 0) return;
  chown(folder.Path().c_str(), testing::kUnprivilegedId, testing::kUnprivilegedId);
  for (const std::string& name : names) {
    chown((folder / name).c_str(), testing::kUnprivilegedId, testing::kUnprivilegedId);
  }
}

TEST(SafeSave, ReadOnlyFileIsRefusedEvenThoughTheFolderIsWritable) {
  TestFolder folder;
  const std::string path = folder / "locked.vem";
  WriteBytes(path, kOld);
  chmod(path.c_str(), 0444);
  HandOver(folder, {"locked.vem"});
  const SaveOutcome outcome = RunInChild(BecomeUnprivileged, [&] { SaveNewLines(path); });
  EXPECT_EQ(outcome, SaveOutcome::kCreateError);
  EXPECT_EQ(ReadBytes(path), kOld);
  EXPECT_EQ(folder.Names(), std::set<std::string>{"locked.vem"});
}

TEST(SafeSave, WritableFileInALockedFolderIsWrittenInPlace) {
  TestFolder folder;
  const std::string path = folder / "open.vem";
  WriteBytes(path, kOld);
  HandOver(folder, {"open.vem"});
  chmod(folder.Path().c_str(), 0555);
  const ino_t inode = StatOf(path).st_ino;
  const SaveOutcome outcome = RunInChild(BecomeUnprivileged, [&] { SaveNewLines(path); });
  chmod(folder.Path().c_str(), 0755);
  EXPECT_EQ(outcome, SaveOutcome::kSaved);
  EXPECT_EQ(ReadBytes(path), kNewBytes);
  EXPECT_EQ(StatOf(path).st_ino, inode);
  EXPECT_EQ(folder.Names(), std::set<std::string>{"open.vem"});
}

TEST(SafeSave, ReplacedFileKeepsItsOwner) {
  if (geteuid() != 0) GTEST_SKIP() << "only the superuser can save over another user's file";
  TestFolder folder;
  const std::string path = folder / "theirs.vem";
  WriteBytes(path, kOld);
  chown(path.c_str(), testing::kUnprivilegedId, testing::kUnprivilegedId);
  SaveNewLines(path);
  EXPECT_EQ(StatOf(path).st_uid, testing::kUnprivilegedId);
  EXPECT_EQ(StatOf(path).st_gid, testing::kUnprivilegedId);
  EXPECT_EQ(ReadBytes(path), kNewBytes);
}

}  // namespace
}  // namespace vemra
