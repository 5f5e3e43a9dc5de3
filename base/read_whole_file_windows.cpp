#include "base/read_whole_file.h"

#include "base/failures.h"
#include "base/file_failures.h"

namespace vemra {

// Placeholder until the Windows load is built.
std::string ReadWholeFile(const std::string& file_name, LoadedFile&) {
  throw OpenFailure(file_name, "Loading is not built for Windows yet");
}

std::string ReadStandardInput(int) {
  throw EReadError("Stream read error. Cannot read standard input. Not built for Windows yet");
}

}  // namespace vemra
