// Runs two builds of the formatter on the same inputs, under every option
// set and in every mode, and reports every difference in what they leave
// behind: the bytes of every file, standard output, standard error and the
// exit status. A change meant to make the program faster must show none.
//
//   compare_builds --old=PATH --new=PATH [--new-runner=COMMAND,...]
//                  [--programs=N] [--corpus=N] [--large=FILE,...]
//                  [--also=OPTION,...] [--dir=PATH] [--most=N]
//
// The inputs: the examples, the fuzz corpus (its first N files with
// --corpus), N generated programs of every
// kind (1,000 by default; see program_kinds.h: region markers among the
// lines spliced in) and small forms of the hostile shapes, each under every
// option set, the examples in every mode and the rest in one mode per
// option set, taking turns; then each --large file under every option set,
// formatted to a new file. --also: options each added to every option set
// in turn, doubling them for one. --dir: where the runs' files go
// (/dev/shm by default, so that the saves' flushes cost little); --most:
// mismatches printed before the rest are only counted (10 by default).
// --new-runner: the new build is a Windows program run through a command
// (wine): it is given its file names as Windows spells them (Z:\dev\shm\…
// for /dev/shm/…), and its console text is compared with those names
// spelled back; saved bytes, statuses and the result on standard output
// are compared byte for byte as ever.
// Each mismatch's input is kept in DIR/mismatch-N for a closer look, with
// what each build left in old/ and new/ beside it: its status, standard
// output and error, and the files of its case folder. Exits 1 when any run
// differs, 2 when the comparison itself fails.
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iostream>
#include <map>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "base/failures.h"
#include "bench/comma_list.h"
#include "bench/count_option.h"
#include "bench/hostile_inputs.h"
#include "bench/process_run.h"
#include "bench/program_kinds.h"

namespace vemra {
namespace {

namespace fs = std::filesystem;

struct Input {
  std::string name;
  std::function<std::string()> bytes;
};

// What one run left behind.
struct Outcome {
  ProcessRun run;
  std::string output;
  std::string error;
  std::map<std::string, std::string> files;  // by path below the case folder

  bool SameAs(const Outcome& other) const {
    return run.exit_status == other.run.exit_status && run.signal == other.run.signal &&
           output == other.output && error == other.error && files == other.files;
  }
};

// How the formatter is called on the case folder's input "in.vem": the
// arguments after the program's name.
struct Mode {
  std::string name;
  std::vector<std::string> (*arguments)(const std::vector<std::string>& options,
                                        const std::string& folder);
  bool reads_input = false;  // standard input is the case folder's "in.vem"
};

std::vector<std::string> With(std::vector<std::string> options,
                              std::initializer_list<std::string> more) {
  options.insert(options.end(), more);
  return options;
}

const Mode kModes[] = {
    {"in place",
     [](const auto& options, const auto& dir) { return With(options, {dir + "/in.vem"}); }},
    {"to output",
     [](const auto& options, const auto& dir) {
       return With(options, {dir + "/in.vem", dir + "/out.vem"});
     }},
    {"check",
     [](const auto& options, const auto& dir) {
       return With(options, {"-check=1", dir + "/in.vem"});
     }},
    {"diff",
     [](const auto& options, const auto& dir) {
       return With(options, {"-diff=1", dir + "/in.vem"});
     }},
    {"files",
     [](const auto& options, const auto& dir) {
       return With(options, {"-files=1", dir});
     }},
    {"standard streams",
     [](const auto& options, const auto&) {
       return With(options, {"-stdin=1", "-stdout=1"});
     },
     true},
};
constexpr std::size_t kToOutput = 1;

// Every combination of the options that change how a text comes out, each
// once more with every option of `also` added.
std::vector<std::vector<std::string>> AllOptionSets(const std::vector<std::string>& also) {
  std::vector<std::vector<std::string>> sets;
  for (const char* width : {"-1", "0", "1", "2", "8"}) {
    for (const char* tabs : {"0", "1"}) {
      for (const char* extra : {"0", "1"}) {
        sets.push_back({std::string("-tabwidth=") + width, std::string("-tabs=") + tabs,
                        std::string("-extralines=") + extra});
      }
    }
  }
  const std::size_t plain = sets.size();
  for (const std::string& option : also) {
    for (std::size_t i = 0; i < plain; ++i) sets.push_back(With(sets[i], {option}));
  }
  return sets;
}

std::string ReadBytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

void WriteBytes(const fs::path& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (!out.flush()) throw Exception("cannot write " + path.string());
}

std::string Joined(const std::vector<std::string>& words) {
  std::string text;
  for (const std::string& word : words) text += (text.empty() ? "" : " ") + word;
  return text;
}

// path as wine's drive Z: (the root folder) shows it to a Windows program.
std::string WindowsSpelling(std::string path) {
  std::replace(path.begin(), path.end(), '/', '\\');
  return "Z:" + path;
}

// text with every from replaced by to.
std::string Replaced(std::string text, const std::string& from, const std::string& to) {
  for (std::size_t at = 0; (at = text.find(from, at)) != std::string::npos; at += to.size()) {
    text.replace(at, from.size(), to);
  }
  return text;
}

// Writes what one run left behind below folder, for a look after the run.
void KeepOutcome(const fs::path& folder, const Outcome& outcome) {
  fs::create_directories(folder / "case");
  WriteBytes(folder / "status", std::to_string(outcome.run.exit_status) + "/" +
                                    std::to_string(outcome.run.signal) + " after " +
                                    std::to_string(outcome.run.wall_seconds) + " s\n");
  WriteBytes(folder / "stdout", outcome.output);
  WriteBytes(folder / "stderr", outcome.error);
  for (const auto& [name, bytes] : outcome.files) {
    fs::create_directories((folder / "case" / name).parent_path());
    WriteBytes(folder / "case" / name, bytes);
  }
}

struct Comparison {
  std::string old_program;
  std::string new_program;
  std::vector<std::string> new_runner;  // the command the new build runs through
  fs::path folder;                      // the case folder and, beside it, the streams
  std::size_t most = 10;                // mismatches printed
  std::size_t runs = 0;                 // pairs of runs compared
  std::size_t mismatches = 0;

