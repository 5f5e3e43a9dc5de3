#include "bench/memory_bench.h"

#include <cstdio>
#include <cstring>
#include <filesystem>

namespace vemra {
namespace {

namespace fs = std::filesystem;

constexpr double kMegabyte = 1e6;
// What the formatter may take beyond the larger of input and result.
constexpr double kAllowanceMb = 64;

struct Way {
  const char* name;
  // The command, with the placeholders of RunCommand.
  const char* command;
};

// $0: the formatter, $1: the input, $2: the output, run by sh so that a
// pipe can be measured too; the peak sh reports for its children is the
// largest of theirs, the formatter's.
constexpr Way kWays[] = {
    {"file", "exec \"$0\" \"$1\" \"$2\""},
    {"pipe", "cat \"$1\" | \"$0\" -stdin=1 -stdout=1 > \"$2\""},
    {"stdin", "exec \"$0\" -stdin=1 -stdout=1 < \"$1\" > \"$2\""},
};

}  // namespace

void PrintMemoryTableHeader(std::ostream& out) {
  char line[256];
  std::snprintf(line, sizeof line, "%-18s %-5s %9s %9s %8s %8s %8s %8s  %s\n", "input", "way",
                "in MB", "out MB", "s", "peak MB", "bound MB", "over MB", "status");
  out << line << std::string(std::strlen(line) - 1, '-') << '\n';
}

void MeasureMemory(const std::string& name, std::size_t input_bytes, const MemoryRunFiles& files,
                   const ProcessLimits& limits, std::ostream& out) {
  for (const Way& way : kWays) {
    std::error_code error;
    fs::remove(files.output, error);
    const ProcessRun run =
        RunProcess({"sh", "-c", way.command, files.formatter, files.input, files.output},
                   files.console, limits);
    const std::size_t output_bytes =
        run.Succeeded() && fs::exists(files.output, error) ? fs::file_size(files.output, error) : 0;
    const double in_mb = static_cast<double>(input_bytes) / kMegabyte;
    const double out_mb = static_cast<double>(output_bytes) / kMegabyte;
    const double peak_mb = static_cast<double>(run.peak_resident_kb) * 1024 / kMegabyte;
    const double bound_mb = std::max(in_mb, out_mb) + kAllowanceMb;
    char over[32] = "-";
    if (peak_mb > bound_mb) std::snprintf(over, sizeof over, "%.1f", peak_mb - bound_mb);
    std::string status = "ok";
    if (run.signal != 0) {
      status = std::string("signal ") + strsignal(run.signal);
    } else if (run.exit_status != 0) {
      status = "exit " + std::to_string(run.exit_status) + ": " + LastConsoleLine(files.console);
    }
    char line[512];
    std::snprintf(line, sizeof line, "%-18s %-5s %9.1f %9.1f %8.1f %8.1f %8.1f %8s  %s\n",
                  name.c_str(), way.name, in_mb, out_mb, run.wall_seconds, peak_mb, bound_mb, over,
                  status.c_str());
    out << line << std::flush;
  }
  std::error_code error;
  fs::remove(files.output, error);
}

void PrintMemoryLegend(std::ostream& out) {
  out << "\nMB = 1,000,000 bytes. One run each way: file (vemrafmt INPUT OUTPUT), pipe\n"
         "(cat INPUT | vemrafmt -stdin=1 -stdout=1 > OUTPUT) and stdin (vemrafmt -stdin=1\n"
         "-stdout=1 < INPUT > OUTPUT). out MB: the result's size (0 when the run failed).\n"
         "peak MB: the formatter's largest resident memory (ru_maxrss); bound MB: the larger\n"
         "of input and result, plus 64 MB; over MB: how far the peak passed the bound.\n";
}

}  // namespace vemra
