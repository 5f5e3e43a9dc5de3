#include "textutil/bool_to_text.h"

namespace vemra {

std::string BoolToText(bool value) {
  return value ? "True" : "False";
}

}  // namespace vemra
