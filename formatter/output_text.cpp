#include "formatter/output_text.h"

#include <algorithm>

#include "formatter/text_size_limit.h"

namespace vemra {

OutputText::OutputText(std::string_view preamble, IndentUnit unit, std::size_t expected_size,
                       std::int64_t finished_indent_limit, std::string_view source)
    : committed_(preamble),
      preamble_size_(preamble.size()),
      unit_(unit),
      finished_indent_limit_(finished_indent_limit),
      finished_size_(static_cast<std::int64_t>(preamble.size())) {
  // Memory that is reserved but never written costs no pages, so a generous
  // reservation spares the copies of repeated growth.
  committed_.reserve(std::min<std::size_t>(expected_size, kMaxTextSize));
  source_start_ = reinterpret_cast<std::uintptr_t>(source.data());
  if (source.size() >= LineBuffer::kWideCopy) {
    source_wide_starts_ = source.size() - LineBuffer::kWideCopy + 1;
  }
}

void OutputText::AppendIndentation(std::int32_t count) {
  if (count <= 0) return;
  if (line_.empty()) {
    indent_ += count;
  } else {
    CheckTextSize(static_cast<std::int64_t>(line_.size()) + count);
    line_.AppendRepeated(static_cast<std::size_t>(count), '\t');
  }
}

void OutputText::DeleteTrailingBlanks() {
  while (!line_.empty() && (line_.back() == ' ' || line_.back() == '\t')) line_.pop_back();
  if (line_.empty()) indent_ = 0;
}

// Moves the current line, indentation included, into the committed text,
// after checking that neither the text nor its finished form passes the
// size limit.
void OutputText::CommitLine() {
  const auto line_size = static_cast<std::int64_t>(line_.size());
  const std::int64_t finished_indentation = indent_ * unit_.width;
  const bool write_finished =
      static_cast<std::int64_t>(committed_.size()) + finished_indentation <= finished_indent_limit_;
  const std::int64_t indentation = write_finished ? finished_indentation : indent_;
  CheckTextSize(static_cast<std::int64_t>(committed_.size()) + indentation + line_size);
  CheckTextSize(finished_size_ + finished_indentation + line_size);
  committed_.append(static_cast<std::size_t>(indentation), write_finished ? unit_.byte : '\t');
  committed_.append(line_.data(), line_.size());
  finished_size_ += finished_indentation + line_size;
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
