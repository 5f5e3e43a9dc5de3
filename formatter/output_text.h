// The text the layout pass builds. It behaves like one growing string that
// is only appended to or shortened at its end, with one exception: the ":"
// rule takes one indentation TAB back from the current line. To do that in
// constant time the current line's indentation is kept as a count until
// the line ends:
//
//   committed   everything up to and including the last line-break token
//   indent      how many indentation TABs of the current line still stand
//   content     the current line's text after those TABs
//
// The plain text is committed + indent TABs + content; every query and edit
// at the end sees exactly what that plain text would show.
//
// All three live in one buffer. The content is written where its
// indentation will end, leaving a gap in front of it, so that a line's
// bytes are written once: when the line ends the gap is filled, and the
// content only moves when its indentation changed after it was started.
//
// When a line is committed its TABs are written in their finished form
// (IndentUnit), which spares expanding them again afterwards; but once the
// text is large they are written as TABs, which the finishing pass expands,
// so that indentation that can only end in a text too large to keep fails
// after as few bytes as possible.
//
// Everything the token loop calls is defined here, inline, and the object
// never hands out its own address: the compiler can then keep its counts in
// registers, which the bytes written into the buffer could otherwise alias.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>

#include "base/line_breaks.h"
#include "formatter/packed_tail.h"
#include "formatter/text_size_limit.h"
#include "formatter/token_text.h"

namespace vemra {

// What one level of indentation becomes in the finished text: width copies
// of byte. The rules see every level as one TAB whatever it becomes.
// Up to this size a text receives indentation in its finished form.
inline constexpr std::int64_t kFinishedIndentLimit = std::int64_t{512} << 20;

struct IndentUnit {
  char byte = '\t';
  std::int64_t width = 1;
};

// Told, while a long token is copied, how far into its bytes the copy has
// come, so that the memory behind can go (see SourceRelease); a hook
// without a function is told nothing.
struct SourcePassedHook {
  void (*passed)(void* context, std::string_view token, const char* at) = nullptr;
  void* context = nullptr;
};

class OutputText {
 public:
  // Bytes copied at once for a short token.
  static constexpr std::size_t kWideCopy = 16;

  // preamble: bytes that stand in front of the result but take no part in
  // the layout (the text counts as empty while only they are there).
  // expected_size: room to reserve for the whole text.
  // finished_indent_limit: up to this size indentation is written in its
  // finished form, beyond it as TABs.
  // source: a text the appended tokens are views into, as far as bytes of
  // it may be read past a token's end (never written) to copy short tokens
  // in one move; tokens from elsewhere are copied byte for byte.
  // line_ends_as_crlf: every line end inside a token (CR LF, LF or CR) is
  // written as CR LF, as the token would hold it in a joined text.
  // trims_line_ends: the CR token drops the bytes trimming would take from
  // the end of its line (see AppendCarriageReturn). collapses_empty_lines:
  // where the text trims its line ends, an empty line right behind another
  // is left out (see CommitLine).
  explicit OutputText(std::string_view preamble = {}, IndentUnit unit = {},
                      std::size_t expected_size = 0,
                      std::int64_t finished_indent_limit = kFinishedIndentLimit,
                      std::string_view source = {}, bool line_ends_as_crlf = false,
                      bool trims_line_ends = false, bool collapses_empty_lines = false)
      : preamble_size_(preamble.size()),
        line_ends_as_crlf_(line_ends_as_crlf),
        trims_line_ends_(trims_line_ends),
        collapses_empty_lines_(trims_line_ends && collapses_empty_lines),
        unit_(unit),
        finished_indent_limit_(finished_indent_limit),
        finished_size_(static_cast<std::int64_t>(preamble.size())),
        source_start_(reinterpret_cast<std::uintptr_t>(source.data())) {
    // Memory that is reserved but never written costs no pages, so a
    // generous reservation spares the copies of repeated growth. A text
    // never passes the size limit for long, but a run packed at the end of
    // a line may hold as many bytes as the source it comes from, which may
    // be a little larger.
    bytes_->reserve(std::min<std::size_t>(expected_size, kMaxTextSize + kPackedRoom) + kSpare);
    MakeRoom(preamble.size());
    std::copy(preamble.begin(), preamble.end(), base_);
    committed_end_ = content_start_ = end_ = preamble.size();
    if (source.size() >= kWideCopy) source_wide_starts_ = source.size() - kWideCopy + 1;
  }

