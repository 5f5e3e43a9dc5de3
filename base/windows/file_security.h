// Who a file belongs to, and a security descriptor for a file that only the
// run's user may open.
#pragma once

#include <windows.h>

#include <optional>
#include <vector>

namespace vemra {

// A security identifier, copied out of the system's buffers.
using Sid = std::vector<BYTE>;

// The owners a file made by this run may have: the token's user and the
// token's owner for new objects (for an administrator, the Administrators
// group). Empty when the token cannot be read.
const std::vector<Sid>& OwnersOfRunFiles();

// The owner of the file open on handle (with READ_CONTROL); nullopt when it
// cannot be had.
std::optional<Sid> OwnerOf(HANDLE handle);

bool IsOneOf(const Sid& sid, const std::vector<Sid>& sids);

// A security descriptor that lets the token's user alone open the file,
// and takes nothing from the folder: for a file whose bytes nobody else may
// read yet. Attributes() is null when none could be made, with the
// system's reason in ErrorCode().
class PrivateSecurity {
 public:
  PrivateSecurity();
  PrivateSecurity(const PrivateSecurity&) = delete;
  PrivateSecurity& operator=(const PrivateSecurity&) = delete;

  SECURITY_ATTRIBUTES* Attributes() { return error_code_ == 0 ? &attributes_ : nullptr; }
  DWORD ErrorCode() const { return error_code_; }

 private:
  std::vector<BYTE> acl_;  // one entry: the user may do everything
  SECURITY_DESCRIPTOR descriptor_{};
  SECURITY_ATTRIBUTES attributes_{};
  DWORD error_code_ = 0;
};

}  // namespace vemra
