#include "formatter/text_size_limit.h"

#include "frontend/failures.h"

namespace vemra {

void CheckTextSize(std::int64_t size) {
  if (size > kMaxTextSize) throw ETextTooLarge("Formatted text would exceed 2147483647 bytes");
}

}  // namespace vemra