  bool Empty() const {
    // One test instead of three: this runs several times for every token.
    return ((end_ - content_start_) | static_cast<std::uint64_t>(indent_) |
            (committed_end_ - preamble_size_)) == 0;
  }
  // The last byte; the text must not be empty.
  char LastByte() const {
    if (end_ != content_start_) return base_[end_ - 1];
    if (indent_ > 0) return '\t';
    return base_[committed_end_ - 1];
  }
  bool EndsWith(char c) const { return !Empty() && LastByte() == c; }
  // Whether the text holds a line break with nothing but blanks and TABs
  // behind it.
  bool EndsInLineBreakAndBlanks() const {
    std::size_t at = BlanksStart(end_, packed_end_ != 0 ? packed_end_ : content_start_);
    if (packed_end_ != 0 && at == packed_end_) {
      // A packed run holds no line break: only blanks let the search go on.
      if (!packed_tail::AllBlanks(base_ + packed_start_, base_ + packed_end_)) return false;
      at = BlanksStart(packed_start_, content_start_);
    }
    if (at > content_start_) return line_breaks_detail::IsBreak(base_[at - 1]);
    // Only the LF token commits a line, so a committed text ends in its LF.
    return committed_end_ > preamble_size_;
  }

  // Appends a token. A token that is a lone LF ends the current line.
  void Append(std::string_view token) {
    if (token == "\n") {
      AppendLineFeed();
    } else {
      AppendToken(token);
    }
  }
  // Appends the LF token, which ends the current line.
  void AppendLineFeed() {
    AppendByte('\n');
    CommitLine();
  }
  // From this size a token that does not fit the room made already is
  // copied a megabyte at a time, telling the hook after each (see
  // SetSourcePassedHook).
  static constexpr std::size_t kLongToken = std::size_t{4} << 20;

  // The hook told how far a long token is copied.
  void SetSourcePassedHook(SourcePassedHook hook) { source_passed_ = hook; }

