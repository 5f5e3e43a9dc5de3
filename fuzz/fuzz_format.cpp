// Formats arbitrary bytes and checks the promises of every run. The first two
// bytes choose the options (the second's lowest three bits: TABs kept, empty
// lines collapsed, LF line ends); the rest is the file.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>

#include "fuzz/format_invariants.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 2) return 0;
  vemra::FormatOptions options;
  options.TabWidth = static_cast<std::int32_t>(data[0] % 10) - 1;  // -1 to 8
  options.UseTabs = (data[1] & 1) != 0;
  options.CollapseBlankLines = (data[1] & 2) != 0;
  options.line_ending = (data[1] & 4) != 0 ? vemra::LineEnding::kLf : vemra::LineEnding::kCrLf;
  const std::string_view file(reinterpret_cast<const char*>(data + 2), size - 2);
  const std::string fault = vemra::CheckFormatInvariants(file, options);
  if (!fault.empty()) {
    std::fprintf(stderr, "broken promise: %s (tabwidth=%d tabs=%d collapse=%d lf=%d)\n",
                 fault.c_str(), options.TabWidth, options.UseTabs, options.CollapseBlankLines,
                 options.line_ending == vemra::LineEnding::kLf);
    std::abort();
  }
  return 0;
}
