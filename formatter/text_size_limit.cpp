#include "formatter/text_size_limit.h"

#include "base/failures.h"

namespace vemra {

void ThrowTextTooLarge() {
  throw ETextTooLarge("Formatted text would exceed 2147483647 bytes");
}

}  // namespace vemra
