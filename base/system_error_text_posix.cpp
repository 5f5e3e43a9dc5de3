#include <cerrno>
#include <cstring>

#include "base/system_error_text.h"

namespace vemra {

namespace {

// strerror shares one buffer across threads; strerror_r does not. Its GNU
// form returns the text (in buffer or a constant), the POSIX form fills
// buffer; these overloads take whichever the C library declares.
[[maybe_unused]] const char* ErrorText(const char* gnu_result, const char*) {
  return gnu_result;
}
[[maybe_unused]] const char* ErrorText(int posix_result, const char* buffer) {
  return posix_result == 0 ? buffer : "Unknown error";
}

}  // namespace

std::string SystemErrorText(int error_code) {
  char buffer[256] = {};
  std::string text = ErrorText(strerror_r(error_code, buffer, sizeof buffer), buffer);
  while (!text.empty() && (static_cast<unsigned char>(text.back()) <= 0x20 || text.back() == '.')) {
    text.pop_back();
  }
  return text;
}

int InputOutputErrorCode() {
  return EIO;
}

}  // namespace vemra
