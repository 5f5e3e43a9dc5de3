// Times the phases of formatting one file, each on its own in this process,
// to show where a run's time goes: loading, cutting the tokens alone (by
// the plain rules and by the table cutter), the layout with its tokens cut
// in the loop and cut ahead on a second thread, the finishing pass, and the
// safe save.
//
//   phase_bench FILE [--runs=N] [--only=PHASE,...]
//
// Each phase runs N times (5 by default); the table gives the median wall
// time, the median CPU time of the process over the phase (both threads
// where the layout cuts ahead), and ns per token. CPU time counts only this
// process, so it moves less with other work on the machine than wall time.
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <functional>
#include <iostream>
#include <string>
#include <vector>

#include "base/failures.h"
#include "base/file_identity.h"
#include "base/read_whole_file.h"
#include "base/safe_file_write.h"
#include "formatter/cut_token_record.h"
#include "formatter/finishing_pass.h"
#include "formatter/layout_pass.h"
#include "formatter/next_token.h"
#include "formatter/table_cutter.h"

namespace vemra {
namespace {

using token_cutting::LineEnd;

struct Timing {
  double wall = 0;  // seconds
  double cpu = 0;   // seconds of user and system time of the process
};

double ProcessCpuSeconds() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  auto seconds = [](const timeval& t) { return t.tv_sec + t.tv_usec / 1e6; };
  return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

Timing TimeOnce(const std::function<void()>& work) {
  const double cpu = ProcessCpuSeconds();
  const auto start = std::chrono::steady_clock::now();
  work();
  const auto end = std::chrono::steady_clock::now();
  return {std::chrono::duration<double>(end - start).count(), ProcessCpuSeconds() - cpu};
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  const std::size_t middle = values.size() / 2;
  return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

struct Phase {
  const char* name;
  std::function<void()> setup;  // untimed, before each run
  std::function<void()> work;   // timed
};

// The tokens of text as the layout receives them, a line end counted as
// its two tokens.
std::size_t CountTokens(std::string_view text) {
  std::size_t tokens = 0;
  TokenRule rule = TokenRule::kOneByte;
  for (std::size_t at = 0;;) {
    const std::string_view token = CutNextLineToken(text, at, rule);
    if (token.empty()) return tokens;
    tokens += token.size() == 2 && token.data() == kLineEndTokens.data() ? 2 : 1;
  }
}

volatile std::size_t sink;  // keeps cut tokens from being optimised away

void CutPlainly(std::string_view text) {
  std::size_t sizes = 0;
  TokenRule rule = TokenRule::kOneByte;
  for (std::size_t at = 0;;) {
    const std::string_view token = CutNextLineToken(text, at, rule);
    if (token.empty()) break;
    sizes += token.size();
  }
  sink = sizes;
}

void CutByTable(std::string_view text) {
  TableCutter<LineEnd::kAnyBreak> cutter(text);
  std::vector<CutTokenRecord> batch(1024);
  std::size_t sizes = 0;
  while (const std::size_t count = cutter.Fill(batch)) {
    for (std::size_t i = 0; i < count; ++i) sizes += batch[i].size;
  }
  sink = sizes;
}

int Run(int argc, char** argv) {
  if (argc < 2) {
    std::cerr << "usage: phase_bench FILE [--runs=N] [--only=PHASE,...]\n";
    return 2;
  }
  const std::string path = argv[1];
  std::size_t runs = 5;
  std::string only;
  for (int i = 2; i < argc; ++i) {
    if (std::strncmp(argv[i], "--runs=", 7) == 0) runs = std::max(1, std::atoi(argv[i] + 7));
    if (std::strncmp(argv[i], "--only=", 7) == 0) only = std::string(",") + (argv[i] + 7) + ",";
  }
  LoadedFile loaded;
  std::string text = ReadWholeFile(path, loaded);
  if (!text.empty() && text.back() != '\n' && text.back() != '\r') text += "\r\n";
  const std::size_t tokens = CountTokens(text);
  const IndentUnit unit{' ', 2};
  const std::string laid_out = LayOutLines(text, unit, TrailingBytes::kTrimmed).text;
  const std::string finished = FinishLines(laid_out, FormatOptions{2, false, true}).text;
  const std::string output = path + ".phase-bench-output";

  std::string copy;
  const std::vector<Phase> phases = {
      {"load", {}, [&] { ReadWholeFile(path, loaded); }},
      {"cut plain", {}, [&] { CutPlainly(text); }},
      {"cut table", {}, [&] { CutByTable(text); }},
      {"layout in loop",
       {},
       [&] { LayOutLines(text, unit, TrailingBytes::kTrimmed, Cutting::kInLoop); }},
      {"layout table",
       {},
       [&] { LayOutLines(text, unit, TrailingBytes::kTrimmed, Cutting::kTable); }},
      {"layout ahead",
       {},
       [&] { LayOutLines(text, unit, TrailingBytes::kTrimmed, Cutting::kAhead); }},
      {"finishing", [&] { copy = laid_out; },
       [&] {
         FinishLines(std::move(copy), FormatOptions{2, false, true});
       }},
      {"save", [&] { unlink(output.c_str()); },
       [&] { WriteFileSafely(output, finished, nullptr); }},
  };
  std::printf("%s: %.2f MB, %zu tokens (%.3f per byte), %zu runs\n", path.c_str(),
              static_cast<double>(text.size()) / 1e6, tokens,
              static_cast<double>(tokens) / static_cast<double>(text.size()), runs);
  std::printf("%-16s %10s %10s %10s\n", "phase", "wall ms", "cpu ms", "ns/token");
  for (const Phase& phase : phases) {
    if (!only.empty() && only.find(std::string(",") + phase.name + ",") == std::string::npos) {
      continue;
    }
    std::vector<double> wall, cpu;
    for (std::size_t r = 0; r < runs; ++r) {
      if (phase.setup) phase.setup();
      const Timing t = TimeOnce(phase.work);
      wall.push_back(t.wall);
      cpu.push_back(t.cpu);
    }
    std::printf("%-16s %10.1f %10.1f %10.2f\n", phase.name, Median(wall) * 1e3, Median(cpu) * 1e3,
                Median(wall) * 1e9 / static_cast<double>(tokens));
  }
  unlink(output.c_str());
  return 0;
}

}  // namespace
}  // namespace vemra

int main(int argc, char** argv) {
  try {
    return vemra::Run(argc, argv);
  } catch (const vemra::Exception& failure) {
    std::cerr << "phase_bench: " << failure.ClassName() << ": " << failure.Message() << '\n';
    return 1;
  }
}
