#include "bench/program_kinds.h"

#include <iterator>
#include <random>
#include <string_view>

#include "bench/program_generator.h"

namespace vemra {
namespace {

constexpr std::string_view kUnsettlingLines[] = {
    "read #id\r\n",
    "write x #id #id\r\n",
    "read x // a$ \r\n",
    "write x \"n% \r\n",
    "x = 1 #id\r\n",
    "if a #id #id\r\n",
    "read \x01\r\n",
    "y = '#id\r\n",
    "/* c\r\n",
    "{ a\r\n",
    "'s\r\n",
    "proc P()\r\n",
    "case y\r\n",
    "x\r",
    "z\n",
    "  \t\r\n",
    "\r\n\r\n\r\n",
    // Regions left as they stood, and words that look like their markers.
    "// vemrafmt: off\r\n",
    "  //VemraFmt: ON \t\r\n",
    "//\tvemrafmt:\toff\r\n",
    "x = 1 // vemrafmt: on\n",
    "/* vemrafmt: off */\r\n",
};

}  // namespace

std::string GenerateProgramOfKind(std::uint64_t seed) {
  std::mt19937_64 random(seed);
  std::string program = GenerateProgram(seed, 200 + seed * 37 % 4000);
  if (seed % 3 == 0) return program;
  if (seed % 3 == 1) return program.substr(0, random() % (program.size() + 1));
  std::string mixed;
  for (std::size_t at = 0; at < program.size();) {
    const std::size_t line_end = program.find('\n', at + random() % 200);
    const std::size_t next = line_end == std::string::npos ? program.size() : line_end + 1;
    mixed.append(program, at, next - at);
    mixed += kUnsettlingLines[random() % std::size(kUnsettlingLines)];
    at = next;
  }
  return mixed;
}

}  // namespace vemra
