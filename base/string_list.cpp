#include "base/string_list.h"

#include <cstring>
#include <limits>
#include <utility>

#include "base/conversions.h"
#include "base/failures.h"
#include "base/line_breaks.h"
#include "base/read_whole_file.h"
#include "base/safe_file_write.h"

namespace vemra {

namespace {

// Every store of the list, and every text it is given, stays below 2 GiB.
constexpr std::size_t kMaxStoreSize = std::numeric_limits<std::int32_t>::max();

void CheckTextSize(std::size_t size) {
  if (size > kMaxStoreSize) throw ETextTooLarge("Text too large");
}

// Whether every line of text ends in CR LF, the last one included: true
// exactly when the split would find each line followed by CR LF. Stops at the
// first other line end, so a text with mixed line ends costs little.
bool IsJoinedWithCrLf(std::string_view text) {
  const char* at = text.data();
  const char* const end = at + text.size();
  while (at < end) {
    const void* found = std::memchr(at, '\n', static_cast<std::size_t>(end - at));
    if (found == nullptr) return false;  // a last line without a line end, or a CR alone
    const char* const lf = static_cast<const char*>(found);
    if (lf == at || lf[-1] != '\r') return false;
    if (std::memchr(at, '\r', static_cast<std::size_t>(lf - 1 - at)) != nullptr) return false;
    at = lf + 1;
  }
  return true;
}

// The same for LF: no CR anywhere, and the last line ended too.
bool IsJoinedWithLf(std::string_view text) {
  return (text.empty() || text.back() == '\n') &&
         std::memchr(text.data(), '\r', text.size()) == nullptr;
}

bool IsJoined(std::string_view text, LineEnding ending) {
  return ending == LineEnding::kLf ? IsJoinedWithLf(text) : IsJoinedWithCrLf(text);
}

// ReadText for a text not split into lines: every line followed by the
// line end.
std::string JoinLines(std::string_view text, LineEnding ending) {
  const std::string_view line_end = LineEndBytes(ending);
  std::string joined;
  // Room for every byte to be a line end that grows to two; memory reserved
  // but never written costs no pages.
  joined.reserve(2 * text.size());
  ForEachLine(text, [&joined, line_end](std::string_view line) {
    joined.append(line);
    joined.append(line_end);
  });
  return joined;
}

}  // namespace

void TStringList::LoadFile(const std::string& file_name) {
  LoadedFile loaded;
  std::string bytes = ReadWholeFile(file_name, loaded);
  AdoptText(std::move(bytes));
  loaded_from_ = std::move(loaded);
}

void TStringList::SaveFile(const std::string& file_name) const {
  std::string holder;
  WriteFileSafely(file_name, JoinedText(holder), loaded_from_ ? &*loaded_from_ : nullptr);
}

void TStringList::SetLineEnding(LineEnding ending) {
  if (ending == line_ending_) return;
  line_ending_ = ending;
  // An edited text is never the joined one; an unedited one may be, for the
  // new line end as well.
  if (joined_ != Joined::kNo) joined_ = Joined::kUnknown;
}

LineEnding TStringList::FirstLineEnding() const {
  return KeptLineEnding(text_);
}

std::string_view TStringList::JoinedText(std::string& holder) const {
  if (joined_ == Joined::kUnknown) {
    joined_ = IsJoined(text_, line_ending_) ? Joined::kYes : Joined::kNo;
  }
  if (joined_ == Joined::kYes) return text_;
  holder = ReadText();
  return holder;
}

std::string TStringList::HandOverText() {
  std::string text;
  if (split_) {
    text = ReadText();
  } else {
    // Not its joined form's size: what counts against the size limit is
    // what the text becomes, which only its reader can tell.
    text = std::move(text_);
    if (!text.empty() && text.back() != '\r' && text.back() != '\n') text.append("\r\n", 2);
  }
  TakeText(std::string(), Joined::kYes);
  return text;
}

std::string TStringList::ReadText() const {
  // A text not split yet has had no edits: it is joined straight from text_.
  if (!split_) return joined_ == Joined::kYes ? text_ : JoinLines(text_, line_ending_);
  const std::string_view line_end = LineEndBytes(line_ending_);
  std::size_t total = 0;
  for (const LineSpan span : spans_) total += span.length + line_end.size();
  std::string text;
  text.resize(total);
  char* out = text.data();
  for (const LineSpan span : spans_) {
    const std::string_view line = ViewOf(span);
    std::memcpy(out, line.data(), line.size());
    out += line.size();
    std::memcpy(out, line_end.data(), line_end.size());
    out += line_end.size();
  }
  return text;
}

void TStringList::AssignText(std::string_view text) {
  AdoptText(std::string(text));
}

void TStringList::AdoptText(std::string text) {
  TakeText(std::move(text), Joined::kUnknown);
}

void TStringList::AdoptJoinedText(std::string text, LineEnding ending) {
  TakeText(std::move(text), Joined::kYes);
  line_ending_ = ending;
}

void TStringList::TakeText(std::string text, Joined joined) {
  CheckTextSize(text.size());
  text_ = std::move(text);
  tail_.clear();
  spans_.clear();
  split_ = false;
  joined_ = joined;
}

void TStringList::EnsureSplit() const {
  if (split_) return;
  const bool all_joined = SplitText();
  split_ = true;
  if (joined_ == Joined::kUnknown) joined_ = all_joined ? Joined::kYes : Joined::kNo;
}

// Lines are views into text_, so splitting copies no line bytes. Returns
// whether every line ends in the line end, the last one included: then
// text_ is already the joined text, and saving it needs no copy.
bool TStringList::SplitText() const {
  const char* const base = text_.data();
  const char* const end = base + text_.size();
  const bool crlf = line_ending_ == LineEnding::kCrLf;
  bool all_joined = true;
  // Room for lines of 16 bytes on average spares the copies of repeated
  // growth for ordinary text; room reserved but never used costs no pages.
  spans_.reserve(text_.size() / 16);
  ForEachLine(text_, [this, base, end, crlf, &all_joined](std::string_view line) {
    spans_.push_back(
        {static_cast<std::uint32_t>(line.data() - base), static_cast<std::uint32_t>(line.size())});
    const char* const line_end = line.data() + line.size();
    all_joined =
        all_joined && (crlf ? end - line_end >= 2 && line_end[0] == '\r' && line_end[1] == '\n'
                            : line_end < end && line_end[0] == '\n');
  });
  return all_joined;
}

void TStringList::MarkEdited() {
  joined_ = Joined::kNo;
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
