// Measures the formatter against cp on realistic and hostile inputs that it
// generates itself, and prints one table row per input; then, on a code base
// of many small files, one many-files run against find -exec; then the
// start-up of a run over 1 KB from standard input to standard output; and,
// when asked for, the language server's answers to formatting requests.
//
//   vemra_bench [--vemrafmt=PATH] [--only=NAME,PREFIX*,...] [--runs=N]
//               [--cpu-limit=SECONDS] [--memory-limit-mb=N] [--dir=PATH] [--list]
//               [--code-base-files=N] [--save-inputs=DIR]
//
// --vemrafmt: the formatter, by default the vemrafmt next to this program;
// --only: the inputs to run (see --list); --runs: runs per input, 5 by
// default, four times as many for small inputs that format quickly;
// --cpu-limit and --memory-limit-mb: a formatter run beyond them is ended
// and reported; --dir: where the temporary folder is made; --code-base-files:
// the number of files of the code-base input (10,000 by default). The
// start-up input is run 100 times as often as --runs says. --save-inputs:
// only write the selected inputs to DIR as NAME.vem, for profiling or
// comparing builds on them, and measure nothing. The large inputs (names
// starting with "large-") are run only when --only names them, each once
// per way a text reaches the formatter, for its peak memory.
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

#include "base/failures.h"
#include "bench/bench_inputs.h"
#include "bench/bench_report.h"
#include "bench/code_base_bench.h"
#include "bench/comma_list.h"
#include "bench/count_option.h"
#include "bench/lsp_bench.h"
#include "bench/memory_bench.h"
#include "bench/process_run.h"
#include "bench/start_up_bench.h"

namespace vemra {
namespace {

namespace fs = std::filesystem;

struct BenchOptions {
  std::string formatter;                // the program measured
  std::vector<std::string> only;        // names to run; empty runs every input
  std::size_t runs = 5;                 // formatter and cp runs per input (more for small ones)
  unsigned cpu_limit_seconds = 300;     // a formatter run taking longer is ended
  std::size_t memory_limit_mb = 16000;  // address space a formatter run may map; 0: none
  std::size_t code_base_files = 10000;  // files of the code base
  std::string parent_dir;               // where the temporary folder is made
  std::string save_inputs_dir;          // where to write the inputs instead of measuring
  bool list = false;                    // only list the inputs
  bool help = false;                    // only print the usage
};

// The inputs measured apart: many small files instead of one, and one small
// file through standard input and output.
constexpr std::string_view kCodeBase = "code-base";
constexpr std::string_view kStartUp = "start-up";
constexpr std::size_t kStartUpRunFactor = 100;
// The language server, driven over a pipe; run only when --only names it.
constexpr std::string_view kLanguageServer = "lsp";

// Inputs below this size whose first run is quick are run more often, as
// their times are short and noisy.
constexpr std::size_t kSmallInput = 5 * 1000 * 1000;
constexpr double kQuickRunSeconds = 1.0;
constexpr std::size_t kSmallInputRunFactor = 4;

// Every formatter run is repeated pinned to this processor, as under
// taskset -c 0: the speed on one core, whatever the program's threads.
constexpr int kPinnedCpu = 0;

constexpr std::string_view kUsage =
    "usage: vemra_bench [--vemrafmt=PATH] [--only=NAME,PREFIX*,...] [--runs=N]\n"
    "                   [--cpu-limit=SECONDS] [--memory-limit-mb=N] [--dir=PATH] [--list]\n"
    "                   [--code-base-files=N] [--save-inputs=DIR]\n";

std::string ProgramDirectory() {
  std::error_code error;
  fs::path self = fs::read_symlink("/proc/self/exe", error);
  return error ? std::string(".") : self.parent_path().string();
}

BenchOptions ParseOptions(const std::vector<std::string>& arguments) {
  BenchOptions options;
  options.formatter = ProgramDirectory() + "/vemrafmt";
  options.parent_dir = fs::temp_directory_path().string();
  for (const std::string& argument : arguments) {
    std::size_t equals = argument.find('=');
    std::string name = argument.substr(0, equals);
    std::string value = equals == std::string::npos ? "" : argument.substr(equals + 1);
    if (name == "--vemrafmt") {
      options.formatter = value;
    } else if (name == "--only") {
      options.only = SplitList(value);
    } else if (name == "--runs") {
      options.runs = std::max<std::size_t>(1, ParseCount(name, value));
    } else if (name == "--cpu-limit") {
      options.cpu_limit_seconds = static_cast<unsigned>(ParseCount(name, value));
    } else if (name == "--memory-limit-mb") {
      options.memory_limit_mb = ParseCount(name, value);
    } else if (name == "--code-base-files") {
      options.code_base_files = std::max<std::size_t>(1, ParseCount(name, value));
    } else if (name == "--save-inputs") {
      options.save_inputs_dir = value;
    } else if (name == "--dir") {
      options.parent_dir = value;
    } else if (name == "--help") {
      options.help = true;
    } else if (name == "--list") {
      options.list = true;
    } else {
      throw Exception("unknown option '" + argument + "'\n" + std::string(kUsage));
    }
  }
  return options;
}

bool Selected(const BenchOptions& options, std::string_view name) {
  if (options.only.empty()) return true;
  for (std::string_view wanted : options.only) {
    if (name == wanted) return true;
    if (wanted.ends_with('*') && name.starts_with(wanted.substr(0, wanted.size() - 1))) return true;
  }
  return false;
}

// A large input is taken only when --only names it, alone or by a prefix:
// each takes minutes and gigabytes.
bool LargeSelected(const BenchOptions& options, std::string_view name) {
  return !options.only.empty() && Selected(options, name);
}

std::vector<BenchInput> SelectedLarge(const BenchOptions& options) {
  std::vector<BenchInput> selected;
  for (const BenchInput& input : LargeInputs()) {
    if (LargeSelected(options, input.name)) selected.push_back(input);
  }
  return selected;
}

// A folder of its own for the run's files, removed with everything in it.
class TemporaryFolder {
 public:
  explicit TemporaryFolder(const std::string& parent) {
    std::string pattern = parent + "/vemra-bench-XXXXXX";
    if (mkdtemp(pattern.data()) == nullptr) {
      throw Exception("cannot create a temporary folder in " + parent);
    }
    path_ = pattern;
  }
  ~TemporaryFolder() {
    std::error_code ignored;
    fs::remove_all(path_, ignored);
  }
  TemporaryFolder(const TemporaryFolder&) = delete;
  TemporaryFolder& operator=(const TemporaryFolder&) = delete;