  // Appends a token other than a lone LF.
  void AppendToken(std::string_view token) {
    if (kMultiLineFirstBytes.Contains(token[0]) && HoldsLineBreak(token)) {
      AppendMultiLineToken(token);
      return;
    }
    // A long token never fits the room made ahead, so the test for it
    // costs the tokens that do nothing.
    if (end_ + token.size() + kSpare > room_) [[unlikely]] {
      if (token.size() >= kLongToken) {
        AppendLongToken(token);
        return;
      }
      MakeRoomAtTheEnd(token.size());
    }
    CopyOneLineToken(token);
  }
  // AppendBlankIf(blank_before), AppendToken(token), AppendBlankIf(blank_after),
  // with one check for room: what most tokens take.
  void AppendTokenBetweenBlanks(bool blank_before, std::string_view token, bool blank_after) {
    if (kMultiLineFirstBytes.Contains(token[0]) && HoldsLineBreak(token)) {
      AppendBlankIf(blank_before);
      AppendMultiLineToken(token);
      AppendBlankIf(blank_after);
      return;
    }
    if (end_ + token.size() + 2 + kSpare > room_) [[unlikely]] {
      if (token.size() >= kLongToken) {
        AppendBlankIf(blank_before);
        AppendLongToken(token);
        AppendBlankIf(blank_after);
        return;
      }
      MakeRoomAtTheEnd(token.size() + 2);
    }
    base_[end_] = ' ';
    end_ += blank_before;
    CopyOneLineToken(token);
    base_[end_] = ' ';
    end_ += blank_after;
  }
  // Appends the CR token. Where the text trims its line ends, the bytes of
  // value 0x20 or lower that end the line's content go first: the
  // finishing pass would trim them from the line anyway, and a line that
  // comes to it trimmed is passed over with its neighbours rather than
  // rewritten. They count towards the size up to which indentation takes
  // its finished form, as they would untrimmed, but not towards the size
  // limit, which holds for the result: a text of blanks and control bytes
  // that trims to nothing is never refused.
  void AppendCarriageReturn() {
    if (trims_line_ends_) TrimContentEnd();
    AppendByte('\r');
    line_holds_break_ = true;
  }
  // Appends one blank.
  void AppendBlank() { AppendByte(' '); }
  // Appends one blank when append is true. Whether a token takes a blank
  // is as good as random, so the blank is written either way and only
  // counted when wanted, without a branch to mispredict.
  void AppendBlankIf(bool append) {
    MakeRoom(1);
    base_[end_] = ' ';
    end_ += append;
  }
  // Deletes the last byte when it is a blank: only the current line's
  // content can end in one.
  void DeleteLastBlank() {
    if (end_ == content_start_) return;
    KeepLastByteUnpacked();
    end_ -= base_[end_ - 1] == ' ';
  }
  // Appends count indentation TABs (none for a count of 0 or less).
  void AppendIndentation(std::int32_t count) {
    if (count <= 0) return;
    if (end_ == content_start_) {
      indent_ += count;
      PlaceEmptyContent();
      return;
    }
    CheckTextSize(static_cast<std::int64_t>(end_ - content_start_) + count);
    MakeRoom(static_cast<std::size_t>(count));
    std::memset(base_ + end_, '\t', static_cast<std::size_t>(count));
    end_ += static_cast<std::size_t>(count);
  }
  // Deletes the last byte when it is c.
  void DeleteLastIf(char c) {
    if (Empty() || LastByte() != c) return;
    if (end_ != content_start_) {
      KeepLastByteUnpacked();
      --end_;
    } else {
      --indent_;  // the committed text ends in LF, so the byte is an indentation TAB
      PlaceEmptyContent();
    }
  }
  // Deletes every TAB and blank at the end.
  void DeleteTrailingBlanks() {
    UnpackTail();
    while (end_ != content_start_ && (base_[end_ - 1] == ' ' || base_[end_ - 1] == '\t')) --end_;
    if (end_ == content_start_) {
      indent_ = 0;
      PlaceEmptyContent();
    }
  }
  // Deletes the last indentation TAB of the current line. A line that holds
  // a line break from a token has its start inside that token, and a TAB
  // inside a token is never touched, so such a line loses nothing.
  void DropIndentationTab() {
    if (line_holds_break_ || indent_ == 0) return;
    --indent_;
    if (end_ == content_start_) PlaceEmptyContent();
  }

  // Where the current line starts in the text Take() returns: behind the
  // last line break in the text, be it the last LF token or one inside a
  // token on the current line. Bytes appended to the line later do not move
  // that place, nor do the rules that take back indentation, which leave a
  // line holding a line break alone.
  std::size_t CurrentLineStart() const {
    if (line_holds_break_) {
      for (std::size_t at = end_; at != content_start_; --at) {
        if (kLineBreakBytes.Contains(base_[at - 1])) {
          // A packed run holds no line break, but stands for more bytes.
          const std::size_t packed_growth =
              at > packed_end_ ? packed_size_ - (packed_end_ - packed_start_) : 0;
          return committed_end_ + static_cast<std::size_t>(IndentationBytes(CommittedLevels())) +
                 (at - content_start_) + packed_growth;
        }
      }
    }
    return committed_end_;
  }

  // The whole text; the object is left empty.
  std::string Take() {
    CommitLine();
    bytes_->resize(committed_end_);
    preamble_size_ = committed_end_ = content_start_ = end_ = 0;
    base_ = nullptr;
    room_ = 0;
    return std::move(*bytes_);
  }

 private:
  // Reserved beyond the size limit, for a packed run (see the constructor).
  static constexpr std::size_t kPackedRoom = std::size_t{16} << 20;
  // Room kept behind the end after every append: a wide copy fits in it.
  static constexpr std::size_t kSpare = kWideCopy;
  // The most room left in front of a line's content for its indentation;
  // deeper lines have their content moved once they end.
  static constexpr std::int64_t kLargestGap = std::int64_t{1} << 16;

