// Cutting a large program into tokens, without laying them out: the plain
// rules as the token loop runs them, against the table cutter in one to
// four lanes, on a realistic program and on a token-dense one.
//
//   cutter_bench [--megabytes=N] [--once] [Google Benchmark flags]
//
// --megabytes sets the inputs' size (100 by default); --once runs every
// case exactly once, for instruction counts under callgrind.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "bench/dense_program.h"
#include "bench/program_generator.h"
#include "formatter/block_runs.h"
#include "formatter/table_cutter.h"
#include "formatter/token_cutting.h"

namespace vemra {
namespace {

using token_cutting::LineEnd;

constexpr std::uint64_t kSeed = 20261207;
constexpr std::size_t kBatch = 1024;

// The tokens of text in batches, as the thread that cuts ahead fills them;
// returns their number.
[[gnu::noinline]] std::size_t CutPlainly(std::string_view text,
                                         std::vector<CutTokenRecord>& batch) {
  BlockRuns runs(text);
  std::size_t at = 0;
  std::size_t tokens = 0;
  for (;;) {
    std::size_t count = 0;
    while (count < kBatch) {
      TokenRule rule = TokenRule::kOneByte;
      const std::string_view token =
          token_cutting::CutKeptToken<LineEnd::kAnyBreak>(text, at, rule, runs);
      if (token.empty()) break;
      batch[count++] = {token.data(), static_cast<std::uint32_t>(token.size()), rule};
    }
    benchmark::DoNotOptimize(batch.data());
    tokens += count;
    if (count < kBatch) return tokens;
  }
}

[[gnu::noinline]] std::size_t CutByTable(std::string_view text, std::size_t lanes,
                                         std::vector<CutTokenRecord>& batch) {
  TableCutter<LineEnd::kAnyBreak> cutter(text, CutterShape{.lanes = lanes});
  std::size_t tokens = 0;
  while (const std::size_t count = cutter.Fill(batch)) {
    benchmark::DoNotOptimize(batch.data());
    tokens += count;
  }
  return tokens;
}

void Measure(benchmark::State& state, const std::string& text, std::size_t lanes) {
  std::vector<CutTokenRecord> batch(kBatch);
  std::size_t tokens = 0;
  for (auto _ : state) {
    tokens = lanes == 0 ? CutPlainly(text, batch) : CutByTable(text, lanes, batch);
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
  state.counters["tokens"] = static_cast<double>(tokens);
}

}  // namespace
}  // namespace vemra

int main(int argc, char** argv) {
  std::size_t megabytes = 100;
  bool once = false;
  std::vector<char*> passed_on = {argv[0]};
  for (int i = 1; i < argc; ++i) {
    if (std::strncmp(argv[i], "--megabytes=", 12) == 0) {
      megabytes = std::strtoul(argv[i] + 12, nullptr, 10);
    } else if (std::strcmp(argv[i], "--once") == 0) {
      once = true;
    } else {
      passed_on.push_back(argv[i]);
    }
  }
  int passed_count = static_cast<int>(passed_on.size());
  benchmark::Initialize(&passed_count, passed_on.data());

  const std::size_t bytes = megabytes * 1000 * 1000;
  static const std::string realistic = vemra::GenerateProgram(vemra::kSeed, bytes);
  static const std::string dense = vemra::GenerateDenseProgram(vemra::kSeed, bytes);
  for (const auto& [name, text] : {std::pair{"realistic", &realistic}, {"dense", &dense}}) {
    for (std::size_t lanes = 0; lanes <= 4; ++lanes) {
      const std::string label =
          std::string(name) + "/" + (lanes == 0 ? "plain" : "table/lanes:" + std::to_string(lanes));
      auto* case_ = benchmark::RegisterBenchmark(
          label.c_str(),
          [text, lanes](benchmark::State& state) { vemra::Measure(state, *text, lanes); });
      case_->Unit(benchmark::kMillisecond);
      if (once) case_->Iterations(1);
    }
  }
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
