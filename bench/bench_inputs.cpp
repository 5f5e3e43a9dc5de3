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

constexpr std::size_t kGigabyte = 1000 * kMegabyte;
// The largest file the formatter takes, bar one byte, and a size just
// below it.
constexpr std::size_t kLargestFile = 2147483646;
constexpr std::size_t kNearLargest = 2147483000;

constexpr BenchInput kLargeInputs[] = {
    {"large-real-1GB", "realistic program, 1 GB", [] { return GenerateProgram(kSeed, kGigabyte); }},
    {"large-lf-1GB", "1 GB of LFs: one empty line", [] { return Repeated("\n", kGigabyte); }},
    {"large-cr-1GB", "1 GB of CRs", [] { return Repeated("\r", kGigabyte); }},
    {"large-crlf-1GB", "1 GB of CR LF pairs", [] { return Repeated("\r\n", kGigabyte / 2); }},
    {"large-lf-max", "2,147,483,646 LFs", [] { return Repeated("\n", kLargestFile); }},
    {"large-blank-1GB", "1 GB of blanks", [] { return Repeated(" ", kGigabyte); }},
    {"large-blank-max", "2,147,483,000 blanks", [] { return Repeated(" ", kNearLargest); }},
    {"large-nul-2e9", "2,000,000,000 NUL bytes: each a token, trimmed with its line",
     [] { return Repeated(std::string_view("\0", 1), 2 * kGigabyte); }},
    {"large-nul-max", "2,147,483,646 NUL bytes",
     [] { return Repeated(std::string_view("\0", 1), kLargestFile); }},
    {"large-nul-kept", "1 GB of NUL bytes between two names: a result of 2 GB",
     [] {
       std::string text = Repeated(std::string_view("\0", 1), kGigabyte + 2);
       text.front() = 'a';
       text.back() = 'b';
       return text;
     }},
    {"large-comment-1GB", "one 1 GB block comment", [] { return OneBlockComment(kGigabyte); }},
    {"large-line-1GB", "one 1 GB line without any blank",
     [] { return LineWithoutBlanks(kGigabyte); }},
    {"large-tab-blocks", "20,000 nested blocks indented with TABs, 600 MB",
     [] { return TabIndentedBlocks(20000); }},
};

}  // namespace

std::span<const BenchInput> BenchInputs() {
  return kInputs;
}

std::span<const BenchInput> LargeInputs() {
  return kLargeInputs;
}

}  // namespace vemra
