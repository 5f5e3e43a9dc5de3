// Writes generated program text the way people leave it: indentation that
// only roughly follows the blocks, uneven spacing between tokens, trailing
// blanks, a mixture of line ends and keywords in any letter case. Spacing is
// only left out where the tokens on both sides would still read back as the
// same tokens.
#pragma once

#include <cstddef>
#include <initializer_list>
#include <string>
#include <string_view>

#include "bench/random_source.h"

namespace vemra {

class SourceWriter {
 public:
  SourceWriter(RandomSource& random, std::string& text);

  // Appends one token to the current line, after a separator of random
  // width (none where that is safe, one or more blanks or TABs otherwise).
  void Token(std::string_view token);

  // Appends fixed tokens one after the other.
  void Tokens(std::initializer_list<std::string_view> tokens) {
    for (std::string_view token : tokens) Token(token);
  }

  // Appends a reserved word, directive or word operator in a random letter
  // case.
  void Keyword(std::string_view word);

  // Appends a token that must follow the previous one without any blank (a
  // label's ":", a call's "(").
  void Attached(std::string_view token);

  // Ends the current line: sometimes trailing blanks, then a line end.
  void EndLine();

  // A line end for use inside multi-line tokens (comments, literals, brace
  // groups), in the same mixture as the ones between lines.
  std::string_view LineBreak();

  // Opens or closes one level of the indentation the writer imitates.
  void Nest() { ++depth_; }
  void Unnest() { depth_ = depth_ > 0 ? depth_ - 1 : 0; }

  std::size_t Size() const { return text_.size(); }

 private:
  void BeginToken(std::string_view token);
  void WriteIndentation();
  void WriteSeparator(std::string_view token);

  RandomSource& random_;           // the program's one source of randomness
  std::string& text_;              // the program written so far
  std::string_view line_end_;      // the line end most lines of this program use
  std::string_view indent_unit_;   // what one level of indentation usually is
  unsigned keyword_case_percent_;  // how often a keyword's case is changed
  int depth_ = 0;                  // block depth the indentation follows
  bool line_open_ = false;         // the current line already holds a token
  char last_byte_ = '\n';          // last byte of the last token on the line
};

}  // namespace vemra
