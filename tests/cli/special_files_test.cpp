// A name that is no regular file (a pipe, a socket, a device, a folder),
// given as a run's input or output: refused at once in every mode, without
// waiting for a pipe's other end nor reading a device that never ends.
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <string>
#include <vector>

#include "tests/cli/run_helpers.h"

namespace vemra {
namespace {

using testing::FolderWithInput;
using testing::RunResult;
using testing::RunWithStreams;

// Each run takes milliseconds; a run that waits for a pipe waits for ever.
constexpr std::chrono::seconds kNoHang{1};

enum class Kind { kPipe, kSocket, kDevice, kFolder };

// Makes a name of that kind in the folder (a device is the system's own).
std::string Make(Kind kind, const testing::TestFolder& folder, bool as_output) {
  const std::string path = folder / "special.vem";
  switch (kind) {
    case Kind::kPipe:
      mkfifo(path.c_str(), 0600);
      return path;
    case Kind::kSocket: {
      sockaddr_un address{};
      address.sun_family = AF_UNIX;
      std::strncpy(address.sun_path, path.c_str(), sizeof address.sun_path - 1);
      const int fd = socket(AF_UNIX, SOCK_STREAM, 0);
      bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address);
      close(fd);  // the name stays
      return path;
    }
    case Kind::kDevice:
      return as_output ? "/dev/null" : "/dev/zero";
    case Kind::kFolder:
      mkdir(path.c_str(), 0755);
      return path;
  }
  return path;
}

struct SpecialCase {
  Kind kind;
  std::vector<std::string> options;  // the mode
  bool as_output;                    // else as the input
};

TEST(SpecialFiles, ANameThatIsNoRegularFileIsRefusedAtOnceInEveryMode) {
  std::vector<SpecialCase> cases;
  for (const Kind kind : {Kind::kPipe, Kind::kSocket, Kind::kDevice, Kind::kFolder}) {
    cases.push_back({kind, {}, true});
    for (const std::vector<std::string>& mode :
         std::vector<std::vector<std::string>>{{}, {"-check=1"}, {"-stdout=1"}, {"-files=1"}}) {
      // With -files=1 a folder is walked rather than read.
      if (kind != Kind::kFolder || mode != std::vector<std::string>{"-files=1"}) {
        cases.push_back({kind, mode, false});
      }
    }
  }
  for (const SpecialCase& c : cases) {
    const FolderWithInput scene;
    const testing::TestFolder elsewhere;
    const std::string special = Make(c.kind, elsewhere, c.as_output);
    std::vector<std::string> arguments = c.options;
    if (c.as_output) arguments.push_back(scene.input);
    arguments.push_back(special);
    std::string label = special + " as " + (c.as_output ? "output" : "input") + ",";
    for (const std::string& option : c.options) label += " " + option;

    const RunResult run = RunWithStreams(arguments, "", testing::OutputTo::kCapture, kNoHang);
    ASSERT_NE(run.status, testing::kHung) << label << ": still waiting after a second";
    EXPECT_EQ(run.status, 2) << label;
    const std::string message =
        std::string(c.as_output ? "Cannot create file \"" : "Cannot open file \"") + special +
        "\". It is not a regular file\n";
    EXPECT_NE((run.console + run.errors).find(message), std::string::npos)
        << label << "\n"
        << run.console << run.errors;
    EXPECT_TRUE(scene.Untouched()) << label;
  }
}

}  // namespace
}  // namespace vemra
