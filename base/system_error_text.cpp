#include "base/system_error_text.h"

#include <cstring>

namespace vemra {

std::string SystemErrorText(int error_code) {
  std::string text = std::strerror(error_code);
  while (!text.empty() && (static_cast<unsigned char>(text.back()) <= 0x20 || text.back() == '.')) {
    text.pop_back();
  }
  return text;
}

}  // namespace vemra
