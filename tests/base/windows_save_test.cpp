// What only Windows has, in loading and saving: sharing modes that another
// program holds a file open with, the read-only, hidden and system
// attributes, hard links made through the system's own call, names in
// UTF-16 and "\\?\" paths. The tests that hold on every system are
// elsewhere; these are built for Windows only.
#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <set>
#include <string>
#include <vector>

#include "base/failures.h"
#include "base/string_list.h"
#include "base/system_error_text.h"

namespace vemra {
namespace {

namespace fs = std::filesystem;

const std::string kOld = "old\n";
const std::string kNew = "new\r\n";
const std::string kBackupBytes = "older\n";

fs::path PathOf(const std::string& utf8) {
  return fs::path(std::u8string(utf8.begin(), utf8.end()));
}

std::string Utf8Of(const fs::path& path) {
  const std::u8string text = path.u8string();
  return std::string(text.begin(), text.end());
}

// Removes a folder and everything in it through the system's own calls and
// the "\\?\" form, in which con.vem is a file and a path may pass 260.
void RemoveTree(const std::wstring& folder) {
  WIN32_FIND_DATAW found{};
  const HANDLE find = FindFirstFileW((folder + L"\\*").c_str(), &found);
  for (bool more = find != INVALID_HANDLE_VALUE; more; more = FindNextFileW(find, &found)) {
    const std::wstring name = found.cFileName;
    if (name == L"." || name == L"..") continue;
    const std::wstring path = folder + L"\\" + name;
    SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
      RemoveTree(path);
    } else {
      DeleteFileW(path.c_str());
    }
  }
  if (find != INVALID_HANDLE_VALUE) FindClose(find);
  RemoveDirectoryW(folder.c_str());
}

// A fresh folder in the temporary folder, removed with everything in it.
class Folder {
 public:
  Folder() {
    static std::atomic<int> counter = 0;
    path_ = Utf8Of(fs::temp_directory_path() /
                   ("vemra-windows-test-" + std::to_string(GetCurrentProcessId()) + "-" +
                    std::to_string(counter++)));
    fs::create_directories(PathOf(path_));
  }
  ~Folder() { RemoveTree(PathOf("\\\\?\\" + path_).wstring()); }
  Folder(const Folder&) = delete;
  Folder& operator=(const Folder&) = delete;

  std::string operator/(const std::string& name) const { return path_ + "\\" + name; }
  std::set<std::string> Names() const {
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(PathOf(path_))) {
      names.insert(Utf8Of(entry.path().filename()));
    }
    return names;
  }

 private:
  std::string path_;
};

void WriteBytes(const std::string& path, const std::string& bytes) {
  std::ofstream(PathOf(path), std::ios::binary) << bytes;
}

