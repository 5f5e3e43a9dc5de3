// The program killed at every system call of a save that changes a file, on
// each way a file is saved: afterwards the file holds exactly its old or its
// new bytes, or its old bytes are in a backup that the next run finds and
// names, changing nothing.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <map>
#include <sstream>
#include <string>

#include "tests/base/test_folder.h"
#include "tests/cli/traced_run.h"

namespace vemra {
namespace {

using testing::NamesIn;
using testing::ProcessResult;
using testing::ReadBytes;
using testing::RunArgv;
using testing::Strace;
using testing::TestFolder;
using testing::WriteBytes;

// Every call that changes a file or its name, or orders such changes: a
// kill before each one leaves every state a save passes through.
const std::string kChangingCalls =
    "openat,write,copy_file_range,fsync,ftruncate,fchown,fchmod,fsetxattr,fremovexattr,"
    "renameat,renameat2,linkat,unlinkat,flock";

constexpr uid_t kNobody = 65534;

struct SaveWay {
  std::string name;
  bool hard_linked;    // written in place, the backup beside it
  bool locked_folder;  // written in place, the backup in the temporary folder
};

// One run's folders: work holds f.src (and g.src, a second link), tmp is
// the run's TMPDIR.
struct Scene {
  TestFolder root;
  std::string work = root / "work";
  std::string tmp = root / "tmp";
  std::string file = work + "/f.src";

  Scene(const SaveWay& way, const std::string& bytes) {
    chmod(root.Path().c_str(), 0755);  // for the user the folder may be given to
    std::filesystem::create_directory(work);
    std::filesystem::create_directory(tmp);
    chmod(tmp.c_str(), 01777);
    WriteBytes(file, bytes);
    if (way.hard_linked) link(file.c_str(), (work + "/g.src").c_str());
    if (way.locked_folder) {
      if (geteuid() == 0 && (chown(work.c_str(), kNobody, kNobody) != 0 ||
                             chown(file.c_str(), kNobody, kNobody) != 0)) {
        ADD_FAILURE() << "cannot give the folder away";
      }
      chmod(work.c_str(), 0555);
    }
  }
  ~Scene() { chmod(work.c_str(), 0755); }

  // strace's options to run the program as the user the folder was given to.
  static std::vector<std::string> AsOwner(const SaveWay& way) {
    if (way.locked_folder && geteuid() == 0) return {"-u", "nobody"};
    return {};
  }

