#include "formatter/source_release.h"

#include <algorithm>
#include <cstdint>

namespace vemra {

const char* SourceRelease::LastEndWithin(std::span<const CutTokenRecord> laid_out) const {
  // Compared as addresses: a line end's tokens lie in no buffer of the text.
  const auto begin = reinterpret_cast<std::uintptr_t>(begin_);
  const auto end = reinterpret_cast<std::uintptr_t>(end_);
  for (auto token = laid_out.rbegin(); token != laid_out.rend(); ++token) {
    const auto at = reinterpret_cast<std::uintptr_t>(token->data);
    if (at >= begin && at < end) return token->data + token->size;
  }
  return nullptr;
}

void SourceRelease::Passed(std::span<const CutTokenRecord> laid_out, const char* needed) {
  if (begin_ == nullptr) return;
  const char* passed = LastEndWithin(laid_out);
  if (passed == nullptr) return;
  pages_.Passed(needed != nullptr ? std::min(passed, needed) : passed);
}

}  // namespace vemra
