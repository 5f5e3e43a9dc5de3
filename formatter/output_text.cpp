#include "formatter/output_text.h"

#include <cstring>

#include "formatter/text_size_limit.h"

namespace vemra {
namespace {

// Only comments, literals, brace groups and angle-quoted runs can hold a
// line break; any other token is at most a lone CR or LF.
bool HoldsLineBreak(std::string_view token) {
  const unsigned char first = static_cast<unsigned char>(token[0]);
  if (first != '/' && first != '\'' && first != '"' && first != '{' && first != 0x8B) {
    return first == '\r' || first == '\n';
  }
  return std::memchr(token.data(), '\n', token.size()) != nullptr ||
         std::memchr(token.data(), '\r', token.size()) != nullptr;
}

}  // namespace

OutputText::OutputText(std::string_view preamble, std::int64_t bytes_per_tab)
    : committed_(preamble),
      preamble_size_(preamble.size()),
      bytes_per_tab_(bytes_per_tab),
      finished_size_(static_cast<std::int64_t>(preamble.size())) {}

char OutputText::LastByte() const {
  if (!line_.empty()) return line_.back();
  if (indent_ > 0) return '\t';
  return committed_.back();
}

void OutputText::Append(std::string_view token) {
  if (token == "\n") {
    line_.push_back('\n');
    CommitLine();
    return;
  }
  if (!line_holds_break_ && HoldsLineBreak(token)) line_holds_break_ = true;
  line_.append(token);
}

void OutputText::AppendIndentation(std::int32_t count) {
  if (count <= 0) return;
  if (line_.empty()) {
    indent_ += count;
  } else {
    CheckTextSize(static_cast<std::int64_t>(line_.size()) + count);
    line_.append(static_cast<std::size_t>(count), '\t');
  }
}

void OutputText::DeleteLastIf(char c) {
  if (Empty() || LastByte() != c) return;
  if (!line_.empty()) {
    line_.pop_back();
  } else {
    --indent_;  // committed_ ends in LF, so the byte is an indentation TAB
  }
}

void OutputText::DeleteTrailingBlanks() {
  while (!line_.empty() && (line_.back() == ' ' || line_.back() == '\t')) line_.pop_back();
  if (line_.empty()) indent_ = 0;
}

void OutputText::DropIndentationTab() {
  if (!line_holds_break_ && indent_ > 0) --indent_;
}

// Moves the current line, indentation included, into the committed text,
// after checking that neither the text nor its finished form passes the
// size limit.
void OutputText::CommitLine() {
  const auto line_size = static_cast<std::int64_t>(line_.size());
  CheckTextSize(static_cast<std::int64_t>(committed_.size()) + indent_ + line_size);
  const std::int64_t finished = finished_size_ + indent_ * bytes_per_tab_ + line_size;
  CheckTextSize(finished);
  committed_.append(static_cast<std::size_t>(indent_), '\t');
  committed_.append(line_);
  finished_size_ = finished;
  indent_ = 0;
  line_.clear();
  line_holds_break_ = false;
}

std::string OutputText::Take() {
  CommitLine();
  preamble_size_ = 0;
  return std::move(committed_);
}

}  // namespace vemra
