// Realistic programs in the Vemra language, for test corpora, fuzz seeds
// and the benchmark.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace vemra {

// Returns a program of about approximate_bytes bytes (0 gives the empty
// text), always the same bytes for the same seed and size, on every platform.
//
// What the programs hold: routines of the four routine words with bodies,
// "forward" and "inline" declarations without bodies, classes with
// "#object", "#inherited" and properties, every block word ("while",
// "repeat"/"until", "foreach", "foreachrev", "for", "try"/"except"/"finally",
// "using", "if"/"else if"/"else", "case" with labels), every directive,
// both comment kinds (block comments over several lines), single-quoted
// literals (some over several lines), double-quoted literals with backslash
// escapes, nested and multi-line brace groups, angle-quoted runs (0x8B ...
// 0x9B), "#" numbers, "#id" markers and every operator; written with messy
// indentation and spacing, trailing blanks, mixed line ends (CR LF, LF, CR)
// and keywords in mixed letter case.
//
// Every block that a program opens is closed again. Markers stand in front of
// a token of their own line, except about one in fifty, which ends its line
// and so removes that line's break. About one program in ten has no line end
// after its last line.
std::string GenerateProgram(std::uint64_t seed, std::size_t approximate_bytes);

}  // namespace vemra
