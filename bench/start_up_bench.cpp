#include "bench/start_up_bench.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <vector>

#include "base/failures.h"
#include "bench/bench_report.h"
#include "bench/process_run.h"
#include "bench/program_generator.h"

namespace vemra {
namespace {

namespace fs = std::filesystem;

constexpr std::size_t kInputBytes = 1024;
constexpr std::uint64_t kSeed = 7100;

struct StartUpCommand {
  std::string label;
  std::vector<std::string> arguments;
};

double Percentile90Seconds(const std::vector<ProcessRun>& runs) {
  std::vector<double> seconds;
  for (const ProcessRun& run : runs) seconds.push_back(run.wall_seconds);
  std::sort(seconds.begin(), seconds.end());
  return seconds.empty() ? 0 : seconds[seconds.size() * 9 / 10];
}

bool AllSucceeded(const std::vector<ProcessRun>& runs) {
  return std::all_of(runs.begin(), runs.end(),
                     [](const ProcessRun& run) { return run.Succeeded(); });
}

void PrintStartUpTable(const std::vector<StartUpCommand>& commands,
                       const std::vector<std::vector<ProcessRun>>& runs, std::ostream& out) {
  char line[256];
  std::snprintf(line, sizeof line, "%-42s %5s %10s %8s %8s %8s  %s\n", "command", "runs",
                "median ms", "p90 ms", "cpu ms", "peak MB", "status");
  out << line << std::string(std::strlen(line) - 1, '-') << '\n';
  for (std::size_t i = 0; i < commands.size(); ++i) {
    std::snprintf(line, sizeof line, "%-42s %5zu %10.2f %8.2f %8.2f %8.1f  %s\n",
                  commands[i].label.c_str(), runs[i].size(), MedianSeconds(runs[i]) * 1e3,
                  Percentile90Seconds(runs[i]) * 1e3, MedianCpuSeconds(runs[i]) * 1e3,
                  static_cast<double>(PeakResidentKb(runs[i])) * 1024 / 1e6,
                  AllSucceeded(runs[i]) ? "ok" : "FAILED");
    out << line;
  }
  out << "\nmedian ms, p90 ms: median and 90th percentile wall time from start to exit;\n"
         "cpu ms: median user + system time; cat: what starting any program that copies\n"
         "standard input to standard output costs on this machine.\n";
}

}  // namespace

void MeasureStartUp(const StartUpOptions& options, std::ostream& out) {
  fs::create_directories(options.folder);
  const std::string input = (fs::path(options.folder) / "input.vem").string();
  const std::string output = (fs::path(options.folder) / "output.vem").string();
  {
    // Generated programs come near the size asked for; this one is cut at
    // its last line end within 1 KB.
    std::string bytes = GenerateProgram(kSeed, 2 * kInputBytes);
    bytes.resize(bytes.rfind('\n', kInputBytes - 1) + 1);
    std::ofstream file(input, std::ios::binary | std::ios::trunc);
    file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!file.flush()) throw Exception("cannot write " + input);
    char line[128];
    std::snprintf(line, sizeof line,
                  "start-up: a program of %zu bytes, standard input to output\n\n", bytes.size());
    out << line;
  }
  const std::vector<StartUpCommand> commands = {
      {"vemrafmt -stdin=1 -stdout=1 < IN > OUT", {options.formatter, "-stdin=1", "-stdout=1"}},
      {"cat < IN > OUT", {"cat"}},
  };
  std::vector<std::vector<ProcessRun>> runs(commands.size());
  for (std::size_t round = 0; round < options.runs; ++round) {
    for (std::size_t i = 0; i < commands.size(); ++i) {
      runs[i].push_back(RunProcess(commands[i].arguments, output, {}, input));
    }
  }
  std::error_code ignored;
  fs::remove(input, ignored);
  fs::remove(output, ignored);
  PrintStartUpTable(commands, runs, out);
}

}  // namespace vemra
