// Whole programs: every examples/NAME.vem formats, with the default options,
// to examples/NAME.formatted.vem, and formatting that file again changes no
// byte. With VEMRA_UPDATE_GOLDEN=1 the expected files are rewritten instead;
// review every change to them before keeping it.
#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "tests/formatter/layout_cases.h"

namespace vemra {
namespace {

namespace fs = std::filesystem;

constexpr std::string_view kFormattedSuffix = ".formatted.vem";

std::vector<fs::path> ExampleSources() {
  std::vector<fs::path> sources;
  for (const auto& entry : fs::directory_iterator(fs::path(VEMRA_SOURCE_DIR) / "examples")) {
    const std::string name = entry.path().filename().string();
    if (name.ends_with(".vem") && !name.ends_with(kFormattedSuffix))
      sources.push_back(entry.path());
  }
  std::sort(sources.begin(), sources.end());
  return sources;
}

fs::path FormattedPath(const fs::path& source) {
  return source.parent_path() / (source.stem().string() + std::string(kFormattedSuffix));
}

std::string ReadBytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

// The text the program would save for the file, with the default options.
std::string FormatFile(const fs::path& path) {
  TStringList list;
  list.LoadFile(path.string());
  FormatSource(list, 2, false, true);
  return list.ReadText();
}

bool UpdatingGolden() {
  const char* update = std::getenv("VEMRA_UPDATE_GOLDEN");
  return update != nullptr && std::string_view(update) == "1";
}

TEST(Golden, ExamplesFormatToTheirExpectedFiles) {
  const std::vector<fs::path> sources = ExampleSources();
  ASSERT_FALSE(sources.empty());
  ASSERT_TRUE(
      std::ranges::any_of(sources, [](const fs::path& p) { return p.filename() == "sample.vem"; }));
  for (const fs::path& source : sources) {
    const std::string formatted = FormatFile(source);
    if (UpdatingGolden()) {
      std::ofstream(FormattedPath(source), std::ios::binary) << formatted;
      continue;
    }
    EXPECT_EQ(formatted, ReadBytes(FormattedPath(source))) << source;
  }
}

TEST(Golden, ExpectedFilesAreAlreadyFormatted) {
  for (const fs::path& source : ExampleSources()) {
    const fs::path expected = FormattedPath(source);
    EXPECT_EQ(FormatFile(expected), ReadBytes(expected)) << expected;
  }
}

TEST(Golden, LayoutKeepsEveryTokenOfTheExamples) {
  for (const fs::path& source : ExampleSources()) {
    TStringList list;
    list.LoadFile(source.string());
    const std::string text = list.ReadText();
    const std::string laid_out = LayoutPass(text);
    EXPECT_EQ(FinishedTokens(laid_out), FinishedTokens(text)) << source;
  }
}

}  // namespace
}  // namespace vemra
