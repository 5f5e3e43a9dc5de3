// The rules that cut one token each, and the walk that skips blanks and
// "#id" markers between tokens. Each rule gets the readable text (already
// cut to its end, so no rule can read beyond it) and the 0-based offset of
// the token's first byte, and returns the offset just behind the token.
// Constructs still open at the end of the text end there.
//
// Defined here, inline, so that the layout pass's token loop cuts its
// tokens without a call; next_token.h has the tokenizer's interface.
#pragma once

#include <cstddef>
#include <cstring>
#include <string_view>

#include "base/line_breaks.h"
#include "formatter/block_runs.h"
#include "formatter/byte_runs.h"
#include "formatter/char_classes.h"
#include "formatter/next_token.h"
#include "formatter/token_text.h"

namespace vemra::token_cutting {

using Offset = std::size_t;

// Which bytes end a line for the two rules that stop at a line's end. In a
// text whose every line ends in CR LF the CR comes first and is enough; in
// a text as it was loaded a line may end in an LF alone.
enum class LineEnd { kCarriageReturn, kAnyBreak };

inline bool ByteIs(std::string_view text, Offset at, char c) {
  return at < text.size() && text[at] == c;
}

// Offset of the first `c` at or after `from`, or the text's size without one.
// Comments and literals can be megabytes long; memchr scans them fast.
inline Offset FindByte(std::string_view text, Offset from, char c) {
  if (from >= text.size()) return text.size();
  const void* hit = std::memchr(text.data() + from, c, text.size() - from);
  return hit ? static_cast<Offset>(static_cast<const char*>(hit) - text.data()) : text.size();
}

// Just behind the first "*/" at or after `from`. The caller starts behind the
// opening "/*", so its star never closes the comment: "/*/" stays open. A run
// of stars is passed in one go, since only its last star can close.
inline Offset CutBlockCommentBody(std::string_view text, Offset from) {
  for (Offset at = FindByte(text, from, '*'); at < text.size(); at = FindByte(text, at, '*')) {
    while (ByteIs(text, at, '*')) ++at;
    if (ByteIs(text, at, '/')) return at + 1;
  }
  return text.size();
}

// Offset of the first byte at or after from that ends a line, or the text's
// size without one.
template <LineEnd kEnds>
inline Offset FindLineEnd(std::string_view text, Offset from) {
  if constexpr (kEnds == LineEnd::kCarriageReturn) {
    return FindByte(text, from, '\r');
  } else {
    if (from >= text.size()) return text.size();
    const char* const end = text.data() + text.size();
    return static_cast<Offset>(line_breaks_detail::FindBreak(text.data() + from, end) -
                               text.data());
  }
}

// "//" up to the end of its line (in a joined text only a CR counts: an LF
// alone does not end it), "/* ... */", "/=", "/".
template <LineEnd kEnds>
inline Offset CutSlash(std::string_view text, Offset start) {
  const Offset next = start + 1;
  if (ByteIs(text, next, '/')) return FindLineEnd<kEnds>(text, next + 1);
  if (ByteIs(text, next, '*')) return CutBlockCommentBody(text, next + 1);
  if (ByteIs(text, next, '=')) return next + 1;
  return next;
}

// "#" and a digit starts a hexadecimal number ("#1F"); otherwise letters and
// "_" make a directive word ("#define"), and a digit ends that.
inline Offset CutHash(std::string_view text, Offset start) {
  const Offset next = start + 1;
  if (next < text.size() && IsDigit(text[next])) return SkipClass(text, next, kHexChar);
  return SkipClass(text, next, kDirectiveChar);
}

// Number bytes, where a sign belongs to the number only after an exponent
// letter: "1e-5" is one token, "1-2" is three.
inline Offset CutNumber(std::string_view text, Offset start) {
  Offset at = start + 1;
  while (at < text.size() && IsInClass(text[at], kNumberChar)) {
    const bool is_sign = text[at] == '+' || text[at] == '-';
    if (is_sign && text[at - 1] != 'e' && text[at - 1] != 'E') break;
    ++at;
  }
  return at;
}

// Word bytes, where "$" or "%" ends the word after itself. A trailing ":" is
// given back (once) so that the next call returns it as a colon token.
template <typename Runs>
inline Offset CutWord(std::string_view text, Offset start, Runs& runs) {
  // A word's first byte is never "$", "%" or ":".
  const Offset at = runs.SkipWordBody(text, start + 1);
  if (at < text.size() && (text[at] == '$' || text[at] == '%')) return at + 1;
  return text[at - 1] == ':' ? at - 1 : at;
}

// From 0x8B up to and including the next 0x9B.
inline Offset CutAngle(std::string_view text, Offset start) {
  const Offset close = FindByte(text, start + 1, static_cast<char>(kAngleClose));
  return close < text.size() ? close + 1 : close;
}

inline Offset CutAtRun(std::string_view text, Offset start) {
  Offset at = start + 1;
  while (ByteIs(text, at, '@')) ++at;
  return at;
}

// "<<", "<>", "<=", ">>", ">=", "==", "!=", or the first byte alone.
inline Offset CutComparison(std::string_view text, Offset start) {
  const Offset next = start + 1;
  if (next >= text.size()) return next;
  const char second = text[next];
  bool pair = false;
  switch (text[start]) {
    case '<':
      pair = second == '<' || second == '>' || second == '=';
      break;
    case '>':
      pair = second == '>' || second == '=';
      break;
    default:  // "=" and "!"
      pair = second == '=';
      break;
  }
  return pair ? next + 1 : next;
}

// "++", "+=", "--", "-=", "*=", or the first byte alone; "~" is always alone.
inline Offset CutArithmetic(std::string_view text, Offset start) {
  const Offset next = start + 1;
  if (next >= text.size()) return next;
  const char first = text[start];
  const char second = text[next];
  const bool pair = (first != '~' && second == '=') || (first == '+' && second == '+') ||
                    (first == '-' && second == '-');
  return pair ? next + 1 : next;
}

// Up to and including the next apostrophe, line breaks included; there is
// no escape, so "'it''s'" is two literals.
inline Offset CutSingleQuoted(std::string_view text, Offset start) {
  const Offset close = FindByte(text, start + 1, '\'');
  return close < text.size() ? close + 1 : close;
}

// Up to and including the next double quote. A backslash makes the byte after
// it plain, but nothing makes a line's end plain: the literal always ends in
// front of the CR of its line, so an unclosed literal cannot swallow the file.
template <LineEnd kEnds>
inline Offset CutDoubleQuoted(std::string_view text, Offset start) {
  Offset at = start + 1;
  while (at < text.size()) {
    char c = text[at];
    if (c == '"') return at + 1;
    if (c == '\\') {
      if (++at == text.size()) return at;
      c = text[at];
    }
    if (c == '\r' || (kEnds == LineEnd::kAnyBreak && c == '\n')) return at;
    ++at;
  }
  return at;
}

// A balanced brace group, with whatever it holds; quotes and comment marks
// inside it mean nothing.
inline Offset CutBraceGroup(std::string_view text, Offset start) {
  std::size_t depth = 0;
  for (Offset at = start; at < text.size();) {
    const char c = text[at++];
    if (c == '{') {
      ++depth;
    } else if (c == '}') {
      --depth;
    }
    if (depth == 0) return at;
  }
  return text.size();
}

inline Offset CutColon(std::string_view text, Offset start) {
  return ByteIs(text, start + 1, ':') ? start + 2 : start + 1;
}

// The one dispatch on the first byte. `start` is inside the text and not on a
// blank.
template <LineEnd kEnds, typename Runs>
[[gnu::always_inline]] inline Offset CutToken(std::string_view text, Offset start, Runs& runs) {
  switch (RuleFor(text[start])) {
    case TokenRule::kSlash:
      return CutSlash<kEnds>(text, start);
    case TokenRule::kHash:
      return CutHash(text, start);
    case TokenRule::kNumber:
      return CutNumber(text, start);
    case TokenRule::kWord:
      return CutWord(text, start, runs);
    case TokenRule::kAngle:
      return CutAngle(text, start);
    case TokenRule::kAt:
      return CutAtRun(text, start);
    case TokenRule::kOperatorRun:
      return SkipClass(text, start + 1, kOperatorRunChar);
    case TokenRule::kComparison:
      return CutComparison(text, start);
    case TokenRule::kArithmetic:
      return CutArithmetic(text, start);
    case TokenRule::kSingleQuote:
      return CutSingleQuoted(text, start);
    case TokenRule::kDoubleQuote:
      return CutDoubleQuoted<kEnds>(text, start);
    case TokenRule::kBrace:
      return CutBraceGroup(text, start);
    case TokenRule::kColon:
      return CutColon(text, start);
    case TokenRule::kBlank:
    case TokenRule::kOneByte:
      break;
  }
  return start + 1;
}

// "#id" in any letter case; only the hash rule cuts a token starting with "#".
inline bool IsMarker(std::string_view token) {
  // The first byte first: it is seldom "#", where the length, for names
  // of every length, would leave the branch guessing.
  return token[0] == '#' && token.size() == 3 && (token[1] | 0x20) == 'i' &&
         (token[2] | 0x20) == 'd';
}

// The tokens "#id" markers still have to remove. Each marker removes itself
// and one more token; a marker among the removed tokens removes one more
// again, so a count gives the same stream as removing them one by one, on
// constant stack.
class MarkerDrops {
 public:
  // Whether token stays: false for a marker and for a token one removes.
  bool Keeps(std::string_view token) {
    if (IsMarker(token)) {
      ++to_drop_;
      return false;
    }
    if (to_drop_ == 0) return true;
    --to_drop_;
    return false;
  }