  // The backup's path when there is one, else empty.
  std::string Backup() const {
    if (NamesIn(work).contains("f.src.vemrafmt-backup")) return work + "/f.src.vemrafmt-backup";
    // In the temporary folder, backups are in the user's own folder there.
    for (const std::string& folder : NamesIn(tmp)) {
      for (const std::string& name : NamesIn(tmp + "/" + folder)) {
        if (name.starts_with("vemrafmt-backup-")) return tmp + "/" + folder + "/" + name;
      }
    }
    return {};
  }
};

std::vector<std::string> Command(const SaveWay& way, const std::string& trace_file,
                                 const std::vector<std::string>& options) {
  std::vector<std::string> argv = Strace(trace_file, {});
  argv.pop_back();  // the program
  argv.pop_back();  // "--"
  const std::vector<std::string> owner = Scene::AsOwner(way);
  argv.insert(argv.end(), owner.begin(), owner.end());
  argv.insert(argv.end(), options.begin(), options.end());
  argv.insert(argv.end(), {"--", VEMRA_BINARY, "f.src"});
  return argv;
}

// How often the save makes each of the changing calls.
std::map<std::string, int> CountCalls(const SaveWay& way, const std::string& old_bytes) {
  Scene scene(way, old_bytes);
  const std::string log = scene.root / "calls.log";
  RunArgv(Command(way, log, {"-e", "trace=" + kChangingCalls}), scene.work, scene.tmp);
  std::map<std::string, int> counts;
  std::istringstream lines(ReadBytes(log));
  for (std::string line; std::getline(lines, line);) {
    const std::size_t name = line.find_first_not_of(' ', line.find(' '));
    const std::size_t paren = line.find('(', name);
    if (name == std::string::npos || paren == std::string::npos ||
        line.find("resumed>") != std::string::npos) {
      continue;
    }
    ++counts[line.substr(name, paren - name)];
  }
  return counts;
}

std::string NewBytesOf(const std::string& old_bytes) {
  TestFolder folder;
  WriteBytes(folder / "f.src", old_bytes);
  RunArgv({VEMRA_BINARY, "f.src"}, folder.Path(), folder.Path());
  return ReadBytes(folder / "f.src");
}

struct Tally {
  int old_bytes = 0;
  int new_bytes = 0;
  int backed_up = 0;
};

// What one kill left, checked; the next run is tried where a backup is left.
void CheckAfterKill(const Scene& scene, const SaveWay& way, const std::string& point,
                    const std::string& old_bytes, const std::string& new_bytes, Tally& tally) {
  const std::string now = ReadBytes(scene.file);
  if (way.hard_linked) {
    EXPECT_EQ(ReadBytes(scene.work + "/g.src"), now) << point;
  }
  const std::string backup = scene.Backup();
  if (backup.empty()) {
    EXPECT_TRUE(now == old_bytes || now == new_bytes) << point << ": a mixed file, no backup";
    (now == old_bytes ? tally.old_bytes : tally.new_bytes) += now == old_bytes || now == new_bytes;
    return;
  }
  ++tally.backed_up;
  EXPECT_TRUE(way.hard_linked || way.locked_folder) << point << ": a backup on the rename path";
  EXPECT_EQ(ReadBytes(backup), old_bytes) << point << ": the backup is not complete";
  const ProcessResult next = RunArgv({VEMRA_BINARY, "f.src"}, scene.work, scene.tmp);
  EXPECT_TRUE(WIFEXITED(next.status) && WEXITSTATUS(next.status) == 2) << point;
  EXPECT_NE(next.console.find("An earlier save of it was interrupted"), std::string::npos)
      << point << "\n"
      << next.console;
  EXPECT_NE(next.console.find("\"" + backup + "\""), std::string::npos) << point;
  EXPECT_EQ(ReadBytes(scene.file), now) << point << ": the next run changed the file";
  EXPECT_EQ(ReadBytes(backup), old_bytes) << point << ": the next run changed the backup";
}

TEST(KilledSave, EveryPointLeavesTheOldBytesTheNewOrAFoundBackup) {
  if (!testing::StraceWorks()) GTEST_SKIP() << "strace is missing or may not trace here";
  // Over a megabyte, so that the file is written in more than one piece.
  std::string old_bytes;
  for (int i = 0; i < 70000; ++i) old_bytes += "proc A()\nx=1\nend\n";
  const std::string new_bytes = NewBytesOf(old_bytes);
  ASSERT_NE(new_bytes, old_bytes);
  const SaveWay ways[] = {
      {"renamed into place", false, false},
      {"written in place, hard-linked", true, false},
      {"written in place, folder locked", false, true},
  };
  for (const SaveWay& way : ways) {
    Tally tally;
    for (const auto& [call, count] : CountCalls(way, old_bytes)) {
      for (int n = 1; n <= count; ++n) {
        const Scene scene(way, old_bytes);
        const std::string point = way.name + ", killed at " + call + " #" + std::to_string(n);
        const std::string inject = "inject=" + call + ":signal=SIGKILL:when=" + std::to_string(n);
        const ProcessResult run =
            RunArgv(Command(way, "/dev/null", {"-e", "trace=" + call, "-e", inject}), scene.work,
                    scene.tmp);
        EXPECT_TRUE(WIFSIGNALED(run.status) && WTERMSIG(run.status) == SIGKILL) << point;
        CheckAfterKill(scene, way, point, old_bytes, new_bytes, tally);
      }
    }
    // Not a vacuous pass: kills fell before the save, after it and, in
    // place, during it.
    EXPECT_GT(tally.old_bytes, 0) << way.name;
    EXPECT_GT(tally.new_bytes, 0) << way.name;
    EXPECT_EQ(tally.backed_up > 0, way.hard_linked || way.locked_folder) << way.name;
  }
}

}  // namespace
}  // namespace vemra
