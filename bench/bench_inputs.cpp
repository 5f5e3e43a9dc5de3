#include "bench/bench_inputs.h"

#include "bench/dense_program.h"
#include "bench/hostile_inputs.h"
#include "bench/program_generator.h"

namespace vemra {
namespace {

constexpr std::size_t kMegabyte = 1000 * 1000;
constexpr std::uint64_t kSeed = 20261207;

constexpr BenchInput kInputs[] = {
    {"real-1MB", "realistic program, 1 MB", [] { return GenerateProgram(kSeed, 1 * kMegabyte); }},
    {"real-10MB", "realistic program, 10 MB",
     [] { return GenerateProgram(kSeed, 10 * kMegabyte); }},
    {"real-100MB", "realistic program, 100 MB",
     [] { return GenerateProgram(kSeed, 100 * kMegabyte); }},
    {"dense-10MB", "token-dense realistic program, 10 MB: TABs and runs of blanks between tokens",
     [] { return GenerateDenseProgram(kSeed, 10 * kMegabyte); }},
    {"dense-100MB", "token-dense realistic program, 100 MB",
     [] { return GenerateDenseProgram(kSeed, 100 * kMegabyte); }},
    {"empty-lines", "1,000,000 empty lines", [] { return EmptyLines(1000 * 1000); }},
    {"colon-line", "one 10 MB line of \": \" pairs", [] { return ColonPairsLine(10 * kMegabyte); }},
    {"nested-while", "10,000 nested \"while\" blocks with a statement line each",
     [] { return NestedWhileBlocks(10 * 1000); }},
    {"case-line", "100,000 \"case\" blocks opened on one line, closed on the next",
     [] { return CaseBlocksOnOneLine(100 * 1000); }},
    {"markers", "one 10 MB line of \"#id\" markers only",
     [] { return MarkersOnly(10 * kMegabyte); }},
    {"comment", "one 50 MB block comment", [] { return OneBlockComment(50 * kMegabyte); }},
    {"no-blanks", "one 50 MB line without any blank",
     [] { return LineWithoutBlanks(50 * kMegabyte); }},
};

}  // namespace

std::span<const BenchInput> BenchInputs() {
  return kInputs;
}

}  // namespace vemra
