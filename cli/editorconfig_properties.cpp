#include "cli/editorconfig_properties.h"

#include <editorconfig/editorconfig.h>

#include <cstdint>
#include <fstream>
#include <memory>
#include <new>
#include <string>
#include <type_traits>

#include "base/failures.h"
#include "textutil/quote_name.h"

namespace vemra {

namespace {

struct HandleDestroyer {
  void operator()(void* handle) const { editorconfig_handle_destroy(handle); }
};
using Handle = std::unique_ptr<std::remove_pointer_t<editorconfig_handle>, HandleDestroyer>;

// The library reads a settings file into a buffer of 5,000 bytes, and
// counts each read as a line: a line of more than 4,999 bytes, its LF
// included, is read, and counted, in pieces of 4,999 bytes, and the line
// numbers it gives after it are too large by as many pieces. This is the file's own number of
// the line in which the library's line numbered library_line begins, found
// by reading the file as the library does; library_line itself when the file
// no longer reaches that far.
std::int64_t FileLineOf(const char* file, std::int64_t library_line) {
  constexpr std::size_t kPieceBytes = 4999;
  std::ifstream in(file, std::ios::binary);
  std::int64_t line = 1;     // the file's own line
  std::int64_t counted = 1;  // the library's number for the piece being read
  std::size_t piece = 0;     // bytes of that piece read so far
  char buffer[1 << 16];
  while (in.read(buffer, sizeof buffer) || in.gcount() > 0) {
    for (std::streamsize i = 0; i < in.gcount(); ++i) {
      if (counted == library_line) return line;
      ++piece;
      if (buffer[i] == '\n') {
        ++line;
        ++counted;
        piece = 0;
      } else if (piece == kPieceBytes) {
        ++counted;
        piece = 0;
      }
    }
  }
  return counted == library_line ? line : library_line;
}

// What a failed parse of the settings for full_path means for the user.
ESettingsError ParseFailure(int status, const Handle& handle, const std::string& full_path) {
  const char* const file = editorconfig_handle_get_err_file(handle.get());
  if (status > 0 && file != nullptr) {
    return ESettingsError("Cannot parse settings file \"" + EscapedName(file) + "\": line " +
                          std::to_string(FileLineOf(file, status)) + " is not valid");
  }
  const char* const reason = editorconfig_get_error_msg(status);
  return ESettingsError("Cannot read the settings for \"" + EscapedName(full_path) +
                        "\": " + (reason != nullptr ? reason : "unknown fault"));
}

}  // namespace

std::vector<EditorConfigProperty> EditorConfigProperties(const std::string& full_path) {
  const Handle handle(editorconfig_handle_init());
  if (!handle) throw std::bad_alloc();
  const int status = editorconfig_parse(full_path.c_str(), handle.get());
  if (status != 0) throw ParseFailure(status, handle, full_path);
  const int count = editorconfig_handle_get_name_value_count(handle.get());
  std::vector<EditorConfigProperty> properties;
  properties.reserve(static_cast<std::size_t>(count));
  for (int i = 0; i < count; ++i) {
    const char* name = nullptr;
    const char* value = nullptr;
    editorconfig_handle_get_name_value(handle.get(), i, &name, &value);
    if (name != nullptr && value != nullptr) properties.push_back({name, value});
  }
  return properties;
}

}  // namespace vemra

#if defined(__SANITIZE_ADDRESS__)
// The library does not free what it allocated for a settings file it could
// not parse (a few hundred bytes a failed input): not a leak of this
// program's, and out of its reach.
extern "C" const char* __lsan_default_suppressions() {
  return "leak:libeditorconfig.so\n";
}
#endif
