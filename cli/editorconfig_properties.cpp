#include "cli/editorconfig_properties.h"

#include <editorconfig/editorconfig.h>

#include <cstdint>
#include <fstream>
#include <memory>
#include <new>
#include <optional>
#include <string>
#include <string_view>
#include <type_traits>

#include "base/conversions.h"
#include "base/failures.h"
#include "base/path_parts.h"
#include "textutil/quote_name.h"

namespace vemra {

namespace {

struct HandleDestroyer {
  void operator()(void* handle) const { editorconfig_handle_destroy(handle); }
};
using Handle = std::unique_ptr<std::remove_pointer_t<editorconfig_handle>, HandleDestroyer>;

// The library reads a settings file with fgets into a buffer of 5,000
// bytes, and counts each read as a line: a line of more than 4,999 bytes,
// its LF included, is read, and counted, in pieces of 4,999 bytes, and the
// line numbers it gives after it are too large by as many pieces. This
// reads a file in the same pieces, with the file's own number of the line
// in which each begins.
class LibraryLines {
 public:
  explicit LibraryLines(const std::string& file) : in_(file, std::ios::binary) {}

  // The next piece, as the library's fgets gives it; false at the end.
  bool Next(std::string& piece) {
    constexpr std::size_t kPieceBytes = 4999;
    piece.clear();
    number_ = next_number_;
    line_ = next_line_;
    char byte = 0;
    while (piece.size() < kPieceBytes && in_.get(byte)) {
      piece += byte;
      if (byte == '\n') break;
    }
    if (piece.empty()) return false;
    ++next_number_;
    if (piece.back() == '\n') ++next_line_;
    return true;
  }

  std::int64_t Number() const { return number_; }  // the library's number of the last piece
  std::int64_t Line() const { return line_; }      // the file's line in which it begins
  std::int64_t NextNumber() const { return next_number_; }
  std::int64_t NextLine() const { return next_line_; }

 private:
  std::ifstream in_;
  std::int64_t number_ = 0;
  std::int64_t line_ = 0;
  std::int64_t next_number_ = 1;
  std::int64_t next_line_ = 1;
};

// The file's own number of the line in which the library's line numbered
// library_line begins; library_line itself when the file no longer reaches
// that far.
std::int64_t FileLineOf(const std::string& file, std::int64_t library_line) {
  LibraryLines lines(file);
  std::string piece;
  while (lines.Next(piece)) {
    if (lines.Number() == library_line) return lines.Line();
  }
  return lines.NextNumber() == library_line ? lines.NextLine() : library_line;
}

// The blanks of the C locale, as the library's parser skips them.
bool IsBlank(char byte) {
  return byte == ' ' || (byte >= '\t' && byte <= '\r');
}

std::string_view Trimmed(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

// Where text ends for the parser: at its first byte that is one of stops,
// or at a ";" or "#" after a blank, which begins a comment.
std::size_t EndBefore(std::string_view text, std::string_view stops) {
  bool after_blank = false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (stops.find(text[i]) != std::string_view::npos) return i;
    if (after_blank && (text[i] == ';' || text[i] == '#')) return i;
    after_blank = IsBlank(text[i]);
  }
  return text.size();
}

// A "name = value" (or "name : value") line as the library's parser reads
// it: the name and value trimmed, the value cut at a comment.
struct Assignment {
  std::string_view name;
  std::string_view value;
};

// The assignment a piece holds; none for blank, comment and section lines.
// section_seen is set at a section line.
std::optional<Assignment> AssignmentIn(std::string_view piece, bool& section_seen) {
  piece = Trimmed(piece.substr(0, piece.find('\0')));
  if (piece.empty() || piece.front() == ';' || piece.front() == '#') return std::nullopt;
  if (piece.front() == '[') {
    // The library takes the last "]" before a comment; a line without one
    // is an error it reports itself.
    if (piece.find(']') != std::string_view::npos) section_seen = true;
    return std::nullopt;
  }
  std::size_t end = EndBefore(piece, "=");
  if (end == piece.size() || piece[end] != '=') end = EndBefore(piece, ":");
  if (end == piece.size()) return std::nullopt;
  std::string_view value = Trimmed(piece.substr(end + 1));
  value = Trimmed(value.substr(0, EndBefore(value, {})));
  return Assignment{Trimmed(piece.substr(0, end)), value};
}

bool SameLetters(std::string_view a, std::string_view b) {
  return LowerAscii(a) == LowerAscii(b);
}

// The file's number of the last line of file that sets name to value in a
// section; 0 when none does. Sets root when the file says "root = true"
// before its first section.
std::int64_t LastLineSetting(const std::string& file, std::string_view name, std::string_view value,
                             bool& root) {
  LibraryLines lines(file);
  std::string piece;
  bool section_seen = false;
  std::int64_t found = 0;
  while (lines.Next(piece)) {
    std::string_view text = piece;
    // The library passes over a UTF-8 byte order mark at the start.
    if (lines.Number() == 1 && text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);
    const std::optional<Assignment> assignment = AssignmentIn(text, section_seen);
    if (!assignment) continue;
    if (!section_seen) {
      root =
          root || (SameLetters(assignment->name, "root") && SameLetters(assignment->value, "true"));
    } else if (SameLetters(assignment->name, name) && assignment->value == value) {
      found = lines.Line();
    }
  }
  return found;
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

SettingsLine LineSetting(const std::string& nearest_file, std::string_view name,
                         std::string_view value) {
  std::string folder = FolderOf(nearest_file);
  for (;;) {
    const std::string file = JoinPath(folder, NameOf(nearest_file));
    bool root = false;
    if (const std::int64_t line = LastLineSetting(file, name, value, root); line > 0) {
      return {file, line};
    }
    if (root || IsRootFolder(folder) || FolderOf(folder) == folder) return {nearest_file, 0};
    folder = FolderOf(folder);
  }
}

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