std::string ReadBytes(const std::string& path) {
  std::ifstream in(PathOf(path), std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Handles another program would hold, closed when the case is over.
struct Held {
  std::vector<HANDLE> handles;
  ~Held() { Close(); }
  void Close() {
    for (const HANDLE handle : handles) CloseHandle(handle);
    handles.clear();
  }
  void Open(const std::string& path, DWORD access, DWORD share) {
    const HANDLE handle = CreateFileW(PathOf(path).c_str(), access, share, nullptr, OPEN_EXISTING,
                                      FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    ASSERT_NE(handle, INVALID_HANDLE_VALUE) << path;
    handles.push_back(handle);
  }
};

BY_HANDLE_FILE_INFORMATION InformationOf(const std::string& path) {
  BY_HANDLE_FILE_INFORMATION information{};
  const HANDLE handle = CreateFileW(PathOf(path).c_str(), FILE_READ_ATTRIBUTES, 7, nullptr,
                                    OPEN_EXISTING, 0, nullptr);
  GetFileInformationByHandle(handle, &information);
  CloseHandle(handle);
  return information;
}

std::string InterruptedReason(const std::string& backup) {
  return "An earlier save of it was interrupted while it wrote over the file, whose old bytes are "
         "kept in \"" +
         backup +
         "\": compare the two, then copy the backup over the file or remove the backup, and run "
         "again";
}

struct Refusal {
  const char* label;
  // Puts what stands in the save's way; the handles it opens stay open
  // while the file is loaded and saved.
  std::function<void(const std::string& path, Held& held)> arrange;
  // The reason the save gives, and the load (empty: the load goes through).
  std::function<std::string(const std::string& path)> save_reason;
  bool load_refused;
  std::set<std::string> names_after;
};

// Whatever stands in the way, the save fails naming the file and the
// cause, the file keeps its old bytes, and no temporary file or backup of
// the run is left.
TEST(WindowsSave, RefusedSavesLeaveTheFileAsItWasAndNoFileOfTheirOwn) {
  const std::string backup_name = "f.vem.vemrafmt-backup";
  const Refusal cases[] = {
      {"open elsewhere without delete sharing",
       [](const std::string& path, Held& held) {
         held.Open(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE);
       },
       [](const std::string&) { return SystemErrorText(ERROR_SHARING_VIOLATION); },
       false,
       {"f.vem"}},
      {"read-only",
       [](const std::string& path, Held&) {
         SetFileAttributesW(PathOf(path).c_str(), FILE_ATTRIBUTE_READONLY);
       },
       [](const std::string&) { return SystemErrorText(ERROR_ACCESS_DENIED); },
       false,
       {"f.vem"}},
      {"hard-linked, open elsewhere for writing",
       [](const std::string& path, Held& held) {
         CreateHardLinkW(PathOf(path + ".link").c_str(), PathOf(path).c_str(), nullptr);
         held.Open(path, GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE);
       },
       [](const std::string&) {
         return std::string(
             "It is open in another program, and was left as it is: written over in place now, "
             "it could lose what that program writes");
       },
       false,
       {"f.vem", "f.vem.link"}},
      {"backup left by an interrupted save",
       [](const std::string& path, Held&) { WriteBytes(path + ".vemrafmt-backup", kBackupBytes); },
       [](const std::string& path) { return InterruptedReason(path + ".vemrafmt-backup"); },
       true,
       {"f.vem", backup_name}},
      {"backup in use by another run",
       [](const std::string& path, Held& held) {
         WriteBytes(path + ".vemrafmt-backup", kBackupBytes);
         held.Open(path + ".vemrafmt-backup", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_DELETE);
       },
       [](const std::string& path) {
         return "Another run is writing over it right now (its old bytes are kept in \"" + path +
                ".vemrafmt-backup\" until it is done)";
       },
       true,
       {"f.vem", backup_name}},
      {"folder under the backup's name",
       [](const std::string& path, Held&) {
         CreateDirectoryW(PathOf(path + ".vemrafmt-backup").c_str(), nullptr);
       },
       [](const std::string& path) {
         return "A file stands under the name of its backup, \"" + path +
                ".vemrafmt-backup\", that is no backup this program made for this user: look at "
                "it, move it out of the way, and run again";
       },
       true,
       {"f.vem", backup_name}},
  };
  for (const Refusal& c : cases) {
    const Folder folder;
    const std::string path = folder / "f.vem";
    WriteBytes(path, kOld);
    Held held;
    c.arrange(path, held);
    const std::string reason = c.save_reason(path);
    TStringList list;
    try {
      list.LoadFile(path);
      EXPECT_FALSE(c.load_refused) << c.label << ": loaded";
    } catch (const EFOpenError& failure) {
      EXPECT_TRUE(c.load_refused) << c.label;
      EXPECT_EQ(failure.Message(), "Cannot open file \"" + path + "\". " + reason) << c.label;
    }
    list.AssignText("new");
    try {
      list.SaveFile(path);
      ADD_FAILURE() << c.label << ": saved";
    } catch (const EFCreateError& failure) {
      EXPECT_EQ(failure.Message(), "Cannot create file \"" + path + "\". " + reason) << c.label;
    }
    held.Close();
    SetFileAttributesW(PathOf(path).c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ(ReadBytes(path), kOld) << c.label;
    EXPECT_EQ(folder.Names(), c.names_after) << c.label;
  }
}

struct KeptCase {
  const char* label;
  std::string name;                                         // the file's, in the folder
  std::function<std::string(const std::string&)> named_as;  // the name the run is given
  std::function<void(const std::string& path)> arrange;
  DWORD attributes_kept;  // of those the file had, what it has after the save
  bool in_place;          // the same file, written over; else a new file renamed into place
  std::set<std::string> names_after;
};

// Two folders in the test's folder, their names 120 letters each.
const std::string kLongFolder = std::string(120, 'a') + "\\" + std::string(120, 'b');

std::string AsGiven(const std::string& path) {
  return path;
}

// A save goes through every name the system takes, keeps the attributes
// the file had, writes a file with other names in place so that every name
// sees the new bytes, and leaves nothing of its own behind.
TEST(WindowsSave, SavesKeepTheFilesNameAttributesAndLinks) {
  const auto nothing = [](const std::string&) {};
  const KeptCase cases[] = {
      {"hidden and system",
       "f.vem",
       AsGiven,
       [](const std::string& path) {
         SetFileAttributesW(PathOf(path).c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
       },
       FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM,
       false,
       {"f.vem"}},
      {"hard link",
       "f.vem",
       AsGiven,
       [](const std::string& path) {
         CreateHardLinkW(PathOf(path + ".link").c_str(), PathOf(path).c_str(), nullptr);
       },
       0,
       true,
       {"f.vem", "f.vem.link"}},
      {"Greek name",
       "\xce\xb1\xcf\x81\xcf\x87\xce\xb5\xce\xaf\xce\xbf.vem",
       AsGiven,
       nothing,
       0,
       false,
       {"\xce\xb1\xcf\x81\xcf\x87\xce\xb5\xce\xaf\xce\xbf.vem"}},
      {"CJK name",
       "\xe6\x96\x87\xe4\xbb\xb6.vem",
       AsGiven,
       nothing,
       0,
       false,
       {"\xe6\x96\x87\xe4\xbb\xb6.vem"}},
      {"\\\\?\\ path",
       "f.vem",
       [](const std::string& path) { return "\\\\?\\" + path; },
       nothing,
       0,
       false,
       {"f.vem"}},
      {"\\\\?\\ path to a reserved name",
       "con.vem",
       [](const std::string& path) { return "\\\\?\\" + path; },
       nothing,
       0,
       false,
       {"con.vem"}},
      {"path longer than 260",
       kLongFolder + "\\f.vem",
       AsGiven,
       nothing,
       0,
       false,
       {kLongFolder.substr(0, 120)}},
  };
  for (const KeptCase& c : cases) {
    const Folder folder;
    const std::string path = folder / c.name;
    const std::string name = c.named_as(path);
    // Made through the "\\?\" form, as a reserved name and a long path need it.
    fs::create_directories(PathOf("\\\\?\\" + path).parent_path());
    WriteBytes("\\\\?\\" + path, kOld);
    c.arrange(path);
    const BY_HANDLE_FILE_INFORMATION before = InformationOf("\\\\?\\" + path);
    TStringList list;
    ASSERT_NO_THROW(list.LoadFile(name)) << c.label;
    list.AssignText("new");
    ASSERT_NO_THROW(list.SaveFile(name)) << c.label;
    const BY_HANDLE_FILE_INFORMATION after = InformationOf("\\\\?\\" + path);
    EXPECT_EQ(ReadBytes("\\\\?\\" + path), kNew) << c.label;
    EXPECT_EQ(after.nFileIndexLow == before.nFileIndexLow &&
                  after.nFileIndexHigh == before.nFileIndexHigh,
              c.in_place)
        << c.label;
    EXPECT_EQ(after.dwFileAttributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM),
              c.attributes_kept)
        << c.label;
    if (c.in_place) {
      EXPECT_EQ(ReadBytes(path + ".link"), kNew) << c.label;
    }
    EXPECT_EQ(folder.Names(), c.names_after) << c.label;
  }
}

}  // namespace
}  // namespace vemra
