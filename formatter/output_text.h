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
#pragma once

#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

namespace vemra {

class OutputText {
 public:
  // preamble: bytes that stand in front of the result but take no part in
  // the layout (the text counts as empty while only they are there).
  // bytes_per_tab: what one TAB will cost once the result is finished, so
  // that a result whose expansion must pass the size limit fails early.
  // expected_size: room to reserve for the whole text.
  explicit OutputText(std::string_view preamble = {}, std::int64_t bytes_per_tab = 1,
                      std::size_t expected_size = 0);

  bool Empty() const {
    return line_.empty() && indent_ == 0 && committed_.size() == preamble_size_;
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
    if (token.size() == 1 && token[0] == '\n') {
      line_.push_back('\n');
      CommitLine();
      return;
    }
    if (!line_holds_break_ && HoldsLineBreak(token)) line_holds_break_ = true;
    line_.append(token);
  }
  // Appends one blank.
  void AppendBlank() { line_.push_back(' '); }
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
  // line break; any other token is at most a lone CR or LF.
  static bool HoldsLineBreak(std::string_view token) {
    const unsigned char first = static_cast<unsigned char>(token[0]);
    if (first != '/' && first != '\'' && first != '"' && first != '{' && first != 0x8B) {
      return first == '\r' || first == '\n';
    }
    return std::memchr(token.data(), '\n', token.size()) != nullptr ||
           std::memchr(token.data(), '\r', token.size()) != nullptr;
  }

  void CommitLine();

  std::string committed_;           // text up to and including the last LF token
  std::size_t preamble_size_;       // leading bytes of committed_ outside the layout
  std::int64_t indent_ = 0;         // indentation TABs of the current line still standing
  std::string line_;                // the current line after its indentation
  bool line_holds_break_ = false;   // line_ has a CR or LF (a CR token or a multi-line token)
  std::int64_t bytes_per_tab_;      // size of one TAB in the finished result
  std::int64_t finished_size_ = 0;  // committed_'s size once its indentation TABs are expanded
};

}  // namespace vemra
