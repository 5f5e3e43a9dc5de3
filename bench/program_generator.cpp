#include "bench/program_generator.h"

#include "bench/program_builder.h"

namespace vemra {

std::string GenerateProgram(std::uint64_t seed, std::size_t approximate_bytes) {
  return ProgramBuilder(seed, approximate_bytes).Build();
}

}  // namespace vemra
