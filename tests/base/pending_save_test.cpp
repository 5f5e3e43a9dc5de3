// Saves run in stages, as a caller saving many files runs them: every new
// file written first, then all flushed, then all put in place.
#include "base/pending_save.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "base/failures.h"
#include "tests/base/test_folder.h"

namespace vemra {
namespace {

using testing::ReadBytes;
using testing::TestFolder;
using testing::WriteBytes;

const std::string kOld = "old\n";
const std::string kNew = "new\r\n";

// A plain file, a hard-linked one (written in place) and a new one.
void MakeFiles(const TestFolder& folder) {
  WriteBytes(folder / "plain.vem", kOld);
  WriteBytes(folder / "linked.vem", kOld);
  std::filesystem::create_hard_link(folder / "linked.vem", folder / "link.vem");
}

const std::vector<std::string> kSaved = {"plain.vem", "linked.vem", "new.vem"};

std::vector<std::unique_ptr<PendingSave>> PrepareAll(const TestFolder& folder) {
  std::vector<std::unique_ptr<PendingSave>> saves;
  for (const std::string& name : kSaved) {
    saves.push_back(std::make_unique<PendingSave>(folder / name, kNew, nullptr));
  }
  return saves;
}

TEST(PendingSave, StagesRunOverManyFilesTouchNothingUntilCommit) {
  TestFolder folder;
  MakeFiles(folder);
  auto saves = PrepareAll(folder);
  for (const auto& save : saves) save->MakeDurable();
  // Prepared and flushed: the new bytes wait in private files beside.
  EXPECT_EQ(ReadBytes(folder / "plain.vem"), kOld);
  EXPECT_EQ(ReadBytes(folder / "linked.vem"), kOld);
  EXPECT_FALSE(folder.Names().contains("new.vem"));
  for (const std::string& name : folder.Names()) {
    if (name.starts_with(".vemrafmt-")) {
      // Where the system keeps permission bits.
      EXPECT_EQ(testing::PermissionBits(folder / name).value_or(0600) & 0777, 0600u) << name;
    }
  }
  for (const auto& save : saves) save->Commit();
  for (const auto& save : saves) save->FlushFolder();
  saves.clear();
  for (const std::string& name : kSaved) EXPECT_EQ(ReadBytes(folder / name), kNew) << name;
  EXPECT_EQ(ReadBytes(folder / "link.vem"), kNew);
  EXPECT_EQ(folder.Names(),
            (std::set<std::string>{"plain.vem", "linked.vem", "link.vem", "new.vem"}));
}

TEST(PendingSave, SavesDroppedBeforeCommitLeaveNoTrace) {
  TestFolder folder;
  MakeFiles(folder);
  PrepareAll(folder)[0]->MakeDurable();  // all dropped at the end of the statement
  EXPECT_EQ(ReadBytes(folder / "plain.vem"), kOld);
  EXPECT_EQ(ReadBytes(folder / "linked.vem"), kOld);
  EXPECT_EQ(folder.Names(), (std::set<std::string>{"plain.vem", "linked.vem", "link.vem"}));
}

// Between prepare and commit, another program writes to each file (or
// creates the new one): its bytes stay, and each commit fails.
TEST(PendingSave, CommitFailsWhenAFileChangedAfterItWasPrepared) {
  TestFolder folder;
  MakeFiles(folder);
  auto saves = PrepareAll(folder);
  for (const std::string& name : kSaved) WriteBytes(folder / name, "theirs, longer\n");
  for (std::size_t i = 0; i < saves.size(); ++i) {
    saves[i]->MakeDurable();
    EXPECT_THROW(saves[i]->Commit(), EFCreateError) << kSaved[i];
  }
  saves.clear();
  for (const std::string& name : kSaved) {
    EXPECT_EQ(ReadBytes(folder / name), "theirs, longer\n") << name;
  }
  EXPECT_EQ(folder.Names(),
            (std::set<std::string>{"plain.vem", "linked.vem", "link.vem", "new.vem"}));
}

}  // namespace
}  // namespace vemra
