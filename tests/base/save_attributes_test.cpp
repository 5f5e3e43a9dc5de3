// What a saved file keeps of the file it replaces: extended attributes, POSIX
// ACLs and permission bits, whichever way it is saved.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <linux/capability.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "base/string_list.h"
#include "tests/base/child_run.h"
#include "tests/base/stat_of.h"
#include "tests/base/test_folder.h"

namespace vemra {
namespace {

using testing::ReadBytes;
using testing::RunCapturingFailure;
using testing::SaveOutcome;
using testing::StatOf;
using testing::TestFolder;
using testing::WriteBytes;

const std::string kOld = "old\n";
const std::string kNewBytes = "new\r\n";

void SaveNew(const std::string& path) {
  TStringList list;
  list.AssignText("new");
  list.SaveFile(path);
}

// A POSIX ACL in the form the kernel stores it in "system.posix_acl_*": a
// version, then (tag, permissions, id) per entry, little-endian.
std::string Acl(std::initializer_list<std::array<std::uint32_t, 3>> entries) {
  std::string acl = {2, 0, 0, 0};
  for (const auto& [tag, permissions, id] : entries) {
    const std::uint32_t fields[] = {tag | permissions << 16, id};
    for (const std::uint32_t field : fields) {
      for (int shift = 0; shift < 32; shift += 8) acl += static_cast<char>(field >> shift & 0xFF);
    }
  }
  return acl;
}

constexpr std::uint32_t kUserObj = 0x01, kUser = 0x02, kGroupObj = 0x04, kMask = 0x10,
                        kOther = 0x20, kNoId = 0xFFFFFFFF;

// user::rw- user:daemon:rw- group::r-- mask::rw- other::r--, as
// "setfacl -m u:daemon:rw" leaves a file of mode 0644.
const std::string kDaemonMayWrite = Acl({{kUserObj, 6, kNoId},
                                         {kUser, 6, 1},
                                         {kGroupObj, 4, kNoId},
                                         {kMask, 6, kNoId},
                                         {kOther, 4, kNoId}});

std::optional<std::string> Attribute(const std::string& path, const char* name) {
  std::string value(4096, '\0');
  const ssize_t size = getxattr(path.c_str(), name, value.data(), value.size());
  if (size < 0) return std::nullopt;
  value.resize(static_cast<std::size_t>(size));
  return value;
}

bool SetAttribute(const std::string& path, const char* name, const std::string& value) {
  return setxattr(path.c_str(), name, value.data(), value.size(), 0) == 0;
}

TEST(SaveAttributes, AclAndUserAttributeSurviveAndGroupBitsStay) {
  for (const bool hard_linked : {false, true}) {
    TestFolder folder;
    const std::string path = folder / "f.vem";
    WriteBytes(path, kOld);
    chmod(path.c_str(), 0644);
    if (!SetAttribute(path, "system.posix_acl_access", kDaemonMayWrite) ||
        !SetAttribute(path, "user.origin", "kept")) {
      GTEST_SKIP() << "the file system of " << folder.Path() << " takes no ACL or user attribute";
    }
    if (hard_linked) link(path.c_str(), (folder / "g.vem").c_str());
    const struct stat before = StatOf(path);
    SaveNew(path);
    EXPECT_EQ(ReadBytes(path), kNewBytes) << hard_linked;
    // Replaced by a new file unless hard-linked: the attributes were copied.
    EXPECT_EQ(StatOf(path).st_ino != before.st_ino, !hard_linked);
    EXPECT_EQ(Attribute(path, "system.posix_acl_access"), kDaemonMayWrite) << hard_linked;
    EXPECT_EQ(Attribute(path, "user.origin"), "kept") << hard_linked;
    EXPECT_EQ(StatOf(path).st_mode & 07777, before.st_mode & 07777) << hard_linked;
    EXPECT_EQ(StatOf(path).st_mode & 07777, 0664u) << "group bits show the mask";
  }
}

TEST(SaveAttributes, AttributeTheNewFileCannotTakeSendsTheSaveInPlace) {
  if (geteuid() != 0) GTEST_SKIP() << "needs the superuser to set a security.* attribute";
  TestFolder folder;
  const std::string path = folder / "f.vem";
  WriteBytes(path, kOld);
  if (!SetAttribute(path, "security.vemra_test", "label")) {
    GTEST_SKIP() << "the file system of " << folder.Path() << " takes no security.* attribute";
  }
  const ino_t inode = StatOf(path).st_ino;
  // Without CAP_SYS_ADMIN the attribute can be read but not set on a new
  // file: the save must keep it by writing over the file itself.
  const auto result =
      RunCapturingFailure([] { testing::DropCapability(CAP_SYS_ADMIN); }, [&] { SaveNew(path); });
  EXPECT_EQ(result.outcome, SaveOutcome::kSaved) << result.message;
  EXPECT_EQ(ReadBytes(path), kNewBytes);
  EXPECT_EQ(StatOf(path).st_ino, inode);
  EXPECT_EQ(Attribute(path, "security.vemra_test"), "label");
  EXPECT_EQ(folder.Names(), std::set<std::string>{"f.vem"});
}

// A new file is given what a file created directly would have: the umask's
// mode, or the ACL the folder's default ACL hands down.
TEST(SaveAttributes, NewFileGetsWhatADirectCreateWouldGive) {
  for (const bool default_acl : {false, true}) {
    TestFolder folder;
    if (default_acl && !SetAttribute(folder.Path(), "system.posix_acl_default", kDaemonMayWrite)) {
      GTEST_SKIP() << "the file system of " << folder.Path() << " takes no default ACL";
    }
    const mode_t mask = umask(027);
    close(open((folder / "direct.vem").c_str(), O_CREAT | O_WRONLY, 0666));
    SaveNew(folder / "saved.vem");
    umask(mask);
    EXPECT_EQ(StatOf(folder / "saved.vem").st_mode, StatOf(folder / "direct.vem").st_mode)
        << default_acl;
    EXPECT_EQ(Attribute(folder / "saved.vem", "system.posix_acl_access"),
              Attribute(folder / "direct.vem", "system.posix_acl_access"))
        << default_acl;
    EXPECT_EQ(ReadBytes(folder / "saved.vem"), kNewBytes);
  }
}

}  // namespace
}  // namespace vemra