  // Only comments, literals, brace groups and angle-quoted runs can hold a
  // line break; any other token is at most a lone CR or LF. One table test on
  // the first byte settles it for nearly every token.
  static constexpr ByteSet kMultiLineFirstBytes{"/'\"{\x8B"};
  static constexpr ByteSet kLineBreakBytes{"\r\n"};
  // What trimming takes from a line's end: every byte of value 0x20 or
  // lower but the CR and LF of an earlier line end within the content.
  static bool TrimmedAtLineEnd(char c) {
    return static_cast<unsigned char>(c) <= 0x20 && c != '\r' && c != '\n';
  }
  bool HoldsLineBreak(std::string_view token) const {
#if defined(__SSE2__)
    if (MayReadWide(token)) return HoldsLineBreakWide(token);
#endif
    const char* const end = token.data() + token.size();
    return line_breaks_detail::FindBreak(token.data(), end) != end;
  }
#if defined(__SSE2__)
  // HoldsLineBreak for a token with kWideCopy bytes readable from its
  // start, sixteen bytes at a time: a short token's bytes beyond its end
  // are masked off, a long token's last sixteen bytes are read whole,
  // overlapping the read before. Comments and literals are many, and a
  // byte at a time over their tails costs a branch per byte.
  static bool HoldsLineBreakWide(std::string_view token) {
    static_assert(kWideCopy == 16, "one break mask covers a wide read");
    using line_breaks_detail::BreakMask;
    const char* at = token.data();
    const std::size_t size = token.size();
    if (size <= kWideCopy) return (BreakMask(at) & ((1u << size) - 1)) != 0;
    const char* const last = at + size - kWideCopy;
    for (; at < last; at += kWideCopy) {
      if (BreakMask(at) != 0) return true;
    }
    return BreakMask(last) != 0;
  }
#endif

  // Where the blanks and TABs in front of end start, no further back than
  // floor.
  std::size_t BlanksStart(std::size_t end, std::size_t floor) const {
    while (end > floor && (base_[end - 1] == ' ' || base_[end - 1] == '\t')) --end;
    return end;
  }

  void TrimContentEnd() {
    if (packed_end_ != 0) [[unlikely]]
      TrimPackedTail();
    const std::size_t content_end = end_;
    while (end_ != content_start_ && TrimmedAtLineEnd(base_[end_ - 1])) --end_;
    trimmed_ += content_end - end_;
  }

  // Copies a token that holds no line break, or is a lone CR, behind the
  // end, where room for it has been made.
  void CopyOneLineToken(std::string_view token) {
    line_holds_break_ |= kLineBreakBytes.Contains(token[0]);
    if (token.size() <= kWideCopy && MayReadWide(token)) {
      CopyWide(base_ + end_, token.data());
    } else {
      std::memcpy(base_ + end_, token.data(), token.size());
    }
    end_ += token.size();
  }

  void AppendMultiLineToken(std::string_view token) {
    if (token.size() >= kLongToken) {
      AppendLongToken(token);
      return;
    }
    line_holds_break_ = true;
    if (!line_ends_as_crlf_) {
      AppendBytes(token);
      return;
    }
    const char* at = token.data();
    const char* const end = at + token.size();
    while (at < end) {
      const char* const line_end = line_breaks_detail::FindBreak(at, end);
      AppendBytes(std::string_view(at, static_cast<std::size_t>(line_end - at)));
      if (line_end == end) break;
      AppendBytes("\r\n");
      at = line_end + (line_end[0] == '\r' && line_end + 1 < end && line_end[1] == '\n' ? 2 : 1);
    }
  }

  // A token of kLongToken bytes or more: its copy would otherwise stand
  // whole beside the source it comes from, the memory for it taken at
  // once. A megabyte at a time, the source's memory goes as the copy grows.
  [[gnu::noinline]] void AppendLongToken(std::string_view token);
  // Appends bytes of a long token a megabyte at a time, and tells the hook
  // where each piece ends.
  void AppendPassing(std::string_view token, std::string_view bytes);

  void AppendBytes(std::string_view bytes) {
    MakeRoom(bytes.size());
    std::memcpy(base_ + end_, bytes.data(), bytes.size());
    end_ += bytes.size();
  }

  // Whether the wide copy may read from token's start: it lies in source
  // with a wide copy's worth of bytes behind it.
  bool MayReadWide(std::string_view token) const {
    const auto start = reinterpret_cast<std::uintptr_t>(token.data());
    return start - source_start_ < source_wide_starts_;  // below the start wraps round
  }

