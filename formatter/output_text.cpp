#include "formatter/output_text.h"

#include <algorithm>
#include <cstring>

#include "base/prefault.h"

namespace vemra {
namespace {

// How far ahead of the end the buffer is made writable at a time. Making it
// writable fills it with zeros, so the step is kept small enough to stay in
// the cache until the bytes are written over, and within the reservation.
constexpr std::size_t kGrowStep = std::size_t{1} << 20;

// A run of bytes trimming takes is packed once it is this long, and the
// last bytes of it stay as they are, for the rules that look at the end.
constexpr std::size_t kPackFrom = std::size_t{4} << 20;
constexpr std::size_t kKeptUnpacked = std::size_t{64} << 10;

// From this size the current line is checked against the size limit as it
// grows, not only once it ends.
constexpr std::size_t kLongLine = std::size_t{1} << 30;

}  // namespace

std::size_t OutputText::GrowBuffer(std::string& bytes, std::size_t needed) {
  // The step's fresh pages in one request rather than a fault for each as
  // the zeros go in: the layout's thread is the one every other waits for.
  ResizePrefaulted(bytes, std::max(needed, std::min(bytes.size() + kGrowStep, bytes.capacity())));
  return bytes.size();
}

void OutputText::AppendLongToken(std::string_view token) {
  const bool multi_line = kMultiLineFirstBytes.Contains(token[0]) && HoldsLineBreak(token);
  line_holds_break_ |= multi_line || kLineBreakBytes.Contains(token[0]);
  if (!multi_line || !line_ends_as_crlf_) {
    AppendPassing(token, token);
    return;
  }
  const char* at = token.data();
  const char* const end = at + token.size();
  while (at < end) {
    const char* const line_end = line_breaks_detail::FindBreak(at, end);
    AppendPassing(token, std::string_view(at, static_cast<std::size_t>(line_end - at)));
    if (line_end == end) break;
    AppendBytes("\r\n");
    at = line_end + (line_end[0] == '\r' && line_end + 1 < end && line_end[1] == '\n' ? 2 : 1);
  }
}

void OutputText::AppendPassing(std::string_view token, std::string_view bytes) {
  constexpr std::size_t kPiece = std::size_t{1} << 20;
  while (!bytes.empty()) {
    const std::size_t piece = std::min(bytes.size(), kPiece);
    AppendBytes(bytes.substr(0, piece));
    bytes.remove_prefix(piece);
    if (source_passed_.passed != nullptr) {
      source_passed_.passed(source_passed_.context, token, bytes.data());
    }
  }
}

void OutputText::MakeRoomAtTheEnd(std::size_t more) {
  if (trims_line_ends_ && end_ != content_start_) PackTail();
  if (end_ - content_start_ > kLongLine) [[unlikely]]
    CheckLongLine();
  if (end_ + more + kSpare > room_) Grow(end_ + more + kSpare);
}

void OutputText::CheckLongLine() const {
  // A line break inside the line would let the finishing pass trim and
  // collapse the lines it makes, and vanishing TABs would shrink it.
  if (line_holds_break_ || unit_.width < 1) return;
  const char* const begin = base_ + content_start_;
  const char* stays = base_ + (packed_end_ != 0 ? packed_start_ : end_);
  while (stays != begin && TrimmedAtLineEnd(stays[-1])) --stays;
  CheckTextSize(stays - begin);
}

void OutputText::PackTail() {
  using packed_tail::Packable;
  const char* const end = base_ + end_;
  const char* const limit = base_ + (packed_end_ != 0 ? packed_end_ : content_start_);
  const char* const run = packed_tail::RunStart(limit, end);
  if (packed_end_ != 0 && run != limit) {
    // Behind the packed run stands a byte that is not packed: a TAB, which
    // trimming may still take with the run, or a byte that stays, and with
    // it the run.
    const bool stays = std::any_of(limit, run, [](char c) { return !TrimmedAtLineEnd(c); });
    if (stays) UnpackPackedTail();
    return;
  }
  if (packed_end_ == 0) {
    if (static_cast<std::size_t>(end - run) < kPackFrom) return;
    packed_start_ = packed_end_ = static_cast<std::size_t>(run - base_);
  }
  if (end_ - packed_end_ <= kKeptUnpacked) return;
  char* const pack_to = base_ + end_ - kKeptUnpacked;
  char* const packed = packed_tail::Pack(base_ + packed_end_, pack_to);
  packed_size_ += static_cast<std::size_t>(pack_to - (base_ + packed_end_));
  std::memmove(packed, pack_to, kKeptUnpacked);
  packed_end_ = static_cast<std::size_t>(packed - base_);
  end_ = packed_end_ + kKeptUnpacked;
}

void OutputText::UnpackPackedTail() {
  // The run stays in the line, and every byte of it in the result.
  CheckTextSize(static_cast<std::int64_t>(packed_size_));
  const std::size_t growth = packed_size_ - (packed_end_ - packed_start_);
  const std::size_t behind = end_ - packed_end_;
  if (end_ + growth + kSpare > room_) Grow(end_ + growth + kSpare);
  std::memmove(base_ + packed_end_ + growth, base_ + packed_end_, behind);
  packed_tail::UnpackBackward(base_ + packed_start_, base_ + packed_end_,
                              base_ + packed_end_ + growth);
  end_ += growth;
  packed_start_ = packed_end_ = packed_size_ = 0;
}

void OutputText::TrimPackedTail() {
  std::size_t at = end_;
  while (at != packed_end_ && TrimmedAtLineEnd(base_[at - 1])) --at;
  if (at != packed_end_) return;  // a byte that stays stands behind the run
  trimmed_ += end_ - packed_end_ + packed_size_;
  end_ = packed_start_;
  packed_start_ = packed_end_ = packed_size_ = 0;
}

}  // namespace vemra
