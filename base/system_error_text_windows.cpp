#include <windows.h>

#include "base/system_error_text.h"
#include "base/windows/wide_text.h"

namespace vemra {

std::string SystemErrorText(int error_code) {
  wchar_t* buffer = nullptr;
  const DWORD length = FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, static_cast<DWORD>(error_code), 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
  std::string text = length > 0 ? Utf8Text(std::wstring_view(buffer, length))
                                : "Unknown error " + std::to_string(error_code);
  LocalFree(buffer);
  while (!text.empty() && (static_cast<unsigned char>(text.back()) <= 0x20 || text.back() == '.')) {
    text.pop_back();
  }
  return text;
}

int InputOutputErrorCode() {
  return ERROR_WRITE_FAULT;
}

}  // namespace vemra
