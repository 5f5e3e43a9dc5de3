// Finds the token boundaries of a stretch of text with the state machine of
// cut_state_table.h. One walk through the machine is a chain of dependent
// lookups: each byte's state waits for the one before it, and the core sits
// idle most of the time. So the stretch is split into lanes, walked side by
// side in one loop, which keeps several chains in flight at once.
//
// Only the first lane knows the state it starts in. Every other lane starts
// right behind a line feed, where nearly every text stands between tokens,
// and guesses so. Once the lanes are walked, each guess is checked: the
// true state, carried over from the lane before, and the guess are walked
// on together over the lane's first bytes until they agree. From there on
// the lane's boundaries are the true ones; before that point, those of the
// true walk are. In a program that point is mostly the lane's first byte;
// inside a comment or literal that spans lines, it is the construct's end.
// A lane whose guess never agrees is replaced by the true walk as a whole.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

#include "formatter/cut_state_table.h"
#include "formatter/token_cutting.h"

namespace vemra {

// Boundaries in text order: each at base + offset.
struct BoundaryRun {
  const char* base;
  const std::int32_t* offsets;
  std::size_t count;
};

template <token_cutting::LineEnd kEnds>
class BoundaryScan {
 public:
  // Stretches are walked in up to `lanes` lanes (1 to kMaxLanes), as many
  // as give each lane shortest_lane bytes at least: shorter lanes spend
  // more on finding and checking their starts than they gain. The memory
  // for stretches of up to longest_stretch bytes is taken here, so that
  // walking them takes none (and cannot fail).
  BoundaryScan(std::size_t lanes, std::size_t shortest_lane, std::size_t longest_stretch = 0);

  // Walks text[from, to), fewer than 2^31 bytes, from the state `state` (a
  // transition of the machine), and returns the state behind it. The boundaries found are in
  // Runs() until the next call. When a brace group turns out deeper than
  // the machine counts, the walk stops there: the result is kTooDeep and
  // the runs hold the boundaries in front of it.
  cut_states::Transition Scan(std::string_view text, std::size_t from, std::size_t to,
                              cut_states::Transition state);

  std::span<const BoundaryRun> Runs() const { return runs_; }

  static constexpr std::size_t kMaxLanes = 4;

 private:
  struct Lane {
    const char* start;             // its first byte
    const char* end;               // just behind its last byte
    std::int32_t* offsets;         // where its boundaries go
    const char* base;              // what its offsets count from
    std::size_t count;             // how many it found
    cut_states::Transition state;  // the first state before the walk, the last after it
  };

  void SplitIntoLanes(std::string_view text, std::size_t from, std::size_t to);
  void WalkLanes();
  cut_states::Transition JoinLanes();
  cut_states::Transition JoinLane(const Lane& lane, cut_states::Transition truth,
                                  std::int32_t*& checked);

  std::size_t lanes_;
  std::size_t shortest_lane_;
  std::vector<Lane> split_;
  std::vector<std::int32_t> offsets_;  // the lanes' boundaries
  std::vector<std::int32_t> checked_;  // boundaries of the true walks over guessed starts
  std::vector<BoundaryRun> runs_;
};

extern template class BoundaryScan<token_cutting::LineEnd::kCarriageReturn>;
extern template class BoundaryScan<token_cutting::LineEnd::kAnyBreak>;

}  // namespace vemra
