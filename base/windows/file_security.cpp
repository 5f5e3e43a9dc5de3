#include "base/windows/file_security.h"

#include <aclapi.h>

#include <algorithm>

#include "base/windows/unique_handle.h"

namespace vemra {

namespace {

Sid CopyOfSid(PSID sid) {
  const auto* bytes = static_cast<const BYTE*>(sid);
  return Sid(bytes, bytes + GetLengthSid(sid));
}

// One piece of the process token's information; empty when it cannot be read.
std::vector<BYTE> TokenInformation(TOKEN_INFORMATION_CLASS kind) {
  HANDLE raw = nullptr;
  if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &raw)) return {};
  const UniqueHandle token(raw);
  DWORD size = 0;
  GetTokenInformation(token.Get(), kind, nullptr, 0, &size);
  std::vector<BYTE> information(size);
  if (size == 0 || !GetTokenInformation(token.Get(), kind, information.data(), size, &size)) {
    return {};
  }
  return information;
}

std::vector<Sid> ReadOwnersOfRunFiles() {
  std::vector<Sid> owners;
  const std::vector<BYTE> user = TokenInformation(TokenUser);
  if (user.empty()) return owners;
  owners.push_back(CopyOfSid(reinterpret_cast<const TOKEN_USER*>(user.data())->User.Sid));
  const std::vector<BYTE> owner = TokenInformation(TokenOwner);
  if (!owner.empty()) {
    Sid sid = CopyOfSid(reinterpret_cast<const TOKEN_OWNER*>(owner.data())->Owner);
    if (!IsOneOf(sid, owners)) owners.push_back(std::move(sid));
  }
  return owners;
}

}  // namespace

const std::vector<Sid>& OwnersOfRunFiles() {
  static const std::vector<Sid> owners = ReadOwnersOfRunFiles();
  return owners;
}

std::optional<Sid> OwnerOf(HANDLE handle) {
  PSID owner = nullptr;
  PSECURITY_DESCRIPTOR descriptor = nullptr;
  if (GetSecurityInfo(handle, SE_FILE_OBJECT, OWNER_SECURITY_INFORMATION, &owner, nullptr, nullptr,
                      nullptr, &descriptor) != ERROR_SUCCESS) {
    return std::nullopt;
  }
  std::optional<Sid> copy;
  if (owner != nullptr) copy = CopyOfSid(owner);
  LocalFree(descriptor);
  return copy;
}

bool IsOneOf(const Sid& sid, const std::vector<Sid>& sids) {
  return std::find(sids.begin(), sids.end(), sid) != sids.end();
}

PrivateSecurity::PrivateSecurity() {
  const std::vector<Sid>& owners = OwnersOfRunFiles();
  if (owners.empty()) {
    error_code_ = ERROR_NO_TOKEN;
    return;
  }
  const Sid& user = owners.front();
  acl_.resize(sizeof(ACL) + sizeof(ACCESS_ALLOWED_ACE) + user.size());
  auto* const acl = reinterpret_cast<ACL*>(acl_.data());
  PSID const sid = const_cast<BYTE*>(user.data());
  if (!InitializeAcl(acl, static_cast<DWORD>(acl_.size()), ACL_REVISION) ||
      !AddAccessAllowedAce(acl, ACL_REVISION, FILE_ALL_ACCESS, sid) ||
      !InitializeSecurityDescriptor(&descriptor_, SECURITY_DESCRIPTOR_REVISION) ||
      !SetSecurityDescriptorDacl(&descriptor_, TRUE, acl, FALSE) ||
      !SetSecurityDescriptorControl(&descriptor_, SE_DACL_PROTECTED, SE_DACL_PROTECTED)) {
    error_code_ = GetLastError();
    return;
  }
  attributes_.nLength = sizeof attributes_;
  attributes_.lpSecurityDescriptor = &descriptor_;
  attributes_.bInheritHandle = FALSE;
}

}  // namespace vemra
