// PositionBlock: the growable array of match positions of one ReplaceAll
// call. It grows in steps of 1024 entries, so a text with thousands of
// matches needs only a few resizes, and it is released when it goes out of
// scope, also when the call ends by a failure.
#pragma once

#include <cstdint>

namespace vemra {

class PositionBlock {
 public:
  static constexpr std::int32_t kGrowthEntries = 1024;

  PositionBlock() = default;
  PositionBlock(const PositionBlock&) = delete;
  PositionBlock& operator=(const PositionBlock&) = delete;
  ~PositionBlock() { ResizeBlock(0); }

  // Appends a position, growing the block first when it is full. Throws
  // std::overflow_error when the count or the size in bytes would pass 32
  // bits, and std::bad_alloc when the block cannot grow (it is then left as
  // it was).
  void Append(std::int32_t position);

  std::int32_t Count() const { return count_; }
  std::int32_t Capacity() const { return capacity_; }
  const std::int32_t* begin() const { return entries_; }
  const std::int32_t* end() const { return entries_ + count_; }

  // Allocates, grows keeping the stored entries, or (size 0) releases the
  // block. Throws std::bad_alloc when memory cannot be had.
  void ResizeBlock(std::int32_t size_in_bytes);

 private:
  std::int32_t* entries_ = nullptr;  // the stored positions, in increasing order
  std::int32_t count_ = 0;           // entries in use
  std::int32_t capacity_ = 0;        // entries allocated: 0 or a multiple of 1024
};

}  // namespace vemra
