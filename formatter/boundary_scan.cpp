#include "formatter/boundary_scan.h"

#include <algorithm>
#include <cstring>
#include <utility>

namespace vemra {

namespace {

using cut_states::IsBoundary;
using cut_states::kTooDeep;
using cut_states::StateOf;
using cut_states::Transition;
using token_cutting::LineEnd;

// How far a lane's start may move behind its even share to follow a line
// feed.
constexpr std::size_t kLineSearch = 256;

// The state a lane that starts behind a line feed guesses: the line end is
// a complete token.
constexpr Transition kGuessedState = cut_states::RowOf(cut_states::kComplete);

// One byte of one lane: its offset is stored whatever the byte is, and kept
// by moving on only when the byte is a boundary, so that nothing branches
// on it.
template <LineEnd kEnds>
[[gnu::always_inline]] inline void StepLane(const unsigned char* base, std::ptrdiff_t i,
                                            std::int32_t*& out, Transition& state) {
  const Transition next = cut_states::Step<kEnds>(state, base[i]);
  *out = static_cast<std::int32_t>(i);
  out += IsBoundary(next);
  state = next;
}

const unsigned char* Bytes(const char* at) {
  return reinterpret_cast<const unsigned char*>(at);
}

}  // namespace

template <LineEnd kEnds>
BoundaryScan<kEnds>::BoundaryScan(std::size_t lanes, std::size_t shortest_lane,
                                  std::size_t longest_stretch)
    : lanes_(std::clamp<std::size_t>(lanes, 1, kMaxLanes)),
      shortest_lane_(std::max<std::size_t>(shortest_lane, 1)) {
  split_.reserve(lanes_);
  // A lane hands on the run of its checked start and its own.
  runs_.reserve(2 * lanes_);
  offsets_.resize(longest_stretch + lanes_);
  checked_.resize(longest_stretch + lanes_);
}

template <LineEnd kEnds>
Transition BoundaryScan<kEnds>::Scan(std::string_view text, std::size_t from, std::size_t to,
                                     Transition state) {
  runs_.clear();
  SplitIntoLanes(text, from, to);
  split_[0].state = state;
  for (std::size_t k = 1; k < split_.size(); ++k) split_[k].state = kGuessedState;
  WalkLanes();
  return JoinLanes();
}

// Even shares of the stretch, each but the first moved to start behind the
// next line feed when one is near.
template <LineEnd kEnds>
void BoundaryScan<kEnds>::SplitIntoLanes(std::string_view text, std::size_t from, std::size_t to) {
  const std::size_t size = to - from;
  const std::size_t lanes = std::clamp<std::size_t>(size / shortest_lane_, 1, lanes_);
  // Half a share at most, so that every lane keeps some bytes.
  const std::size_t search = std::min(kLineSearch, size / lanes / 2);
  // Each lane may store one offset more than it has bytes.
  if (offsets_.size() < size + lanes) offsets_.resize(size + lanes);
  if (checked_.size() < size + lanes) checked_.resize(size + lanes);

  const char* const begin = text.data() + from;
  const char* const end = text.data() + to;
  split_.assign(lanes, Lane{});
  split_[0].start = begin;
  for (std::size_t k = 1; k < lanes; ++k) {
    const char* share = begin + k * size / lanes;
    const void* feed = std::memchr(share, '\n', search);
    split_[k].start = feed != nullptr ? static_cast<const char*>(feed) + 1 : share;
  }
  std::int32_t* offsets = offsets_.data();
  for (std::size_t k = 0; k < lanes; ++k) {
    split_[k].end = k + 1 < lanes ? split_[k + 1].start : end;
    split_[k].offsets = offsets;
    offsets += split_[k].end - split_[k].start + 1;
  }
}

namespace {

// Walks one lane from its byte base + i on to its end, storing offsets from
// base.
template <LineEnd kEnds>
void WalkOn(const char* base, const char* end, std::int32_t*& out, Transition& state) {
  const unsigned char* const bytes = Bytes(base);
  for (std::ptrdiff_t i = 0; i < end - base; ++i) StepLane<kEnds>(bytes, i, out, state);
}

// Walks the lanes side by side for as many bytes as the shortest has, then
// each on its own to its end. Offsets count from each lane's byte where the
// side-by-side walk stopped: negative before it.
template <LineEnd kEnds, typename Lane, std::size_t... kLane>
void WalkSideBySide(Lane* lanes, std::index_sequence<kLane...>) {
  std::ptrdiff_t shortest = lanes[0].end - lanes[0].start;
  ((shortest = std::min(shortest, lanes[kLane].end - lanes[kLane].start)), ...);
  const unsigned char* const bytes[] = {Bytes(lanes[kLane].start + shortest)...};
  std::int32_t* out[] = {lanes[kLane].offsets...};
  Transition state[] = {lanes[kLane].state...};
  for (std::ptrdiff_t i = -shortest; i < 0; ++i) {
    (StepLane<kEnds>(bytes[kLane], i, out[kLane], state[kLane]), ...);
  }
  ((lanes[kLane].base = lanes[kLane].start + shortest), ...);
  (WalkOn<kEnds>(lanes[kLane].base, lanes[kLane].end, out[kLane], state[kLane]), ...);
  ((lanes[kLane].count = static_cast<std::size_t>(out[kLane] - lanes[kLane].offsets)), ...);
  ((lanes[kLane].state = state[kLane]), ...);
}

}  // namespace

template <LineEnd kEnds>
void BoundaryScan<kEnds>::WalkLanes() {
  switch (split_.size()) {
    case 1:
      return WalkSideBySide<kEnds>(split_.data(), std::make_index_sequence<1>());
    case 2:
      return WalkSideBySide<kEnds>(split_.data(), std::make_index_sequence<2>());
    case 3:
      return WalkSideBySide<kEnds>(split_.data(), std::make_index_sequence<3>());
    default:
      return WalkSideBySide<kEnds>(split_.data(), std::make_index_sequence<kMaxLanes>());
  }
}

// Puts the lanes' boundaries in order, checking each guessed start against
// the true state, which the lane before hands on.
template <LineEnd kEnds>
Transition BoundaryScan<kEnds>::JoinLanes() {
  const Lane& first = split_[0];
  runs_.push_back({first.base, first.offsets, first.count});
  Transition truth = first.state;
  std::int32_t* checked = checked_.data();
  for (std::size_t k = 1; k < split_.size() && StateOf(truth) != kTooDeep; ++k) {
    truth = JoinLane(split_[k], truth, checked);
  }
  return truth;
}

// Walks the true state and the guess together from the lane's start until
// they agree, keeping the true walk's boundaries (in checked), then the
// lane's own from there on; returns the true state at the lane's end. Each
// boundary the guess had found up to that point is one the lane stored
// first, so that as many are left out.
template <LineEnd kEnds>
Transition BoundaryScan<kEnds>::JoinLane(const Lane& lane, Transition truth,
                                         std::int32_t*& checked) {
  Transition guess = kGuessedState;
  std::size_t guessed_boundaries = 0;
  std::int32_t* const run = checked;
  const unsigned char* const bytes = Bytes(lane.start);
  for (std::ptrdiff_t i = 0; i < lane.end - lane.start && StateOf(truth) != StateOf(guess); ++i) {
    StepLane<kEnds>(bytes, i, checked, truth);
    guess = cut_states::Step<kEnds>(guess, bytes[i]);
    guessed_boundaries += IsBoundary(guess);
    if (StateOf(truth) == kTooDeep) break;
  }
  if (checked != run) runs_.push_back({lane.start, run, static_cast<std::size_t>(checked - run)});
  if (StateOf(truth) != StateOf(guess)) return truth;
  runs_.push_back({lane.base, lane.offsets + guessed_boundaries, lane.count - guessed_boundaries});
  return lane.state;
}

template class BoundaryScan<LineEnd::kCarriageReturn>;
template class BoundaryScan<LineEnd::kAnyBreak>;

}  // namespace vemra
