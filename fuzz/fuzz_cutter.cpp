// Cuts arbitrary bytes with the table cutter and with the plain rules, and
// fails on the first token where they differ. The first byte chooses how
// the table cutter walks the text (lanes, their shortest length, stretch
// and room), so that guessed lane starts and stretch ends fall anywhere;
// the text lies in a buffer of its exact size, so that AddressSanitizer
// reports any read past its end.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "fuzz/cut_comparison.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const unsigned choice = data[0];
  const vemra::CutterShape shape{1 + choice % 4, 1 + (choice >> 2) % 8,
                                 (choice & 0x80) ? 64 * 1024 : 1 + (choice >> 2) % 61};
  const std::size_t room = 2 + (choice >> 3) % 5;
  const auto buffer = std::make_unique<char[]>(size - 1);
  std::copy(data + 1, data + size, buffer.get());
  const std::string difference =
      vemra::CompareWithPlainCut(std::string_view(buffer.get(), size - 1), shape, room);
  if (!difference.empty()) {
    std::fprintf(stderr, "table cutter differs: %s\n", difference.c_str());
    std::abort();
  }
  return 0;
}