  // The compiler cannot see that a wide copy only starts where kWideCopy
  // bytes can be read, and warns where a caller passes a short literal.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Warray-bounds"
#pragma GCC diagnostic ignored "-Wstringop-overread"
#endif
  static void CopyWide(char* to, const char* from) {
    std::memcpy(to, from, kWideCopy);
  }
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic pop
#endif

  void AppendByte(char c) {
    MakeRoom(1);
    base_[end_++] = c;
  }

  // Makes sure that more bytes, and the spare room, can be written at the end.
  void MakeRoom(std::size_t more) {
    if (end_ + more + kSpare > room_) MakeRoomAtTheEnd(more);
  }
  // MakeRoom once the buffer is full: where the text trims its line ends, a
  // long run of bytes trimming would take from the end of the current line
  // is packed first (see packed_tail.h), and a line past a gigabyte is
  // checked against the size limit. Out of line: it runs once per megabyte.
  void MakeRoomAtTheEnd(std::size_t more);

  // Throws ETextTooLarge when the current line, which may grow for long
  // before it ends, is already known to take the result past the size
  // limit: where it holds no line break and its TABs cannot vanish, every
  // byte of it but those trimming takes from its end stays.
  void CheckLongLine() const;

  // The run packed so far and the bytes behind it, while the current line
  // ends in bytes trimming takes; unpacked once a byte that stays follows.
  void PackTail();
  // Unpacks the run packed at the end of the current line, if any, which
  // then stays in the line: throws ETextTooLarge when it alone passes the
  // size limit. Where the line ends in it, TrimPackedTail drops it instead.
  void UnpackTail() {
    if (packed_end_ != 0) [[unlikely]]
      UnpackPackedTail();
  }
  void UnpackPackedTail();
  // Before a deletion at the end: the last byte is never packed.
  void KeepLastByteUnpacked() {
    if (end_ <= packed_end_ + 1) [[unlikely]]
      UnpackTail();
  }
  // For the CR token: drops the packed run with the bytes behind it when
  // trimming takes all of them.
  void TrimPackedTail();
  void Grow(std::size_t needed) {
    room_ = GrowBuffer(*bytes_, needed);
    base_ = bytes_->data();
  }
  // Makes bytes at least needed long, returning its new size. Out of line:
  // it runs once per megabyte.
  static std::size_t GrowBuffer(std::string& bytes, std::size_t needed);

  // Whether indentation of the given number of levels, written behind the
  // committed text, takes its finished form: only while the text is small
  // enough; beyond, each level is one TAB.
  bool WritesFinished(std::int64_t levels) const {
    return static_cast<std::int64_t>(UntrimmedCommittedSize()) + levels * unit_.width <=
           finished_indent_limit_;
  }
  std::int64_t IndentationBytes(std::int64_t levels) const {
    return WritesFinished(levels) ? levels * unit_.width : levels;
  }

  // The committed text's size with the bytes trimmed at its line ends and
  // the empty lines left out.
  std::size_t UntrimmedCommittedSize() const {
    return committed_end_ + trimmed_;
  }

  // Puts an empty line's content where the current indentation will end.
  void PlaceEmptyContent() {
    content_start_ = end_ =
        committed_end_ + static_cast<std::size_t>(std::min(IndentationBytes(indent_), kLargestGap));
  }

  // Whether the current line is empty up to its first line break where the
  // text trims its line ends: its indentation would be trimmed away, and is
  // left out.
  bool IndentationTrimmed() const {
    return trims_line_ends_ && end_ != content_start_ &&
           kLineBreakBytes.Contains(base_[content_start_]);
  }

  // The indentation levels the current line receives when it is committed.
  std::int64_t CommittedLevels() const {
    return IndentationTrimmed() ? 0 : indent_;
  }

  // Whether the current line is empty and follows an empty line: the
  // committed text ends in two line ends, and the line holds nothing but
  // the CR and LF tokens (the CR token trimmed whatever stood in front of
  // it, and an empty line takes no indentation). Where the finishing pass
  // collapses runs of empty lines it drops such a line, whatever came
  // before: the end of the committed text splits into lines one way only.
  bool RepeatsEmptyLine() const {
    return end_ - content_start_ == 2 && base_[content_start_] == '\r' &&
           base_[content_start_ + 1] == '\n' && committed_end_ >= preamble_size_ + 4 &&
           std::memcmp(base_ + committed_end_ - 4, "\r\n\r\n", 4) == 0;
  }

