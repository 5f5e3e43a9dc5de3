#include "base/windows/attribute_handover.h"

#include <aclapi.h>

namespace vemra {

namespace {

// What a new file is given of the old file's attributes.
constexpr DWORD kKeptAttributes =
    FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;
// What a new file cannot be given here, and must not lose.
constexpr DWORD kHeldAttributes = FILE_ATTRIBUTE_ENCRYPTED | FILE_ATTRIBUTE_COMPRESSED;

// Whether the file system keeps access lists at all; FAT does not, and
// there is then nothing to hand over.
bool KeepsAccessLists(HANDLE handle) {
  DWORD flags = 0;
  // Where the system cannot tell, it may keep them.
  if (!GetVolumeInformationByHandleW(handle, nullptr, 0, nullptr, nullptr, &flags, nullptr, 0)) {
    return true;
  }
  return (flags & FILE_PERSISTENT_ACLS) != 0;
}

bool HandOverSecurity(HANDLE from, HANDLE to) {
  if (!KeepsAccessLists(from)) return true;
  PSID owner = nullptr;
  PSID group = nullptr;
  PACL acl = nullptr;
  PSECURITY_DESCRIPTOR descriptor = nullptr;
  constexpr SECURITY_INFORMATION kParts =
      OWNER_SECURITY_INFORMATION | GROUP_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION;
  if (GetSecurityInfo(from, SE_FILE_OBJECT, kParts, &owner, &group, &acl, nullptr, &descriptor) !=
      ERROR_SUCCESS) {
    return false;
  }
  SECURITY_DESCRIPTOR_CONTROL control = 0;
  DWORD revision = 0;
  bool given = GetSecurityDescriptorControl(descriptor, &control, &revision) != 0;
  if (given) {
    // The owner only a privilege may give another; without it the file is
    // written over in place.
    const SECURITY_INFORMATION inheritance = (control & SE_DACL_PROTECTED) != 0
                                                 ? PROTECTED_DACL_SECURITY_INFORMATION
                                                 : UNPROTECTED_DACL_SECURITY_INFORMATION;
    given = SetSecurityInfo(to, SE_FILE_OBJECT, kParts | inheritance, owner, group, acl, nullptr) ==
            ERROR_SUCCESS;
  }
  LocalFree(descriptor);
  return given;
}

// The attributes, and the time the file was made, which a file renamed
// into its place would otherwise not have.
bool HandOverBasicInformation(HANDLE from, HANDLE to) {
  FILE_BASIC_INFO old{};
  FILE_BASIC_INFO now{};
  if (!GetFileInformationByHandleEx(from, FileBasicInfo, &old, sizeof old) ||
      !GetFileInformationByHandleEx(to, FileBasicInfo, &now, sizeof now)) {
    return false;
  }
  if ((old.FileAttributes & kHeldAttributes & ~now.FileAttributes) != 0) return false;
  const DWORD wanted =
      (now.FileAttributes & ~kKeptAttributes) | (old.FileAttributes & kKeptAttributes);
  FILE_BASIC_INFO given{};  // times and attributes of 0 are left as they are
  given.CreationTime = old.CreationTime;
  if (wanted != now.FileAttributes) {
    given.FileAttributes = wanted != 0 ? wanted : FILE_ATTRIBUTE_NORMAL;
  }
  return SetFileInformationByHandle(to, FileBasicInfo, &given, sizeof given) != 0;
}

// Whether the file has a data stream besides its main one (such as the
// zone a download came from). A file system without streams has none; when
// it cannot be told, the answer is yes.
bool HasNamedStreams(const std::wstring& path) {
  WIN32_FIND_STREAM_DATA stream{};
  const HANDLE find = FindFirstStreamW(path.c_str(), FindStreamInfoStandard, &stream, 0);
  if (find == INVALID_HANDLE_VALUE) {
    const DWORD error = GetLastError();
    return error != ERROR_HANDLE_EOF && error != ERROR_INVALID_PARAMETER &&
           error != ERROR_NOT_SUPPORTED && error != ERROR_INVALID_FUNCTION &&
           error != ERROR_CALL_NOT_IMPLEMENTED;
  }
  bool named = false;
  do {
    named = std::wstring_view(stream.cStreamName) != L"::$DATA";
  } while (!named && FindNextStreamW(find, &stream));
  FindClose(find);
  return named;
}

}  // namespace

bool HandOverAttributes(HANDLE from, HANDLE to, const std::wstring& path) {
  return !HasNamedStreams(path) && HandOverSecurity(from, to) && HandOverBasicInformation(from, to);
}

}  // namespace vemra
