// Runs of the program for tests: in-process through the driver, or as the
// built program in a child process, with what it printed and its status.
#pragma once

#include <chrono>
#include <cstdio>
#include <set>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "cli/driver.h"
#include "tests/base/test_folder.h"
#include "tests/support/child_process.h"
#include "tests/support/test_system.h"

namespace vemra::testing {

inline const std::string kBanner =
    "Vemra Code Formatter\n"
    "Written by the Vemra Code Formatter developers\n"
    "https://vemra.org/formatter\n"
    "\n";

// A small program formatted already, and the same program unformatted.
inline const std::string kFormatted = "proc A()\r\n  x = 1\r\nend\r\n";
inline const std::string kUnformatted = "proc A()\nx=1\n    end\n";

struct RunResult {
  int status;
  std::string console;  // standard output
  std::string errors;   // standard error
};

// Runs the driver in this process, with input as its standard input; with
// terminals, as if its standard output and error led to terminals.
inline RunResult RunDriver(const std::vector<std::string>& arguments, const std::string& input = "",
                           bool terminals = false) {
  std::FILE* const in = NewTemporaryFile();
  std::fwrite(input.data(), 1, input.size(), in);
  std::fflush(in);
  std::rewind(in);
  std::ostringstream out;
  std::ostringstream err;
  const int status = RunCommandLine(arguments, {fileno(in), out, err, terminals, terminals});
  std::fclose(in);
  return {status, out.str(), err.str()};
}

// The bytes a one-file run saves for the given input, with the options.
inline std::string OneFileResult(const std::string& bytes, std::vector<std::string> options = {}) {
  TestFolder folder;
  const std::string path = folder / "one.vem";
  WriteBytes(path, bytes);
  options.push_back(path);
  const RunResult run = RunDriver(options);
  EXPECT_EQ(run.status, kExitSuccess) << run.console;
  return ReadBytes(path);
}

// A file's bytes and modification time, to see that a run left it alone.
struct FileState {
  std::string bytes;
  FileTime modified;
  bool operator==(const FileState& other) const = default;
};

inline FileState StateOf(const std::string& path) {
  return {ReadBytes(path), ModifiedTime(path)};
}

// A test folder holding one file, in.vem, made old so that a write to it
// shows; for tables of command lines in which "@IN" stands for the file
// and "@DIR" for the folder.
class FolderWithInput {
 public:
  explicit FolderWithInput(const std::string& bytes = kUnformatted) {
    WriteBytes(input, bytes);
    MakeOld(input);
    before_ = StateOf(input);
  }

  // text with "@IN" and "@DIR" put in place.
  std::string Fill(std::string_view text) const {
    std::string filled;
    while (!text.empty()) {
      if (text.starts_with("@IN")) {
        filled += input;
        text.remove_prefix(3);
      } else if (text.starts_with("@DIR/")) {
        // A name in the folder, written as the system writes paths.
        filled += folder.Path() + PathSeparator();
        text.remove_prefix(5);
      } else if (text.starts_with("@DIR")) {
        filled += folder.Path();
        text.remove_prefix(4);
      } else {
        filled += text.front();
        text.remove_prefix(1);
      }
    }
    return filled;
  }
  std::vector<std::string> Fill(const std::vector<std::string>& arguments) const {
    std::vector<std::string> filled;
    for (const std::string& argument : arguments) filled.push_back(Fill(argument));
    return filled;
  }

  // Whether the file is as it was made, and the folder holds nothing else.
  bool Untouched() const {
    return StateOf(input) == before_ && folder.Names() == std::set<std::string>{"in.vem"};
  }

  const TestFolder folder;
  const std::string input = folder / "in.vem";

 private:
  FileState before_;
};

// The argument echo lines for these arguments.
inline std::string Echo(const std::vector<std::string>& arguments) {
  std::string lines;
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    lines += std::to_string(i + 1) + " : " + arguments[i] + "\n";
  }
  return lines;
}

// Runs a command line of the POSIX shell; what it printed and its exit
// status (-1 where there is no such shell: the test skips there first).
inline RunResult RunShellCommand(const std::string& command) {
  const ChildOutcome run = RunShellLine(command);
  return {run.status, run.output, run.errors};
}

// Runs the built program with arguments as a shell would split them (on
// Windows, as the program splits its command line).
inline RunResult RunProgram(const std::string& arguments) {
  const ChildOutcome run = RunProgramLine(VEMRA_BINARY, arguments);
  EXPECT_NE(run.status, kHung) << "killed, still running after " << kChildDeadline.count() << " s";
  return {run.status, run.output, run.errors};
}

// Runs the built program in a child process with input on its standard
// input (a file), its standard output as asked and its standard error
// captured; the status is -1 when a signal ended it, and kHung when it ran
// past a deadline (none when zero) and was killed: past the default one, a
// failure too. in_child, if given, runs in the child first (to give up
// rights or lower limits; POSIX only).
inline RunResult RunWithStreams(const std::vector<std::string>& arguments, const std::string& input,
                                OutputTo output = OutputTo::kCapture,
                                std::chrono::milliseconds deadline = kChildDeadline,
                                void (*in_child)() = nullptr) {
  const ChildOutcome run = RunChild(VEMRA_BINARY, arguments, input, output, deadline, in_child);
  if (deadline == kChildDeadline) {
    EXPECT_NE(run.status, kHung) << "killed, still running after " << kChildDeadline.count()
                                 << " s";
  }
  return {run.status, run.output, run.errors};
}

}  // namespace vemra::testing
