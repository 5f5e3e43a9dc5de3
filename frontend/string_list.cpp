#include "frontend/string_list.h"

#include <cstring>
#include <limits>
#include <utility>

#include "frontend/conversions.h"
#include "frontend/failures.h"
#include "frontend/line_breaks.h"
#include "frontend/read_whole_file.h"
#include "frontend/safe_file_write.h"

namespace vemra {

namespace {

// Every store of the list, and every text it is given, stays below 2 GiB.
constexpr std::size_t kMaxStoreSize = std::numeric_limits<std::int32_t>::max();

void CheckTextSize(std::size_t size) {
  if (size > kMaxStoreSize) throw ETextTooLarge("Text too large");
}

}  // namespace

void TStringList::LoadFile(const std::string& file_name) {
  FileIdentity identity{};
  std::string bytes = ReadWholeFile(file_name, identity);
  AdoptText(std::move(bytes));
  loaded_from_ = identity;
}

void TStringList::SaveFile(const std::string& file_name) const {
  std::string holder;
  WriteFileSafely(file_name, JoinedText(holder), loaded_from_);
}

std::string_view TStringList::JoinedText(std::string& holder) const {
  if (text_is_joined_) return text_;
  holder = ReadText();
  return holder;
}

std::string TStringList::ReadText() const {
  EnsureSplit();
  std::size_t total = 0;
  for (const LineSpan span : spans_) total += span.length + 2;
  std::string text;
  text.resize(total);
  char* out = text.data();
  for (const LineSpan span : spans_) {
    const std::string_view line = ViewOf(span);
    std::memcpy(out, line.data(), line.size());
    out += line.size();
    *out++ = '\r';
    *out++ = '\n';
  }
  return text;
}

void TStringList::AssignText(std::string_view text) {
  AdoptText(std::string(text));
}

void TStringList::AdoptText(std::string text) {
  CheckTextSize(text.size());
  text_ = std::move(text);
  tail_.clear();
  spans_.clear();
  text_is_joined_ = SplitText();
  split_ = true;
}

void TStringList::AdoptJoinedText(std::string text) {
  CheckTextSize(text.size());
  text_ = std::move(text);
  tail_.clear();
  spans_.clear();
  text_is_joined_ = true;
  split_ = false;
}

void TStringList::EnsureSplit() const {
  if (split_) return;
  SplitText();
  split_ = true;
}

// Lines are views into text_, so splitting copies no line bytes. Returns
// whether every line ends in CR LF, the last one included: then text_ is
// already the joined text, and saving it needs no copy.
bool TStringList::SplitText() const {
  const char* const base = text_.data();
  const char* const end = base + text_.size();
  bool all_crlf = true;
  // Room for lines of 16 bytes on average spares the copies of repeated
  // growth for ordinary text; room reserved but never used costs no pages.
  spans_.reserve(text_.size() / 16);
  ForEachLine(text_, [this, base, end, &all_crlf](std::string_view line) {
    spans_.push_back(
        {static_cast<std::uint32_t>(line.data() - base), static_cast<std::uint32_t>(line.size())});
    const char* const line_end = line.data() + line.size();
    all_crlf = all_crlf && end - line_end >= 2 && line_end[0] == '\r' && line_end[1] == '\n';
  });
  return all_crlf;
}

void TStringList::MarkEdited() {
  text_is_joined_ = false;
}

std::string_view TStringList::ViewOf(LineSpan span) const {
  if ((span.start & kInTail) != 0) return {tail_.data() + (span.start & ~kInTail), span.length};
  return {text_.data() + span.start, span.length};
}

TStringList::LineSpan TStringList::StoreInTail(std::string_view line) {
  CheckTextSize(tail_.size() + line.size());
  const auto start = static_cast<std::uint32_t>(tail_.size());
  // append copes with line being a view into tail_ itself.
  tail_.append(line.data(), line.size());
  return {start | kInTail, static_cast<std::uint32_t>(line.size())};
}

void TStringList::CheckIndex(std::int32_t index) const {
  if (index < 0 || index >= LineCount()) {
    throw EStringListError("List index out of bounds (" + IntegerToText(index) + ")");
  }
}

std::int32_t TStringList::LineCount() const {
  EnsureSplit();
  return static_cast<std::int32_t>(spans_.size());
}

std::string TStringList::LineAt(std::int32_t index) const {
  return std::string(LineView(index));
}

std::string_view TStringList::LineView(std::int32_t index) const {
  CheckIndex(index);
  return ViewOf(spans_[static_cast<std::size_t>(index)]);
}

// A line that does not grow is rewritten where it stands (trimming every line
// after formatting costs no memory); a longer one moves to tail_.
void TStringList::ReplaceLine(std::int32_t index, std::string_view line) {
  CheckIndex(index);
  MarkEdited();
  LineSpan& span = spans_[static_cast<std::size_t>(index)];
  if (line.size() > span.length) {
    span = StoreInTail(line);
    return;
  }
  char* store = (span.start & kInTail) != 0 ? tail_.data() + (span.start & ~kInTail)
                                            : text_.data() + span.start;
  // memmove: line may be a view of this very line or overlap it.
  if (!line.empty()) std::memmove(store, line.data(), line.size());
  span.length = static_cast<std::uint32_t>(line.size());
}

void TStringList::RemoveLine(std::int32_t index) {
  CheckIndex(index);
  MarkEdited();
  spans_.erase(spans_.begin() + index);
}

void TStringList::AppendLine(std::string_view line) {
  EnsureSplit();
  if (spans_.size() >= kMaxStoreSize) throw ETextTooLarge("Text too large");
  const LineSpan span = StoreInTail(line);
  MarkEdited();
  spans_.push_back(span);
}

}  // namespace vemra