 private:
  std::size_t to_drop_ = 0;
};

// The next token that stays, with the rule that cut it. In a text as it was
// loaded (kAnyBreak) a line end, whatever its bytes, stands for a CR and an
// LF token, and comes as both at once or as the LF alone.
template <LineEnd kEnds, typename Runs>
[[gnu::always_inline]] inline std::string_view CutKeptToken(std::string_view text, std::size_t& at,
                                                            TokenRule& rule, Runs& runs) {
  MarkerDrops drops;
  for (;;) {
    at = runs.SkipBlanks(text, at);
    if (at >= text.size()) return {};
    const char first = text[at];
    if constexpr (kEnds == LineEnd::kAnyBreak) {
      if (first == '\r' || first == '\n') {
        at += (first == '\r' && ByteIs(text, at + 1, '\n')) ? 2 : 1;
        rule = TokenRule::kOneByte;
        if (drops.Keeps(kLineEndTokens.substr(0, 1))) return kLineEndTokens;
        if (drops.Keeps(kLineEndTokens.substr(1))) return kLineEndTokens.substr(1);
        continue;
      }
    }
    rule = RuleFor(first);
    const Offset stop = CutToken<kEnds>(text, at, runs);
    const std::string_view token = text.substr(at, stop - at);
    at = stop;
    if (drops.Keeps(token)) return token;
  }
}

}  // namespace vemra::token_cutting
