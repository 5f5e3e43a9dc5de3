// Realistic programs with more tokens per byte, for measuring the token
// loop where it works hardest.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace vemra {

// Returns a program of about approximate_bytes bytes, always the same for
// the same seed and size: the tokens and line ends of a program of
// GenerateProgram, every construct included, with each indentation written
// as TABs and each gap between two tokens as a TAB, a blank or a short run
// of both. Where the generator's programs hold about 0.22 tokens per byte
// (a CR and an LF counted as a token each), these hold about 0.29.
std::string GenerateDenseProgram(std::uint64_t seed, std::size_t approximate_bytes);

}  // namespace vemra