  // Runs program in a fresh case folder that holds only input; through
  // runner, with the folder spelled as Windows spells it, when one is given.
  Outcome RunOnce(const std::string& program, const std::vector<std::string>& runner,
                  const std::string& input, const std::vector<std::string>& options,
                  const Mode& mode) const {
    const fs::path cases = folder / "case";
    fs::remove_all(cases);
    fs::create_directories(cases);
    WriteBytes(cases / "in.vem", input);
    const std::string shown = runner.empty() ? cases.string() : WindowsSpelling(cases.string());
    std::vector<std::string> arguments = runner;
    arguments.push_back(program);
    const std::vector<std::string> rest = mode.arguments(options, shown);
    arguments.insert(arguments.end(), rest.begin(), rest.end());
    const std::string out = (folder / "stdout").string();
    const std::string err = (folder / "stderr").string();
    Outcome outcome;
    const std::string in = mode.reads_input ? (cases / "in.vem").string() : "/dev/null";
    outcome.run = RunProcess(arguments, ChildStreams{in, out, err}, ProcessLimits{600, 0});
    outcome.output = ReadBytes(out);
    outcome.error = ReadBytes(err);
    if (!runner.empty()) {
      // The names in the console text as this system spells them: the
      // folder, and the separator after it.
      for (std::string* text : {&outcome.output, &outcome.error}) {
        *text =
            Replaced(Replaced(*text, shown + "\\", cases.string() + "/"), shown, cases.string());
      }
    }
    for (const auto& entry : fs::recursive_directory_iterator(cases)) {
      if (entry.is_regular_file()) {
        outcome.files[fs::relative(entry.path(), cases).string()] = ReadBytes(entry.path());
      }
    }
    return outcome;
  }

