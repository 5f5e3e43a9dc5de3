#include "bench/code_base_bench.h"

#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>

#include "base/failures.h"
#include "bench/bench_report.h"
#include "bench/process_run.h"
#include "bench/program_generator.h"

namespace vemra {
namespace {

namespace fs = std::filesystem;

constexpr std::size_t kFilesPerFolder = 100;
constexpr std::uint64_t kFirstSeed = 4100;

// A command over the code base, and the exit status that means it did its
// work: a check of unformatted files ends with 1.
struct CodeBaseCommand {
  std::string label;
  std::vector<std::string> arguments;
  int expected_status;
  bool compared_with_next = false;  // the next command does the same work through find -exec
  bool compared_with_copy = false;  // set against the copy's fastest run, fastest to fastest
  bool copy = false;                // the copy of the code base, the floor of any save
};

// prefix, then number with leading zeros to width digits.
std::string Numbered(const char* prefix, std::size_t number, std::size_t width) {
  const std::string digits = std::to_string(number);
  std::string text = prefix;
  text.append(digits.size() < width ? width - digits.size() : 0, '0');
  text += digits;
  return text;
}

// Writes every file of the code base below folder; returns their total size.
// The files are made one at a time: the benchmark process stays small, as a
// child process starts with the memory its parent has.
std::size_t GenerateInto(const std::string& folder, std::size_t files, std::size_t file_bytes) {
  std::size_t total = 0;
  for (std::size_t i = 0; i < files; ++i) {
    const CodeBaseFile file = CodeBaseFileAt(i, file_bytes);
    const fs::path path = fs::path(folder) / file.path;
    fs::create_directories(path.parent_path());
    std::ofstream stream(path, std::ios::binary | std::ios::trunc);
    stream.write(file.bytes.data(), static_cast<std::streamsize>(file.bytes.size()));
    if (!stream.flush()) throw Exception("cannot write " + path.string());
    total += file.bytes.size();
  }
  return total;
}

// Puts the unformatted code base in place of the one the run before has
// formatted. The writing back is flushed, so that it does not share the
// machine with the run timed next.
void RestoreCodeBase(const std::string& pristine, const std::string& folder) {
  std::error_code ignored;
  fs::remove_all(folder, ignored);
  fs::copy(pristine, folder, fs::copy_options::recursive);
  sync();
}

std::vector<CodeBaseCommand> Commands(const CodeBaseOptions& options) {
  const std::string& vemrafmt = options.formatter;
  const std::string& dir = options.folder;
  return {
      {"vemrafmt -files=1 DIR", {vemrafmt, "-files=1", dir}, 0, true, true},
      {"find DIR -name '*.vem' -exec vemrafmt {} ;",
       {"find", dir, "-name", "*.vem", "-exec", vemrafmt, "{}", ";"},
       0},
      {"vemrafmt -check=1 -files=1 DIR", {vemrafmt, "-check=1", "-files=1", dir}, 1, true},
      {"find DIR -name '*.vem' -exec vemrafmt -check=1 {} ;",
       {"find", dir, "-name", "*.vem", "-exec", vemrafmt, "-check=1", "{}", ";"},
       0},
      // What writing every file once costs on this file system: the floor
      // under any run that saves them all.
      {"cp -r DIR COPY && sync -f COPY",
       {"sh", "-c", "rm -rf \"$1\" && cp -r \"$0\" \"$1\" && sync -f \"$1\"", dir, dir + ".copy"},
       0,
       false,
       false,
       true},
  };
}

std::string RunStatusText(const std::vector<ProcessRun>& runs, int expected_status) {
  for (const ProcessRun& run : runs) {
    if (run.signal != 0) return "signal " + std::to_string(run.signal);
    if (run.exit_status != expected_status) return "exit " + std::to_string(run.exit_status);
  }
  return "ok";
}

// The fastest run shows what the disk can do when it is not busy with
// others' work; the median, what a run meets.
double FastestSeconds(const std::vector<ProcessRun>& runs) {
  double fastest = runs.empty() ? 0 : runs.front().wall_seconds;
  for (const ProcessRun& run : runs) fastest = std::min(fastest, run.wall_seconds);
  return fastest;
}

// The copy's fastest run, or 0 when there is no copy among the commands.
double FastestCopySeconds(const std::vector<CodeBaseCommand>& commands,
                          const std::vector<std::vector<ProcessRun>>& runs) {
  for (std::size_t i = 0; i < commands.size(); ++i) {
    if (commands[i].copy) return FastestSeconds(runs[i]);
  }
  return 0;
}

void PrintCodeBaseTable(const std::vector<CodeBaseCommand>& commands,
                        const std::vector<std::vector<ProcessRun>>& runs, std::ostream& out) {
  char line[256];
  std::snprintf(line, sizeof line, "%-52s %4s %9s %9s %8s %8s %9s %7s  %s\n", "command", "runs",
                "median s", "fastest s", "cpu s", "peak MB", "vs find", "vs cp", "status");
  out << line << std::string(std::strlen(line) - 1, '-') << '\n';
  const double copy_seconds = FastestCopySeconds(commands, runs);
  for (std::size_t i = 0; i < commands.size(); ++i) {
    const double seconds = MedianSeconds(runs[i]);
    char ratio[32] = "-";
    if (commands[i].compared_with_next)
      std::snprintf(ratio, sizeof ratio, "%.1fx", MedianSeconds(runs[i + 1]) / seconds);
    char copy_ratio[32] = "-";
    if (commands[i].compared_with_copy && copy_seconds > 0)
      std::snprintf(copy_ratio, sizeof copy_ratio, "%.2fx", FastestSeconds(runs[i]) / copy_seconds);
    std::snprintf(line, sizeof line, "%-52s %4zu %9.3f %9.3f %8.3f %8.1f %9s %7s  %s\n",
                  commands[i].label.c_str(), runs[i].size(), seconds, FastestSeconds(runs[i]),
                  MedianCpuSeconds(runs[i]),
                  static_cast<double>(PeakResidentKb(runs[i])) * 1024 / 1e6, ratio, copy_ratio,
                  RunStatusText(runs[i], commands[i].expected_status).c_str());
    out << line;
  }
  out << "\nmedian s, cpu s: median wall and user + system time of the runs, each on the\n"
         "unformatted code base written back and synced before it; fastest s: the fastest\n"
         "run, what the disk allows when it is least busy; peak MB: largest resident\n"
         "memory of a run (for find, of find or any one formatter it started); vs find: how\n"
         "many times faster the many-files run is than find -exec with one process per file;\n"
         "vs cp: the fastest run against the fastest cp -r, how many times the copy it takes.\n"
         "cp -r: the files copied once and flushed, what any run that saves them all pays.\n";
}

}  // namespace

CodeBaseFile CodeBaseFileAt(std::size_t index, std::size_t file_bytes) {
  std::string path = Numbered("d", index / kFilesPerFolder, 2);
  path += Numbered("/f", index, 5);
  path += ".vem";
  return {std::move(path), GenerateProgram(kFirstSeed + index, file_bytes)};
}

void MeasureCodeBase(const CodeBaseOptions& options, std::ostream& out) {
  const std::string pristine = options.folder + ".pristine";
  const std::size_t total = GenerateInto(pristine, options.files, options.file_bytes);
  char line[128];
  std::snprintf(line, sizeof line,
                "code base: %zu files, %.1f MB, in folders of up to %zu files\n\n", options.files,
                static_cast<double>(total) / 1e6, kFilesPerFolder);
  out << line;

  const std::vector<CodeBaseCommand> commands = Commands(options);
  const ProcessLimits limits{options.cpu_limit_seconds, options.memory_limit_mb * 1000 * 1000};
  const std::string console = options.folder + ".console";
  std::vector<std::vector<ProcessRun>> runs(commands.size());
  for (std::size_t round = 0; round < options.runs; ++round) {
    for (std::size_t i = 0; i < commands.size(); ++i) {
      RestoreCodeBase(pristine, options.folder);
      runs[i].push_back(RunProcess(commands[i].arguments, console, limits));
    }
  }
  std::error_code ignored;
  fs::remove(console, ignored);
  fs::remove_all(pristine, ignored);
  fs::remove_all(options.folder, ignored);
  fs::remove_all(options.folder + ".copy", ignored);
  PrintCodeBaseTable(commands, runs, out);
}

}  // namespace vemra
