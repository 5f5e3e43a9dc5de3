// A small pseudo-random source whose sequence is fixed by its seed on every
// platform and library version, so that a seed names the same generated
// program everywhere (the distributions of <random> may differ between
// standard libraries).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace vemra {

// splitmix64: one 64-bit state, one addition and a mixing function per draw.
class RandomSource {
 public:
  explicit RandomSource(std::uint64_t seed) : state_(seed) {}

  std::uint64_t Next() {
    state_ += 0x9E3779B97F4A7C15ULL;
    std::uint64_t z = state_;
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    return z ^ (z >> 31);
  }

  // A number in [0, bound); 0 when bound is 0. The slight bias of the modulo
  // does not matter for generating test programs.
  std::size_t Below(std::size_t bound) {
    return bound == 0 ? 0 : static_cast<std::size_t>(Next() % bound);
  }

  // A number in [low, high].
  std::size_t Between(std::size_t low, std::size_t high) { return low + Below(high - low + 1); }

  // True in percent cases out of 100.
  bool Chance(unsigned percent) { return Below(100) < percent; }

  template <typename Element, std::size_t N>
  const Element& Pick(const Element (&table)[N]) {
    return table[Below(N)];
  }

 private:
  std::uint64_t state_;  // advanced by a fixed odd constant on every draw
};

}  // namespace vemra