  void Compare(const Input& input, const std::string& bytes,
               const std::vector<std::string>& options, const Mode& mode) {
    const Outcome old_outcome = RunOnce(old_program, {}, bytes, options, mode);
    const Outcome new_outcome = RunOnce(new_program, new_runner, bytes, options, mode);
    ++runs;
    if (old_outcome.SameAs(new_outcome)) return;
    if (++mismatches > most) return;
    const fs::path kept = folder / ("mismatch-" + std::to_string(mismatches));
    fs::create_directories(kept);
    WriteBytes(kept / "in.vem", bytes);
    KeepOutcome(kept / "old", old_outcome);
    KeepOutcome(kept / "new", new_outcome);
    std::cout << "MISMATCH " << input.name << " [" << Joined(options) << "] " << mode.name
              << ": status " << old_outcome.run.exit_status << "/" << old_outcome.run.signal
              << " against " << new_outcome.run.exit_status << "/" << new_outcome.run.signal
              << (old_outcome.output == new_outcome.output ? "" : ", standard output differs")
              << (old_outcome.error == new_outcome.error ? "" : ", standard error differs")
              << (old_outcome.files == new_outcome.files ? "" : ", files differ")
              << "; input kept in " << kept.string() << "\n";
  }
};

std::vector<Input> SmallInputs(const fs::path& source, std::uint64_t programs,
                               std::uint64_t corpus) {
  std::vector<Input> inputs;
  for (const char* folder : {"examples", "fuzz/corpus"}) {
    std::vector<fs::path> files;
    for (const auto& entry : fs::recursive_directory_iterator(source / folder)) {
      if (entry.is_regular_file()) files.push_back(entry.path());
    }
    std::sort(files.begin(), files.end());
    if (folder != std::string_view("examples") && files.size() > corpus) files.resize(corpus);
    for (const fs::path& file : files) {
      inputs.push_back({fs::relative(file, source).string(), [file] { return ReadBytes(file); }});
    }
  }
  inputs.push_back({"empty-lines", [] { return EmptyLines(1000); }});
  inputs.push_back({"colon-line", [] { return ColonPairsLine(10000); }});
  inputs.push_back({"nested-while", [] { return NestedWhileBlocks(100); }});
  inputs.push_back({"case-line", [] { return CaseBlocksOnOneLine(1000); }});
  inputs.push_back({"markers", [] { return MarkersOnly(10000); }});
  inputs.push_back({"comment", [] { return OneBlockComment(100000); }});
  inputs.push_back({"no-blanks", [] { return LineWithoutBlanks(100000); }});
  for (std::uint64_t seed = 1; seed <= programs; ++seed) {
    inputs.push_back(
        {"program " + std::to_string(seed), [seed] { return GenerateProgramOfKind(seed); }});
  }
  return inputs;
}

constexpr std::string_view kUsage =
    "usage: compare_builds --old=PATH --new=PATH [--new-runner=COMMAND,...]\n"
    "                      [--programs=N] [--corpus=N] [--large=FILE,...]\n"
    "                      [--also=OPTION,...] [--dir=PATH] [--most=N]\n"
    "Runs two builds of the formatter on the same inputs and reports every\n"
    "difference in the files, output, messages and exit status they leave.\n"
    "  --old, --new  the two programs (both needed)\n"
    "  --new-runner  the command a Windows build given as --new runs through\n"
    "                (wine); its file names are spelled Z:\\...\n"
    "  --programs    generated programs of every kind (1000)\n"
    "  --corpus      files of the fuzz corpus, from the first (all)\n"
    "  --large       files formatted under every option set as well\n"
    "  --also        options each added to every option set in turn\n"
    "  --dir         where the runs' files go (/dev/shm)\n"
    "  --most        mismatches printed in full (10)\n"
    "Exits 0 when none differ, 1 when any does, 2 when the comparison fails.\n";

int Run(const std::vector<std::string>& arguments) {
  Comparison comparison;
  std::uint64_t programs = 1000;
  std::uint64_t corpus = UINT64_MAX;
  std::vector<std::string> large;
  std::vector<std::string> also;
  fs::path parent = fs::is_directory("/dev/shm") ? fs::path("/dev/shm") : fs::temp_directory_path();
  for (const std::string& argument : arguments) {
    const std::size_t equals = argument.find('=');
    const std::string name = argument.substr(0, equals);
    const std::string value = equals == std::string::npos ? "" : argument.substr(equals + 1);
    if (name == "--help") {
      std::cout << kUsage;
      return 0;
    } else if (name == "--old") {
      comparison.old_program = value;
    } else if (name == "--new") {
      comparison.new_program = value;
    } else if (name == "--new-runner") {
      comparison.new_runner = SplitList(value);
    } else if (name == "--programs") {
      programs = ParseCount(name, value);
    } else if (name == "--corpus") {
      corpus = ParseCount(name, value);
    } else if (name == "--large") {
      large = SplitList(value);
    } else if (name == "--also") {
      also = SplitList(value);
    } else if (name == "--dir") {
      parent = value;
    } else if (name == "--most") {
      comparison.most = ParseCount(name, value);
    } else {
      throw Exception("unknown option '" + argument + "'\n" + std::string(kUsage));
    }
  }
  if (comparison.old_program.empty() || comparison.new_program.empty()) {
    throw Exception("both --old and --new are needed\n" + std::string(kUsage));
  }
  comparison.folder = parent / ("vemra-compare-" + std::to_string(getpid()));
  fs::create_directories(comparison.folder);

  const std::vector<std::vector<std::string>> option_sets = AllOptionSets(also);
  const std::vector<Input> inputs = SmallInputs(VEMRA_SOURCE_DIR, programs, corpus);
  // Examples meet every mode under every option set; the other inputs,
  // too many for that, meet the modes in turn, each of them every option set.
  std::size_t turn = 0;
  for (const Input& input : inputs) {
    const std::string bytes = input.bytes();
    const bool every_mode = input.name.starts_with("examples/");
    for (const auto& options : option_sets) {
      for (std::size_t m = 0; m < std::size(kModes); ++m) {
        if (every_mode || m == turn % std::size(kModes)) {
          comparison.Compare(input, bytes, options, kModes[m]);
        }
      }
      ++turn;
    }
  }
  for (const std::string& path : large) {
    const Input input{path, [path] { return ReadBytes(path); }};
    const std::string bytes = input.bytes();
    for (const auto& options : option_sets) {
      comparison.Compare(input, bytes, options, kModes[kToOutput]);
    }
  }
  std::cout << comparison.runs << " runs compared, " << comparison.mismatches << " differ\n";
  if (comparison.mismatches == 0) fs::remove_all(comparison.folder);
  return comparison.mismatches == 0 ? 0 : 1;
}

}  // namespace
}  // namespace vemra

int main(int argc, char** argv) {
  try {
    return vemra::Run(std::vector<std::string>(argv + 1, argv + argc));
  } catch (const std::exception& failure) {
    std::cerr << "compare_builds: " << failure.what() << '\n';
    return 2;
  }
}
