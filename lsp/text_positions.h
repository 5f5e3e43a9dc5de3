// Positions in a document as the protocol counts them: a line (0-based,
// lines end at CR LF, LF or CR) and a character offset in that line,
// counted in UTF-16 code units or in bytes, as the client and server
// agreed. The server keeps byte strings and converts at this edge only.
#pragma once

#include <cstddef>
#include <string_view>
#include <vector>

namespace vemra::lsp {

enum class PositionEncoding { kUtf16, kUtf8 };

struct Position {
  std::size_t line = 0;
  std::size_t character = 0;
  bool operator==(const Position&) const = default;
};

// The starts of a text's lines, to convert positions and byte offsets.
class LineIndex {
 public:
  explicit LineIndex(std::string_view text);

  std::size_t LineCount() const { return starts_.size(); }
  // The byte offset where a line starts; the text's size past the last line.
  std::size_t LineStart(std::size_t line) const;

  // The byte offset of a position. A line past the last stands for the end
  // of the text, a character past the end of its line for that end (before
  // the line end), and a character in the middle of a UTF-8 sequence (or of
  // a UTF-16 pair) for the start of that sequence.
  std::size_t OffsetOf(Position position, PositionEncoding encoding) const;
  // The position of a byte offset at the start of a line or of a character.
  Position PositionOf(std::size_t offset, PositionEncoding encoding) const;

 private:
  std::string_view text_;
  std::vector<std::size_t> starts_;
};

}  // namespace vemra::lsp