  // Leaves out the current line, an empty one the finishing pass would
  // drop. Its bytes still count towards the size up to which indentation
  // takes its finished form, so that every other line is written as it
  // would be with it; they do not count towards the size limit, which
  // holds for the result. A text of empty lines then takes no more memory
  // than its result, whatever its size.
  void DropRepeatedEmptyLine() {
    trimmed_ += end_ - content_start_;
    content_start_ = end_ = committed_end_;
    indent_ = 0;
    line_holds_break_ = false;
  }

  // Fills in the current line's indentation in front of its content and
  // moves everything into the committed text, after checking that neither
  // the text nor its finished form passes the size limit.
  void CommitLine() {
    UnpackTail();
    if (collapses_empty_lines_ && RepeatsEmptyLine()) [[unlikely]] {
      DropRepeatedEmptyLine();
      return;
    }
    const std::size_t content_size = end_ - content_start_;
    if (IndentationTrimmed()) indent_ = 0;  // as CommittedLevels() says
    const std::int64_t finished_indentation = indent_ * unit_.width;
    const bool write_finished = WritesFinished(indent_);
    const std::int64_t indentation = write_finished ? finished_indentation : indent_;
    const auto line_size = static_cast<std::int64_t>(content_size);
    CheckTextSize(static_cast<std::int64_t>(committed_end_) + indentation + line_size);
    CheckTextSize(finished_size_ + finished_indentation + line_size);
    const std::size_t content_target = committed_end_ + static_cast<std::size_t>(indentation);
    // An empty line's indentation may not have had room made for it yet.
    if (content_target + content_size + kSpare > room_)
      Grow(content_target + content_size + kSpare);
    if (content_target != content_start_) {
      // The indentation changed after the content was started.
      std::memmove(base_ + content_target, base_ + content_start_, content_size);
    }
    std::memset(base_ + committed_end_, write_finished ? unit_.byte : '\t',
                static_cast<std::size_t>(indentation));
    finished_size_ += finished_indentation + line_size;
    committed_end_ = content_start_ = end_ = content_target + content_size;
    indent_ = 0;
    line_holds_break_ = false;
  }
  // The buffer; its size is how far it may be written. Held by pointer so
  // that growing it never takes this object's address.
  std::unique_ptr<std::string> bytes_ = std::make_unique<std::string>();
  char* base_ = nullptr;           // bytes_->data()
  std::size_t room_ = 0;           // bytes_->size()
  std::size_t preamble_size_;      // leading bytes outside the layout
  bool line_ends_as_crlf_;         // line ends inside tokens are written as CR LF
  bool trims_line_ends_;           // a CR token drops the blanks in front of it
  bool collapses_empty_lines_;     // an empty line behind an empty line is left out
  std::size_t committed_end_ = 0;  // end of the text up to the last LF token
  std::int64_t indent_ = 0;        // indentation TABs of the current line still standing
  std::size_t content_start_ = 0;  // start of the current line's content
  std::size_t end_ = 0;            // end of the current line's content
  bool line_holds_break_ = false;  // the content has a CR or LF (a CR token or a multi-line token)
  std::size_t trimmed_ = 0;        // bytes trimmed in front of CR tokens or left out with lines
  IndentUnit unit_;                // what a level becomes in the finished text
  std::int64_t finished_indent_limit_;     // size up to which unit_ is written instead of TABs
  std::int64_t finished_size_;             // the committed text's size once its TABs are expanded
  std::uintptr_t source_start_;            // address of the source's first byte
  std::uintptr_t source_wide_starts_ = 0;  // how many offsets in source a wide copy may start at
  SourcePassedHook source_passed_;         // told how far a long token is copied
  // A run packed at the end of the current line's content: its packed bytes
  // [packed_start_, packed_end_), standing for packed_size_ bytes, with at
  // least one byte behind them. packed_end_ is 0 while nothing is packed.
  std::size_t packed_start_ = 0;
  std::size_t packed_end_ = 0;
  std::size_t packed_size_ = 0;
};

}  // namespace vemra
