#include "bench/code_base_bench.h"

#include <git2.h>
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
  bool in_work_tree = false;        // the code base is made a git work tree with ignore rules
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

// Makes the code base in folder a git work tree, with ignore rules at its
// top and in each of its folders that a walk weighs for every file and
// folder (none of the code base's files is tracked), but that leave none
// of them out, so that a run with the rules does the same work as one
// without.
void MakeWorkTree(const std::string& folder) {
  git_libgit2_init();
  git_repository* repository = nullptr;
  const int status = git_repository_init(&repository, folder.c_str(), 0);
  git_repository_free(repository);
  git_libgit2_shutdown();
  if (status != 0) throw Exception("cannot make a git repository in " + folder);
  const auto write = [](const fs::path& path, const char* rules) {
    std::ofstream stream(path, std::ios::binary | std::ios::trunc);
    if (!(stream << rules)) throw Exception("cannot write " + path.string());
  };
  write(fs::path(folder) / ".gitignore",
        "*.o\n/build/\n**/generated/**\n!keep.o\ntmp-*\n*.vem.bak\n[Dd]ebug/\n");
  for (const fs::directory_entry& entry : fs::directory_iterator(folder)) {
    if (entry.is_directory() && entry.path().filename() != ".git") {
      write(entry.path() / ".gitignore", "*.tmp\n/old/\n!important.tmp\n");
    }
  }
}

std::vector<CodeBaseCommand> Commands(const CodeBaseOptions& options) {
  const std::string& vemrafmt = options.formatter;
  const std::string& dir = options.folder;
  return {
      {.label = "vemrafmt -files=1 DIR",
       .arguments = {vemrafmt, "-files=1", dir},
       .expected_status = 0,
       .compared_with_next = true,
       .compared_with_copy = true},
      {.label = "find DIR -name '*.vem' -exec vemrafmt {} ;",
       .arguments = {"find", dir, "-name", "*.vem", "-exec", vemrafmt, "{}", ";"},
       .expected_status = 0},
      {.label = "vemrafmt -check=1 -files=1 DIR",
       .arguments = {vemrafmt, "-check=1", "-files=1", dir},
       .expected_status = 1,
       .compared_with_next = true},
      {.label = "find DIR -name '*.vem' -exec vemrafmt -check=1 {} ;",
       .arguments = {"find", dir, "-name", "*.vem", "-exec", vemrafmt, "-check=1", "{}", ";"},
       .expected_status = 0},
      // The same check in a git work tree, by its ignore rules and without.
      {.label = "vemrafmt -check=1 -files=1 GIT",
       .arguments = {vemrafmt, "-check=1", "-files=1", dir},
       .expected_status = 1,
       .in_work_tree = true},
      {.label = "vemrafmt -check=1 -ignorefiles=0 -files=1 GIT",
       .arguments = {vemrafmt, "-check=1", "-ignorefiles=0", "-files=1", dir},
       .expected_status = 1,
       .in_work_tree = true},
      // What writing every file once costs on this file system: the floor
      // under any run that saves them all.
      {.label = "cp -r DIR COPY && sync -f COPY",
       .arguments = {"sh", "-c", "rm -rf \"$1\" && cp -r \"$0\" \"$1\" && sync -f \"$1\"", dir,
                     dir + ".copy"},
       .expected_status = 0,
       .copy = true},
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
         "cp -r: the files copied once and flushed, what any run that saves them all pays.\n"
         "GIT: the code base made a git work tree, with a .gitignore at its top and in each\n"
         "folder, whose rules leave none of its files out.\n";
}

// The time a check by the ignore rules takes against the same check
// without them.
void PrintRulesCost(const std::vector<CodeBaseCommand>& commands,
                    const std::vector<std::vector<ProcessRun>>& runs, std::ostream& out) {
  for (std::size_t i = 0; i + 1 < commands.size(); ++i) {
    if (!commands[i].in_work_tree || !commands[i + 1].in_work_tree) continue;
    char line[128];
    std::snprintf(line, sizeof line,
                  "ignore rules: %.3fx the median time of the same check without them\n",
                  MedianSeconds(runs[i]) / MedianSeconds(runs[i + 1]));
    out << line;
  }
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
      if (commands[i].in_work_tree) MakeWorkTree(options.folder);
      runs[i].push_back(RunProcess(commands[i].arguments, console, limits));
    }
  }
  std::error_code ignored;
  fs::remove(console, ignored);
  fs::remove_all(pristine, ignored);
  fs::remove_all(options.folder, ignored);
  fs::remove_all(options.folder + ".copy", ignored);
  PrintCodeBaseTable(commands, runs, out);
  PrintRulesCost(commands, runs, out);
}

}  // namespace vemra
