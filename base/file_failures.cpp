#include "base/file_failures.h"

#include "base/expand_path.h"
#include "base/system_error_text.h"

namespace vemra {

namespace {

std::string FileMessage(const char* verb, const std::string& file_name, int error_code) {
  return std::string("Cannot ") + verb + " file \"" + ExpandPath(file_name) + "\". " +
         SystemErrorText(error_code);
}

}  // namespace

EFOpenError OpenFailure(const std::string& file_name, int error_code) {
  return EFOpenError(FileMessage("open", file_name, error_code));
}

EFCreateError CreateFailure(const std::string& file_name, int error_code) {
  return EFCreateError(FileMessage("create", file_name, error_code));
}

EReadError ReadFailure() {
  return EReadError("Stream read error");
}

EWriteError WriteFailure() {
  return EWriteError("Stream write error");
}

}  // namespace vemra
