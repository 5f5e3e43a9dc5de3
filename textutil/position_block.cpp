#include "textutil/position_block.h"

#include <cstdlib>
#include <limits>
#include <new>
#include <stdexcept>

namespace vemra {

namespace {

constexpr std::int32_t kMaxInt32 = std::numeric_limits<std::int32_t>::max();

}  // namespace

void PositionBlock::Append(std::int32_t position) {
  if (count_ == capacity_) {
    if (capacity_ > kMaxInt32 / 4 - kGrowthEntries) throw std::overflow_error("Integer overflow");
    ResizeBlock((capacity_ + kGrowthEntries) * 4);
  }
  entries_[count_++] = position;
}

void PositionBlock::ResizeBlock(std::int32_t size_in_bytes) {
  if (size_in_bytes <= 0) {
    std::free(entries_);
    entries_ = nullptr;
    count_ = 0;
    capacity_ = 0;
    return;
  }
  // realloc keeps the stored entries and, when it fails, the old block: the
  // failure leaves everything as it was.
  void* grown = std::realloc(entries_, static_cast<std::size_t>(size_in_bytes));
  if (grown == nullptr) throw std::bad_alloc();
  entries_ = static_cast<std::int32_t*>(grown);
  capacity_ = size_in_bytes / 4;
  if (count_ > capacity_) count_ = capacity_;
}

}  // namespace vemra