  std::string File(std::string_view name) const { return (path_ / name).string(); }

 private:
  fs::path path_;
};

void WriteFile(const std::string& path, const std::string& bytes) {
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (!file.flush()) throw Exception("cannot write " + path);
}

// A run that ended with status 0 but without the final "done!" failed too.
bool FormatterFinished(const ProcessRun& run, const std::string& console_path) {
  const std::string last = LastConsoleLine(console_path);
  return run.Succeeded() && last.size() >= 5 && last.compare(last.size() - 5, 5, "done!") == 0;
}

// Other work on the machine slows the runs down; the table says how much
// there was.
std::string LoadAverage() {
  std::ifstream file("/proc/loadavg");
  std::string one, five, fifteen;
  file >> one >> five >> fifteen;
  return file ? one + " " + five + " " + fifteen : "unknown";
}

// Has the kernel write back the files earlier runs left in the page cache,
// so that it does not do so on the cores of the run timed next.
void SettleWriteback() {
  sync();
}

// One formatter run from source to a new output, added to runs. A run that
// failed, or ended with status 0 but without its final "done!", is noted
// with the formatter's last console line.
ProcessRun RunFormatter(const std::string& formatter, const std::string& source,
                        const std::string& output, const std::string& console,
                        const ProcessLimits& limits, std::vector<ProcessRun>& runs,
                        std::string& console_line) {
  fs::remove(output);
  SettleWriteback();
  ProcessRun run = RunProcess({formatter, source, output}, console, limits);
  runs.push_back(run);
  if (!FormatterFinished(run, console)) {
    if (run.exit_status == 0 && run.signal == 0) runs.back().exit_status = -1;
    console_line = LastConsoleLine(console);
  }
  return run;
}

InputMeasurement Measure(const BenchInput& input, const BenchOptions& options,
                         const TemporaryFolder& folder) {
  const std::string source = folder.File("input.vm");
  const std::string copy = folder.File("copy.vm");
  const std::string output = folder.File("output.vm");
  const std::string console = folder.File("console.txt");
  InputMeasurement m;
  m.name = std::string(input.name);
  {
    const std::string bytes = input.make();
    m.input_bytes = bytes.size();
    WriteFile(source, bytes);
  }
  const ProcessLimits no_limits;
  const ProcessLimits limits{options.cpu_limit_seconds, options.memory_limit_mb * 1000 * 1000};
  ProcessLimits pinned_limits = limits;
  pinned_limits.only_cpu = kPinnedCpu;
  std::size_t runs = options.runs;
  RunProcess({"cp", source, copy}, "/dev/null", no_limits);  // warms the page cache
  for (std::size_t i = 0; i < runs; ++i) {
    fs::remove(copy);
    SettleWriteback();
    m.copy_runs.push_back(RunProcess({"cp", source, copy}, "/dev/null", no_limits));
    if (!m.copy_runs.back().Succeeded()) throw Exception("cp of " + source + " failed");
    const ProcessRun run = RunFormatter(options.formatter, source, output, console, limits,
                                        m.format_runs, m.console_line);
    if (run.signal != 0) break;  // one run over the limits is enough
    const ProcessRun pinned = RunFormatter(options.formatter, source, output, console,
                                           pinned_limits, m.pinned_runs, m.console_line);
    if (pinned.signal != 0) break;
    if (i == 0 && m.input_bytes < kSmallInput && run.wall_seconds < kQuickRunSeconds) {
      runs *= kSmallInputRunFactor;
    }
  }
  std::error_code error;
  m.output_bytes = fs::exists(output, error) ? fs::file_size(output, error) : 0;
  for (const std::string& path : {source, copy, output, console}) fs::remove(path, error);
  return m;
}

// Every large input, written and measured one at a time.
void MeasureLargeInputs(const std::vector<BenchInput>& inputs, const BenchOptions& options,
                        const TemporaryFolder& folder) {
  const ProcessLimits limits{options.cpu_limit_seconds, options.memory_limit_mb * 1000 * 1000};
  const MemoryRunFiles files{options.formatter, folder.File("large-input.vm"),
                             folder.File("large-output.vm"), folder.File("console.txt")};
  PrintMemoryTableHeader(std::cout);
  for (const BenchInput& input : inputs) {
    std::size_t input_bytes = 0;
    {
      const std::string bytes = input.make();
      input_bytes = bytes.size();
      WriteFile(files.input, bytes);
    }
    SettleWriteback();
    MeasureMemory(std::string(input.name), input_bytes, files, limits, std::cout);
    std::error_code error;
    fs::remove(files.input, error);
  }
  PrintMemoryLegend(std::cout);
}

int SaveInputs(const BenchOptions& options) {
  std::vector<BenchInput> inputs = SelectedLarge(options);
  for (const BenchInput& input : BenchInputs()) {
    if (Selected(options, input.name)) inputs.push_back(input);
  }
  for (const BenchInput& input : inputs) {
    const std::string path = options.save_inputs_dir + "/" + std::string(input.name) + ".vem";
    const std::string bytes = input.make();
    WriteFile(path, bytes);
    std::cout << path << "  " << bytes.size() << " bytes\n";
  }
  return 0;
}

int RunBenchmark(const BenchOptions& options) {
  if (options.help) {
    std::cout << kUsage;
    return 0;
  }
  if (options.list) {
    for (const BenchInput& input : BenchInputs()) {
      std::cout << input.name << "  " << input.description << '\n';
    }
    for (const BenchInput& input : LargeInputs()) {
      std::cout << input.name << "  " << input.description << " (only when --only names it)\n";
    }
    std::cout << kCodeBase << "  " << options.code_base_files
              << " generated programs of about 10 KB each in folders of 100, formatted and "
                 "checked by one run and by find -exec\n";
    std::cout << kStartUp
              << "  a 1 KB program formatted from standard input to standard output, "
                 "beside cat\n";
    std::cout << kLanguageServer
              << "  vemrafmt -lsp=1 over a pipe: 1,000 formatting requests on documents of 1 MB "
                 "and 5 MB (only when --only names it)\n";
    return 0;
  }
  if (!options.save_inputs_dir.empty()) return SaveInputs(options);
  if (access(options.formatter.c_str(), X_OK) != 0) {
    throw Exception("no formatter program at " + options.formatter + " (see --vemrafmt)");
  }
  std::vector<BenchInput> selected;
  for (const BenchInput& input : BenchInputs()) {
    if (Selected(options, input.name)) selected.push_back(input);
  }
  const std::vector<BenchInput> large = SelectedLarge(options);
  const bool code_base = Selected(options, kCodeBase);
  const bool start_up = Selected(options, kStartUp);
  const bool language_server = LargeSelected(options, kLanguageServer);
  if (selected.empty() && large.empty() && !code_base && !start_up && !language_server) {
    throw Exception("no input matches --only (see --list)");
  }
  TemporaryFolder folder(options.parent_dir);
  std::cout << "formatter: " << options.formatter << "\nload average before: " << LoadAverage()
            << "\n\n";
  if (!selected.empty()) {
    PrintTableHeader(std::cout);
    for (const BenchInput& input : selected)
      PrintTableRow(Measure(input, options, folder), std::cout);
    PrintLegend(std::cout);
    std::cout << '\n';
  }
  if (!large.empty()) {
    MeasureLargeInputs(large, options, folder);
    std::cout << '\n';
  }
  if (code_base) {
    MeasureCodeBase({options.formatter, folder.File(kCodeBase), options.code_base_files, 10000,
                     options.runs, options.memory_limit_mb, options.cpu_limit_seconds},
                    std::cout);
    std::cout << '\n';
  }
  if (start_up) {
    MeasureStartUp({options.formatter, folder.File(kStartUp), options.runs * kStartUpRunFactor},
                   std::cout);
    std::cout << '\n';
  }
  if (language_server) {
    MeasureLanguageServer({options.formatter, {1000 * 1000, 5 * 1000 * 1000}}, std::cout);
    std::cout << '\n';
  }
  std::cout << "load average after: " << LoadAverage() << '\n';
  return 0;
}

}  // namespace
}  // namespace vemra

int main(int argc, char** argv) {
  try {
    return vemra::RunBenchmark(
        vemra::ParseOptions(std::vector<std::string>(argv + 1, argv + argc)));
  } catch (const vemra::Exception& failure) {
    std::cerr << "vemra_bench: " << failure.Message() << '\n';
    return 1;
  } catch (const std::exception& failure) {
    std::cerr << "vemra_bench: " << failure.what() << '\n';
    return 1;
  }
}
