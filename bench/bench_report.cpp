#include "bench/bench_report.h"

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <cstring>

namespace vemra {
namespace {

constexpr double kMegabyte = 1e6;

// Outputs this much larger than their input are judged by output size too.
constexpr double kLargeOutputFactor = 1.5;

std::string Format(const char* format, double value) {
  char text[32];
  std::snprintf(text, sizeof text, format, value);
  return text;
}

// How the runs ended: "ok", or the first failure seen.
std::string RunStatus(const std::vector<ProcessRun>& runs) {
  for (const ProcessRun& run : runs) {
    if (run.signal == SIGXCPU || run.signal == SIGKILL) return "CPU limit";
    if (run.signal != 0) return std::string("signal ") + strsignal(run.signal);
    if (run.exit_status != 0) return "exit " + std::to_string(run.exit_status);
  }
  return "ok";
}

double Median(std::vector<double> seconds) {
  if (seconds.empty()) return 0;
  std::sort(seconds.begin(), seconds.end());
  std::size_t middle = seconds.size() / 2;
  return seconds.size() % 2 ? seconds[middle] : (seconds[middle - 1] + seconds[middle]) / 2;
}

}  // namespace

long PeakResidentKb(const std::vector<ProcessRun>& runs) {
  long peak = 0;
  for (const ProcessRun& run : runs) peak = std::max(peak, run.peak_resident_kb);
  return peak;
}

double MedianSeconds(const std::vector<ProcessRun>& runs) {
  std::vector<double> seconds;
  for (const ProcessRun& run : runs) seconds.push_back(run.wall_seconds);
  return Median(std::move(seconds));
}

double MedianCpuSeconds(const std::vector<ProcessRun>& runs) {
  std::vector<double> seconds;
  for (const ProcessRun& run : runs) seconds.push_back(run.cpu_seconds);
  return Median(std::move(seconds));
}

void PrintTableHeader(std::ostream& out) {
  char line[256];
  std::snprintf(line, sizeof line,
                "%-13s %8s %8s %4s %9s %8s %8s %8s %8s %8s %8s %7s %8s %7s  %s\n", "input", "in MB",
                "out MB", "runs", "median s", "cpu s", "MB/s", "outMB/s", "1-core s", "1c MB/s",
                "peak MB", "peak/in", "cp s", "vs cp", "status");
  out << line << std::string(std::strlen(line) - 1, '-') << '\n';
}

void PrintTableRow(const InputMeasurement& m, std::ostream& out) {
  const double input_mb = static_cast<double>(m.input_bytes) / kMegabyte;
  const double output_mb = static_cast<double>(m.output_bytes) / kMegabyte;
  const double seconds = MedianSeconds(m.format_runs);
  const double pinned_seconds = MedianSeconds(m.pinned_runs);
  const double copy_seconds = MedianSeconds(m.copy_runs);
  std::vector<ProcessRun> every_run = m.format_runs;
  every_run.insert(every_run.end(), m.pinned_runs.begin(), m.pinned_runs.end());
  const double peak_mb = static_cast<double>(PeakResidentKb(every_run)) * 1024 / kMegabyte;
  const bool large_output = output_mb > kLargeOutputFactor * input_mb;
  char line[256];
  std::snprintf(line, sizeof line,
                "%-13s %8.2f %8.2f %4zu %9.4f %8.4f %8s %8s %8.4f %8s %8.1f %7s %8.4f %7s  %s\n",
                m.name.c_str(), input_mb, output_mb, m.format_runs.size(), seconds,
                MedianCpuSeconds(m.format_runs), Format("%.1f", input_mb / seconds).c_str(),
                large_output ? Format("%.1f", output_mb / seconds).c_str() : "-", pinned_seconds,
                m.pinned_runs.empty() ? "-" : Format("%.1f", input_mb / pinned_seconds).c_str(),
                peak_mb, input_mb > 0 ? Format("%.1f", peak_mb / input_mb).c_str() : "-",
                copy_seconds, Format("%.1f", seconds / copy_seconds).c_str(),
                RunStatus(every_run).c_str());
  out << line;
  if (!m.console_line.empty()) {
    out << "              formatter said: " << m.console_line << '\n';
    if (m.console_line.find("ETextTooLarge") != std::string::npos) {
      out << "              (the output would pass 2 GiB: refusing it is the expected result)\n";
    }
  }
  out.flush();
}

void PrintLegend(std::ostream& out) {
  out << "\nMB = 1,000,000 bytes. median s: median wall time of the formatter (load, format,\n"
         "save) over the runs, each a separate process writing a new output file; cpu s: median\n"
         "user + system time of those runs (less sensitive to other load). MB/s: input\n"
         "size / median; outMB/s: output size / median, shown where the output is more than\n"
         "1.5 times the input. 1-core s, 1c MB/s: the same for runs pinned to processor 0 (as\n"
         "under taskset -c 0), one after each free run. peak MB: largest resident memory of\n"
         "any formatter run (ru_maxrss); peak/in: that / input size. cp s: median wall time of\n"
         "cp of the same input to a new file, measured alternately with the formatter; vs cp:\n"
         "formatter median / cp median.\n";
}

}  // namespace vemra
