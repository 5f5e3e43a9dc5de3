// The failures of the file operations, with the full path and the system's
// reason in their messages.
#pragma once

#include <string>

#include "base/failures.h"

namespace vemra {

// "Cannot open file "<full path>". <reason for error_code>"
EFOpenError OpenFailure(const std::string& file_name, int error_code);
// "Cannot create file "<full path>". <reason for error_code>"
EFCreateError CreateFailure(const std::string& file_name, int error_code);
// "Stream read error": the file delivered fewer bytes than it holds.
EReadError ReadFailure();
// "Stream write error": not every byte reached the file.
EWriteError WriteFailure();

}  // namespace vemra
