// The text the layout pass builds. It behaves like one growing string that
// is only appended to or shortened at its end, with one exception: the ":"
// rule takes one indentation TAB back from the current line. To do that in
// constant time the text is held in three parts:
//
//   committed   everything up to and including the last line-break token
//   indent      how many indentation TABs of the current line still stand
//   line        the current line's text after those TABs
//
// The plain text is committed + indent TABs + line; every query and edit at
// the end sees exactly what that plain text would show.
//
// When a line is committed its TABs are written in their finished form
// (IndentUnit), which spares expanding them again afterwards; but once the
// text is large they are written as TABs, which the finishing pass expands,
// so that indentation that can only end in a text too large to keep fails
// after as few bytes as possible.
#pragma once

#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#include "formatter/line_buffer.h"
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

class OutputText {
 public:
  // preamble: bytes that stand in front of the result but take no part in
  // the layout (the text counts as empty while only they are there).
  // expected_size: room to reserve for the whole text.
  // finished_indent_limit: up to this size indentation is written in its
  // finished form, beyond it as TABs.
  // source: a text the appended tokens are views into, as far as bytes of
  // it may be read past a token's end (never written) to copy short tokens
  // in one move; tokens from elsewhere are copied byte for byte.
  explicit OutputText(std::string_view preamble = {}, IndentUnit unit = {},
                      std::size_t expected_size = 0,
                      std::int64_t finished_indent_limit = kFinishedIndentLimit,
                      std::string_view source = {});

  bool Empty() const {
    // One test instead of three: this runs several times for every token.
    return (line_.size() | static_cast<std::uint64_t>(indent_) |
            (committed_.size() - preamble_size_)) == 0;
  }
  // The last byte; the text must not be empty.
  char LastByte() const {
    if (!line_.empty()) return line_.back();
    if (indent_ > 0) return '\t';
    return committed_.back();
  }
  bool EndsWith(char c) const { return !Empty() && LastByte() == c; }

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
    line_.Append('\n');
    CommitLine();
  }
  // Appends a token other than a lone LF.
  void AppendToken(std::string_view token) {
    line_holds_break_ |= HoldsLineBreak(token);
    line_.Append(token, MayReadWide(token));
  }
  // Appends one blank.
  void AppendBlank() { line_.Append(' '); }
  // Appends count indentation TABs (none for a count of 0 or less).
  void AppendIndentation(std::int32_t count);
  // Deletes the last byte when it is c.
  void DeleteLastIf(char c) {
    if (Empty() || LastByte() != c) return;
    if (!line_.empty()) {
      line_.pop_back();
    } else {
      --indent_;  // committed_ ends in LF, so the byte is an indentation TAB
    }
  }
  // Deletes every TAB and blank at the end.
  void DeleteTrailingBlanks();
  // Deletes the last indentation TAB of the current line. A line that holds
  // a line break from a token has its start inside that token, and a TAB
  // inside a token is never touched, so such a line loses nothing.
  void DropIndentationTab() {
    if (!line_holds_break_ && indent_ > 0) --indent_;
  }

  // The whole text; the object is left empty.
  std::string Take();

 private:
  // Only comments, literals, brace groups and angle-quoted runs can hold a
  // line break; any other token is at most a lone CR or LF. One table test on
  // the first byte settles it for nearly every token.
  static bool HoldsLineBreak(std::string_view token) {
    if (kMultiLineFirstBytes.Contains(token[0])) {
      return std::memchr(token.data(), '\n', token.size()) != nullptr ||
             std::memchr(token.data(), '\r', token.size()) != nullptr;
    }
    return kLineBreakBytes.Contains(token[0]);
  }
  static constexpr ByteSet kLineBreakBytes{"\r\n"};

  // Whether the wide copy may read from token's start: it lies in source
  // with a wide copy's worth of bytes behind it.
  bool MayReadWide(std::string_view token) const {
    const auto start = reinterpret_cast<std::uintptr_t>(token.data());
    return start - source_start_ < source_wide_starts_;  // below the start wraps round
  }
  static constexpr ByteSet kMultiLineFirstBytes{"/'\"{\x8B"};

  void CommitLine();

  std::string committed_;               // text up to and including the last LF token
  std::size_t preamble_size_;           // leading bytes of committed_ outside the layout
  std::int64_t indent_ = 0;             // indentation TABs of the current line still standing
  LineBuffer line_;                     // the current line after its indentation
  bool line_holds_break_ = false;       // line_ has a CR or LF (a CR token or a multi-line token)
  IndentUnit unit_;                     // what a level becomes in the finished text
  std::int64_t finished_indent_limit_;  // size up to which unit_ is written instead of TABs
  std::int64_t finished_size_;          // committed_'s size once its TABs are expanded
  std::uintptr_t source_start_ = 0;     // address of the source's first byte
  std::uintptr_t source_wide_starts_ = 0;  // how many offsets in source a wide copy may start at
};

}  // namespace vemra
