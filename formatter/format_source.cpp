#include "formatter/format_source.h"

namespace vemra {

// Placeholder until the layout pass lands: the list stays as loaded.
void FormatSource(TStringList&, std::int32_t, bool, bool) {}

}  // namespace vemra
