#include "bench/dense_program.h"

#include <string_view>

#include "bench/program_generator.h"
#include "bench/random_source.h"
#include "formatter/block_runs.h"
#include "formatter/token_cutting.h"

namespace vemra {
namespace {

using token_cutting::LineEnd;

// Gaps between tokens: mostly one byte, now and then a run.
constexpr std::string_view kGaps[] = {"\t", "\t", "\t", "\t", "\t", "\t", "\t",   "\t",
                                      " ",  " ",  " ",  " ",  " ",  " ",  "\t\t", " \t "};

// One TAB for up to sixteen bytes of the indentation it replaces.
void AppendIndentation(std::string& text, std::size_t replaced_bytes) {
  text.append((replaced_bytes + 15) / 16, '\t');
}

}  // namespace

std::string GenerateDenseProgram(std::uint64_t seed, std::size_t approximate_bytes) {
  // Rewriting the gaps takes off about a quarter of the bytes.
  const std::string program = GenerateProgram(seed, approximate_bytes / 100 * 132);
  RandomSource random(seed);
  std::string dense;
  dense.reserve(program.size());
  SixteenByteRuns runs;
  bool line_start = true;
  // Every token is kept, "#id" markers and the tokens they remove included.
  for (std::size_t at = 0; at < program.size();) {
    const std::size_t start = runs.SkipBlanks(program, at);
    if (start == program.size()) break;
    if (start > at) {
      if (line_start) {
        AppendIndentation(dense, start - at);
      } else {
        dense += random.Pick(kGaps);
      }
    }
    at = token_cutting::CutToken<LineEnd::kAnyBreak>(program, start, runs);
    dense.append(program, start, at - start);
    line_start = program[at - 1] == '\n' || program[at - 1] == '\r';
  }
  return dense;
}

}  // namespace vemra
