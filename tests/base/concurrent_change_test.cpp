// A file someone else changes between the load and the save is left as they
// left it, and the save fails.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>
#include <thread>

#include "base/failures.h"
#include "base/string_list.h"
#include "tests/base/test_folder.h"

namespace vemra {
namespace {

using testing::ReadBytes;
using testing::TestFolder;
using testing::WriteBytes;

const std::string kOld = "x=1\n";

struct ChangeCase {
  std::string name;
  std::function<void(const std::string& path)> change;
  std::string left;                    // what the file holds afterwards; empty: it is gone
  bool needs_permission_bits = false;  // a change Windows keeps no trace of
};

TEST(ConcurrentChange, ChangeBetweenLoadAndSaveWinsAndTheSaveFails) {
  const ChangeCase cases[] = {
      {"a line appended", [](const std::string& p) { WriteBytes(p, kOld + "y=2\n"); },
       kOld + "y=2\n"},
      {"same size, new modification time",
       [](const std::string& p) {
         WriteBytes(p, "x=2\n");
         testing::MakeOld(p);
       },
       "x=2\n"},
      {"replaced by a rename, as editors save",
       [](const std::string& p) {
         WriteBytes(p + ".new", "z=3\n");
         std::filesystem::rename(p + ".new", p);
       },
       "z=3\n"},
      {"permissions changed",
       [](const std::string& p) {
         // The change time only moves on at the clock's next tick.
         std::this_thread::sleep_for(std::chrono::milliseconds(20));
         std::filesystem::permissions(
             p, std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
       },
       kOld, true},
      {"removed", [](const std::string& p) { std::filesystem::remove(p); }, ""},
  };
  for (const bool hard_linked : {false, true}) {
    for (const ChangeCase& c : cases) {
      if (c.needs_permission_bits && !testing::OnLinux()) continue;
      TestFolder folder;
      const std::string path = folder / "f.vem";
      WriteBytes(path, kOld);
      if (hard_linked) std::filesystem::create_hard_link(path, folder / "other.vem");
      TStringList list;
      list.LoadFile(path);
      list.AssignText("formatted");
      c.change(path);
      try {
        list.SaveFile(path);
        ADD_FAILURE() << c.name << ": saved";
      } catch (const EFCreateError& failure) {
        EXPECT_EQ(failure.Message(), "Cannot create file \"" + path +
                                         "\". It changed while it was being formatted, and was "
                                         "left as it is now")
            << c.name;
      }
      const std::string label = c.name + (hard_linked ? ", hard-linked" : "");
      std::set<std::string> names = {"f.vem"};
      if (c.left.empty()) names.clear();
      if (hard_linked) names.insert("other.vem");
      EXPECT_EQ(folder.Names(), names) << label;
      if (!c.left.empty()) {
        EXPECT_EQ(ReadBytes(path), c.left) << label;
      }
    }
  }
}

// Another name of the loaded file (a link to it) is the loaded file too.
TEST(ConcurrentChange, TheLoadedFileIsKnownUnderAnyName) {
  if (!testing::OnLinux()) {
    GTEST_SKIP() << "needs Linux: symbolic links, which the Windows build's library cannot make";
  }
  TestFolder folder;
  const std::string path = folder / "f.vem";
  WriteBytes(path, kOld);
  std::filesystem::create_symlink("f.vem", folder / "link.vem");
  TStringList list;
  list.LoadFile(folder / "link.vem");
  list.AssignText("formatted");
  WriteBytes(path, kOld + "y=2\n");
  EXPECT_THROW(list.SaveFile(path), EFCreateError);
  EXPECT_EQ(ReadBytes(path), kOld + "y=2\n");
  // Unchanged, it is saved under any of its names.
  list.LoadFile(path);
  list.AssignText("formatted");
  list.SaveFile(folder / "link.vem");
  EXPECT_EQ(ReadBytes(path), "formatted\r\n");
}

}  // namespace
}  // namespace vemra
