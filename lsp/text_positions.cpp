#include "lsp/text_positions.h"

#include <algorithm>

namespace vemra::lsp {

namespace {

// The bytes of the UTF-8 sequence its lead byte begins; a byte that begins
// no whole sequence counts as one, as a code unit of its own, so that a
// line end is never taken into a character.
std::size_t LeadLength(unsigned char lead) {
  if (lead >= 0xF0 && lead <= 0xF7) return 4;
  if (lead >= 0xE0) return lead <= 0xEF ? 3 : 1;
  if (lead >= 0xC0) return 2;
  return 1;
}

std::size_t SequenceLength(std::string_view text, std::size_t offset) {
  const std::size_t length = LeadLength(static_cast<unsigned char>(text[offset]));
  if (offset + length > text.size()) return 1;
  for (std::size_t i = 1; i < length; ++i) {
    if ((static_cast<unsigned char>(text[offset + i]) & 0xC0) != 0x80) return 1;
  }
  return length;
}

// The UTF-16 code units a sequence of that many bytes stands for.
std::size_t Utf16Units(std::size_t sequence_length) {
  return sequence_length == 4 ? 2 : 1;
}

bool IsLineEnd(char c) {
  return c == '\n' || c == '\r';
}

}  // namespace

LineIndex::LineIndex(std::string_view text) : text_(text) {
  starts_.push_back(0);
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (!IsLineEnd(text[i])) continue;
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    starts_.push_back(i + 1);
  }
}

std::size_t LineIndex::LineStart(std::size_t line) const {
  return line < starts_.size() ? starts_[line] : text_.size();
}

std::size_t LineIndex::OffsetOf(Position position, PositionEncoding encoding) const {
  if (position.line >= starts_.size()) return text_.size();
  std::size_t offset = starts_[position.line];
  std::size_t units = 0;
  while (offset < text_.size() && !IsLineEnd(text_[offset])) {
    const std::size_t length = SequenceLength(text_, offset);
    const std::size_t width = encoding == PositionEncoding::kUtf8 ? length : Utf16Units(length);
    if (units + width > position.character) break;
    units += width;
    offset += length;
  }
  return offset;
}

Position LineIndex::PositionOf(std::size_t offset, PositionEncoding encoding) const {
  offset = std::min(offset, text_.size());
  const auto after = std::upper_bound(starts_.begin(), starts_.end(), offset);
  const std::size_t line = static_cast<std::size_t>(after - starts_.begin()) - 1;
  if (encoding == PositionEncoding::kUtf8) return {line, offset - starts_[line]};
  std::size_t units = 0;
  for (std::size_t i = starts_[line]; i < offset;) {
    const std::size_t length = SequenceLength(text_, i);
    units += Utf16Units(length);
    i += length;
  }
  return {line, units};
}

}  // namespace vemra::lsp
