#include "cli/save_batch.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "cli/file_job.h"
#include "cli/project_settings.h"
#include "cli/run_settings.h"
#include "tests/base/test_folder.h"
#include "tests/cli/run_helpers.h"

namespace vemra {
namespace {

using testing::kFormatted;
using testing::kUnformatted;
using testing::ReadBytes;
using testing::TestFolder;
using testing::WriteBytes;

// The saves of a batch replace no file before the batch completes; then
// every file is saved, except one that someone else changed meanwhile,
// which fails alone and keeps that change; the reports keep their order
// and no temporary file is left.
TEST(SaveBatch, ReplacesFilesOnlyOnCompletionAndAChangedFileFailsAlone) {
  TestFolder folder;
  const std::vector<std::string> names = {"a.vem", "b.vem", "c.vem", "d.vem"};
  for (const std::string& name : names) {
    WriteBytes(folder / name, name == "d.vem" ? kFormatted : kUnformatted);
  }
  const RunSettings settings;
  ProjectSettings project(settings);
  SaveBatch batch(100, 1000000);
  for (const std::string& name : names) {
    batch.Add(RunFileJob({folder / name, std::nullopt}, settings, project));
  }
  EXPECT_FALSE(batch.Full());
  for (const char* name : {"a.vem", "c.vem"}) EXPECT_EQ(ReadBytes(folder / name), kUnformatted);
  WriteBytes(folder / "b.vem", "changed\n");

  const std::vector<FileReport> reports = batch.Complete();
  ASSERT_EQ(reports.size(), 4u);
  EXPECT_EQ(reports[0].text, "Formatted: " + (folder / "a.vem") + "\n");
  EXPECT_EQ(reports[1].outcome, FileOutcome::kFailed);
  EXPECT_TRUE(reports[1].text.starts_with(folder / "b.vem" + ": EFCreateError: "))
      << reports[1].text;
  EXPECT_EQ(reports[2].text, "Formatted: " + (folder / "c.vem") + "\n");
  EXPECT_EQ(reports[3].text, "Unchanged: " + (folder / "d.vem") + "\n");
  EXPECT_EQ(ReadBytes(folder / "a.vem"), kFormatted);
  EXPECT_EQ(ReadBytes(folder / "b.vem"), "changed\n");
  EXPECT_EQ(ReadBytes(folder / "c.vem"), kFormatted);
  EXPECT_EQ(folder.Names(), std::set<std::string>(names.begin(), names.end()));
  EXPECT_TRUE(batch.Empty());
}

TEST(SaveBatch, IsFullAtItsCountOrBytesOfStagedSaves) {
  TestFolder folder;
  for (const char* name : {"a.vem", "b.vem", "c.vem"}) WriteBytes(folder / name, kUnformatted);
  const RunSettings settings;
  ProjectSettings project(settings);
  SaveBatch by_count(2, 1000000);
  SaveBatch by_bytes(100, 2 * kFormatted.size());
  for (const char* name : {"a.vem", "b.vem"}) {
    EXPECT_FALSE(by_count.Full());
    EXPECT_FALSE(by_bytes.Full());
    by_count.Add(RunFileJob({folder / name, std::nullopt}, settings, project));
    by_bytes.Add(RunFileJob({folder / "c.vem", std::nullopt}, settings, project));
  }
  EXPECT_TRUE(by_count.Full());
  EXPECT_TRUE(by_bytes.Full());
}

}  // namespace
}  // namespace vemra
