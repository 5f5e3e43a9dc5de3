#include "base/posix/attribute_handover.h"

#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <optional>
#include <vector>

namespace vemra {

namespace {

constexpr char kAccessAcl[] = "system.posix_acl_access";
constexpr char kDefaultAcl[] = "system.posix_acl_default";

// The names of a file's extended attributes; nullopt with errno on failure.
// A file system without them has none.
std::optional<std::vector<std::string>> AttributeNames(int fd) {
  std::string list;
  for (;;) {
    const ssize_t size = flistxattr(fd, nullptr, 0);
    if (size < 0) {
      if (errno == ENOTSUP) return std::vector<std::string>();
      return std::nullopt;
    }
    list.resize(static_cast<std::size_t>(size));
    const ssize_t got = flistxattr(fd, list.data(), list.size());
    if (got >= 0) {
      list.resize(static_cast<std::size_t>(got));
      break;
    }
    if (errno != ERANGE) return std::nullopt;  // ERANGE: the list grew meanwhile
  }
  std::vector<std::string> names;
  for (std::size_t start = 0; start < list.size();) {
    const std::size_t end = list.find('\0', start);
    names.push_back(list.substr(start, end - start));
    start = end == std::string::npos ? list.size() : end + 1;
  }
  return names;
}

// Reads one attribute with get(buffer, size), retried while it grows;
// nullopt with errno when it cannot be read (ENODATA: there is none).
template <typename Get>
std::optional<std::string> ReadAttribute(Get get) {
  std::string value;
  for (;;) {
    const ssize_t size = get(nullptr, 0);
    if (size < 0) return std::nullopt;
    value.resize(static_cast<std::size_t>(size));
    const ssize_t got = get(value.data(), value.size());
    if (got >= 0) {
      value.resize(static_cast<std::size_t>(got));
      return value;
    }
    if (errno != ERANGE) return std::nullopt;
  }
}

std::optional<std::string> AttributeOf(int fd, const std::string& name) {
  return ReadAttribute(
      [&](char* buffer, std::size_t size) { return fgetxattr(fd, name.c_str(), buffer, size); });
}

bool Contains(const std::vector<std::string>& names, const std::string& name) {
  for (const std::string& candidate : names) {
    if (candidate == name) return true;
  }
  return false;
}

// Makes to's extended attributes those of from. An attribute that to already
// holds with the same value (a label the system gave the new file) is left.
bool CopyAttributes(int from, int to) {
  const auto names = AttributeNames(from);
  const auto present = AttributeNames(to);
  if (!names || !present) return false;
  for (const std::string& name : *names) {
    const auto value = AttributeOf(from, name);
    if (!value) {
      if (errno == ENODATA) continue;  // removed meanwhile
      return false;
    }
    if (AttributeOf(to, name) == value) continue;
    if (fsetxattr(to, name.c_str(), value->data(), value->size(), 0) != 0) return false;
  }
  for (const std::string& name : *present) {
    if (!Contains(*names, name) && fremovexattr(to, name.c_str()) != 0 && errno != ENODATA) {
      return false;
    }
  }
  return true;
}

// The entries of a POSIX ACL in its stored form: a 4-byte version, then 8
// bytes per entry (tag, permissions, id), little-endian.
constexpr std::size_t kAclHeaderSize = 4;
constexpr std::size_t kAclEntrySize = 8;
constexpr std::uint16_t kAclUserObj = 0x01;
constexpr std::uint16_t kAclGroupObj = 0x04;
constexpr std::uint16_t kAclMask = 0x10;
constexpr std::uint16_t kAclOther = 0x20;

std::uint16_t Read16(const std::string& bytes, std::size_t at) {
  return static_cast<std::uint16_t>(static_cast<unsigned char>(bytes[at]) |
                                    static_cast<unsigned char>(bytes[at + 1]) << 8);
}

// The access ACL a file created with mode 0666 receives from a folder's
// default ACL: the owner's, the mask's (the owning group's without a mask)
// and the others' permissions are limited to those of the mode, read and
// write.
std::string InheritedAcl(std::string acl) {
  bool has_mask = false;
  for (std::size_t at = kAclHeaderSize; at + kAclEntrySize <= acl.size(); at += kAclEntrySize) {
    has_mask = has_mask || Read16(acl, at) == kAclMask;
  }
  for (std::size_t at = kAclHeaderSize; at + kAclEntrySize <= acl.size(); at += kAclEntrySize) {
    const std::uint16_t tag = Read16(acl, at);
    if (tag == kAclUserObj || tag == kAclOther || tag == (has_mask ? kAclMask : kAclGroupObj)) {
      acl[at + 2] = static_cast<char>(acl[at + 2] & 06);
    }
  }
  return acl;
}

// Read each time, as a caller may change it between saves. The system
// offers no way to read it without setting it; no other thread of this
// program creates files meanwhile.
mode_t ProcessUmask() {
  const mode_t current = umask(0);
  umask(current);
  return current;
}

}  // namespace

bool HandOverAttributes(int from, int to) {
  struct stat old {};
  struct stat now {};
  if (fstat(from, &old) != 0 || fstat(to, &now) != 0) return false;
  // The owner goes first: a change of owner drops some attributes (file
  // capabilities) and the set-user-ID and set-group-ID bits.
  if ((now.st_uid != old.st_uid || now.st_gid != old.st_gid) &&
      fchown(to, old.st_uid, old.st_gid) != 0) {
    return false;
  }
  // The permission bits last: they agree with an ACL copied before them.
  return CopyAttributes(from, to) && fchmod(to, old.st_mode & 07777) == 0;
}

bool GiveNewFileAttributes(int fd, const std::string& folder_path) {
  const auto folder_acl = ReadAttribute([&](char* buffer, std::size_t size) {
    return getxattr(folder_path.c_str(), kDefaultAcl, buffer, size);
  });
  if (folder_acl && folder_acl->size() > kAclHeaderSize) {
    const std::string acl = InheritedAcl(*folder_acl);
    return fsetxattr(fd, kAccessAcl, acl.data(), acl.size(), 0) == 0;
  }
  return fchmod(fd, 0666 & ~ProcessUmask()) == 0;
}

}  // namespace vemra
