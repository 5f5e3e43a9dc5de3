// The token rules as one state machine over byte kinds, for a cutter that
// finds where tokens start without a branch that depends on the bytes: each
// byte costs a lookup of its kind, one table lookup for the next state and
// the unconditional store of its offset, kept or not.
//
// A state says what the bytes since the current token's start have made of
// it: a word, a comment after a star, a number after its exponent letter,
// a brace group three levels deep. A transition either continues the token
// or ends it; then the byte starts the next token, or a gap of blanks. Such
// a byte is a boundary: every token runs from its first byte to the next
// boundary. The machine knows the token rules and nothing else: the "#id"
// marker, the ":" a word gives back and the tokens a line end stands for
// are left to whoever reads the boundaries.
//
// Two things fall outside a finite machine. A word's trailing ":" is only
// known once the next byte is seen, so the machine keeps it in the word.
// Brace groups nest without a limit; the machine counts kDeepestBrace
// levels and then stops in kTooDeep, which it never leaves, and the reader
// cuts that group by the plain rule.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "formatter/char_classes.h"
#include "formatter/token_cutting.h"

namespace vemra::cut_states {

// What a byte can do to a token: the classes of char_classes.h broken down
// until the bytes of one kind act alike in every state. Exactly 32, so that
// a state's row of transitions holds 32 entries.
enum ByteKind : std::uint8_t {
  kBlank,           // space, TAB
  kCarriageReturn,  // CR
  kLineFeed,        // LF
  kSlash,           // /
  kStar,            // *
  kEquals,          // =
  kHashSign,        // #
  kDigit,           // 0-9
  kHexLetter,       // a-d f A-D F: hexadecimal, word and directive letters
  kExponent,        // e E: also lets a number take a sign
  kHexMark,         // x X
  kLetter,          // every other letter, and _
  kDot,             // .
  kAmpersand,       // &: starts a word, continues an operator run
  kBackslash,       // starts and continues a word; escapes in "..."
  kWordEnd,         // $ %: ends a word after itself
  kColonSign,       // :
  kPlus,            // +
  kMinus,           // -
  kTilde,           // ~
  kBang,            // !
  kLess,            // <
  kGreater,         // >
  kCaretOrPipe,     // ^ |
  kAtSign,          // @
  kApostrophe,      // '
  kQuote,           // "
  kOpenBrace,       // {
  kCloseBrace,      // }
  kAngleOpenByte,   // 0x8B
  kAngleCloseByte,  // 0x9B
  kOther,           // every other byte: a token of its own
  kByteKinds
};
static_assert(kByteKinds == 32);

// The states after a byte; the name says what the token so far is.
enum State : std::uint8_t {
  kBetween,             // among blanks, or before the first token
  kComplete,            // a token that no byte can lengthen: "(", "<=", "*/"
  kCarriageReturnSeen,  // a line end that an LF may still complete
  kSlashSeen,           // "/"
  kLineComment,         // "//..."
  kBlockComment,        // "/*..."
  kBlockCommentStar,    // "/*...*"
  kHashSeen,            // "#"
  kHashNumber,          // "#1F"
  kDirective,           // "#define"
  kNumber,              // "12", "0x1F", "1e+"
  kNumberExponent,      // "1e": a sign may follow
  kWord,                // "name", "&", "a.b:"
  kAngleRun,            // 0x8B...
  kAtRun,               // "@@"
  kOperatorRun,         // "|=", "^^"
  kLessSeen,            // "<"
  kGreaterSeen,         // ">"
  kEqualsOrBangSeen,    // "=", "!"
  kPlusSeen,            // "+"
  kMinusSeen,           // "-"
  kStarSeen,            // "*"
  kSingleQuoted,        // "'..."
  kDoubleQuoted,        // "\"..."
  kDoubleQuotedEscape,  // "\"...\\"
  kColonSeen,           // ":"
  kTooDeep,             // a brace group deeper than the machine counts
  kBraceLevel1,         // "{...", and one state more for each level below it
};

// Deeper groups are rare; with the other states, 63 rows of 64 entries:
// 8 KB for each kind of text.
inline constexpr int kDeepestBrace = 36;
inline constexpr int kStates = kBraceLevel1 + kDeepestBrace;

// A transition is the table offset of the next state's row, plus kBoundary
// when the byte is a boundary. A row holds two equal entries per byte kind,
// at the byte's column (CutTables::columns) and one above, so that the transition read for one
// byte is the row offset for the next without any masking, and the
// boundary flag is its lowest bit.
using Transition = std::uint16_t;
inline constexpr Transition kBoundary = 1;
inline constexpr Transition kRowStride = 2 * kByteKinds;

inline constexpr Transition RowOf(State state) {
  return static_cast<Transition>(state * kRowStride);
}
inline constexpr State StateOf(Transition transition) {
  return static_cast<State>(transition / kRowStride);
}
inline constexpr bool IsBoundary(Transition transition) {
  return (transition & kBoundary) != 0;
}

namespace detail {

constexpr void SetKind(std::array<ByteKind, 256>& kinds, std::string_view bytes, ByteKind kind) {
  for (char c : bytes) kinds[static_cast<unsigned char>(c)] = kind;
}

constexpr std::array<ByteKind, 256> MakeByteKinds() {
  std::array<ByteKind, 256> kinds{};
  for (auto& kind : kinds) kind = kOther;
  SetKind(kinds, " \t", kBlank);
  SetKind(kinds, "\r", kCarriageReturn);
  SetKind(kinds, "\n", kLineFeed);
  SetKind(kinds, "/", kSlash);
  SetKind(kinds, "*", kStar);
  SetKind(kinds, "=", kEquals);
  SetKind(kinds, "#", kHashSign);
  SetKind(kinds, "0123456789", kDigit);
  SetKind(kinds, "ghijklmnopqrstuvwyzGHIJKLMNOPQRSTUVWYZ_", kLetter);
  SetKind(kinds, "abcdfABCDF", kHexLetter);
  SetKind(kinds, "eE", kExponent);
  SetKind(kinds, "xX", kHexMark);
  SetKind(kinds, ".", kDot);
  SetKind(kinds, "&", kAmpersand);
  SetKind(kinds, "\\", kBackslash);
  SetKind(kinds, "$%", kWordEnd);
  SetKind(kinds, ":", kColonSign);
  SetKind(kinds, "+", kPlus);
  SetKind(kinds, "-", kMinus);
  SetKind(kinds, "~", kTilde);
  SetKind(kinds, "!", kBang);
  SetKind(kinds, "<", kLess);
  SetKind(kinds, ">", kGreater);
  SetKind(kinds, "^|", kCaretOrPipe);
  SetKind(kinds, "@", kAtSign);
  SetKind(kinds, "'", kApostrophe);
  SetKind(kinds, "\"", kQuote);
  SetKind(kinds, "{", kOpenBrace);
  SetKind(kinds, "}", kCloseBrace);
  kinds[kAngleOpen] = kAngleOpenByte;
  kinds[kAngleClose] = kAngleCloseByte;
  return kinds;
}

constexpr bool IsLetterKind(ByteKind kind) {
  return kind == kHexLetter || kind == kExponent || kind == kHexMark || kind == kLetter;
}

constexpr bool IsHexKind(ByteKind kind) {
  return kind == kDigit || kind == kHexLetter || kind == kExponent || kind == kHexMark;
}

// The bytes after which a word goes on: letters, digits, _ . # : backslash.
constexpr bool IsWordBodyKind(ByteKind kind) {
  return IsLetterKind(kind) || kind == kDigit || kind == kDot || kind == kHashSign ||
         kind == kColonSign || kind == kBackslash;
}

// Whether the byte ends a line comment or a double-quoted literal in front
// of itself.
template <token_cutting::LineEnd kEnds>
constexpr bool EndsLine(ByteKind kind) {
  return kind == kCarriageReturn ||
         (kEnds == token_cutting::LineEnd::kAnyBreak && kind == kLineFeed);
}

// The state of a token whose first byte is of the kind; never a blank.
template <token_cutting::LineEnd kEnds>
constexpr State Start(ByteKind kind) {
  switch (kind) {
    case kCarriageReturn:
      // A loaded text's CR LF is one line end; a joined text's CR is alone.
      return kEnds == token_cutting::LineEnd::kAnyBreak ? kCarriageReturnSeen : kComplete;
    case kSlash:
      return kSlashSeen;
    case kStar:
      return kStarSeen;
    case kEquals:
    case kBang:
      return kEqualsOrBangSeen;
    case kHashSign:
      return kHashSeen;
    case kDigit:
      return kNumber;
    case kHexLetter:
    case kExponent:
    case kHexMark:
    case kLetter:
    case kDot:
    case kAmpersand:
    case kBackslash:
      return kWord;
    case kColonSign:
      return kColonSeen;
    case kPlus:
      return kPlusSeen;
    case kMinus:
      return kMinusSeen;
    case kLess:
      return kLessSeen;
    case kGreater:
      return kGreaterSeen;
    case kCaretOrPipe:
      return kOperatorRun;
    case kAtSign:
      return kAtRun;
    case kApostrophe:
      return kSingleQuoted;
    case kQuote:
      return kDoubleQuoted;
    case kOpenBrace:
      return kBraceLevel1;
    case kAngleOpenByte:
      return kAngleRun;
    default:  // LF, ~, $, %, }, 0x9B and every other byte stand alone
      return kComplete;
  }
}

// The state after the token in `state` takes a byte of the kind, or
// kBetween when the token ends in front of it (no token takes a blank
// that way, so kBetween is free to mean "ends").
template <token_cutting::LineEnd kEnds>
constexpr State Continue(State state, ByteKind kind) {
  constexpr State kEndsHere = kBetween;
  switch (state) {
    case kBetween:
    case kComplete:
      return kEndsHere;
    case kCarriageReturnSeen:
      return kind == kLineFeed ? kComplete : kEndsHere;
    case kSlashSeen:
      if (kind == kSlash) return kLineComment;
      if (kind == kStar) return kBlockComment;
      return kind == kEquals ? kComplete : kEndsHere;
    case kLineComment:
      return EndsLine<kEnds>(kind) ? kEndsHere : kLineComment;
    case kBlockComment:
      return kind == kStar ? kBlockCommentStar : kBlockComment;
    case kBlockCommentStar:
      if (kind == kSlash) return kComplete;
      return kind == kStar ? kBlockCommentStar : kBlockComment;
    case kHashSeen:
      if (kind == kDigit) return kHashNumber;
      return IsLetterKind(kind) ? kDirective : kEndsHere;
    case kHashNumber:
      return IsHexKind(kind) ? kHashNumber : kEndsHere;
    case kDirective:
      return IsLetterKind(kind) ? kDirective : kEndsHere;
    case kNumber:
    case kNumberExponent:
      if (kind == kExponent) return kNumberExponent;
      if (IsHexKind(kind) || kind == kDot) return kNumber;
      if (kind == kPlus || kind == kMinus) return state == kNumberExponent ? kNumber : kEndsHere;
      return kEndsHere;
    case kWord:
      if (IsWordBodyKind(kind)) return kWord;
      return kind == kWordEnd ? kComplete : kEndsHere;
    case kAngleRun:
      return kind == kAngleCloseByte ? kComplete : kAngleRun;
    case kAtRun:
      return kind == kAtSign ? kAtRun : kEndsHere;
    case kOperatorRun:
      return kind == kCaretOrPipe || kind == kAmpersand || kind == kEquals ? kOperatorRun
                                                                           : kEndsHere;
    case kLessSeen:
      return kind == kLess || kind == kGreater || kind == kEquals ? kComplete : kEndsHere;
    case kGreaterSeen:
      return kind == kGreater || kind == kEquals ? kComplete : kEndsHere;
    case kEqualsOrBangSeen:
    case kStarSeen:
      return kind == kEquals ? kComplete : kEndsHere;
    case kPlusSeen:
      return kind == kPlus || kind == kEquals ? kComplete : kEndsHere;
    case kMinusSeen:
      return kind == kMinus || kind == kEquals ? kComplete : kEndsHere;
    case kSingleQuoted:
      return kind == kApostrophe ? kComplete : kSingleQuoted;
    case kDoubleQuoted:
      if (kind == kQuote) return kComplete;
      if (kind == kBackslash) return kDoubleQuotedEscape;
      return EndsLine<kEnds>(kind) ? kEndsHere : kDoubleQuoted;
    case kDoubleQuotedEscape:
      // The escaped byte is plain, unless it ends the line.
      return EndsLine<kEnds>(kind) ? kEndsHere : kDoubleQuoted;
    case kColonSeen:
      return kind == kColonSign ? kComplete : kEndsHere;
    case kTooDeep:
      return kTooDeep;
    default:
      break;
  }
  // Brace levels: kBraceLevel1 + depth - 1.
  const int depth = state - kBraceLevel1 + 1;
  if (kind == kOpenBrace) {
    return depth == kDeepestBrace ? kTooDeep : static_cast<State>(state + 1);
  }
  if (kind == kCloseBrace) return depth == 1 ? kComplete : static_cast<State>(state - 1);
  return state;
}

template <token_cutting::LineEnd kEnds>
constexpr Transition Next(State state, ByteKind kind) {
  const State continued = Continue<kEnds>(state, kind);
  if (continued != kBetween) return RowOf(continued);
  if (kind == kBlank) {
    // The first blank behind a token ends it; later ones change nothing.
    return state == kBetween ? RowOf(kBetween) : RowOf(kBetween) + kBoundary;
  }
  return RowOf(Start<kEnds>(kind)) + kBoundary;
}

template <token_cutting::LineEnd kEnds>
constexpr std::array<Transition, kStates * kRowStride> MakeTransitions() {
  std::array<Transition, kStates * kRowStride> table{};
  for (int state = 0; state < kStates; ++state) {
    for (int kind = 0; kind < kByteKinds; ++kind) {
      const Transition next = Next<kEnds>(static_cast<State>(state), static_cast<ByteKind>(kind));
      table[state * kRowStride + 2 * kind] = next;
      table[state * kRowStride + 2 * kind + kBoundary] = next;
    }
  }
  return table;
}

}  // namespace detail

inline constexpr std::array<ByteKind, 256> kByteKindOf = detail::MakeByteKinds();

// The machine for a text as it was loaded (kAnyBreak, where CR LF is one
// line end) or a joined one (kCarriageReturn). Both tables in one object,
// so that a loop needs one register to reach them.
struct CutTables {
  std::array<Transition, kStates * kRowStride> transitions;  // by row and column
  std::array<std::uint8_t, 256> columns;  // a byte's column in a row: two per kind
};

template <token_cutting::LineEnd kEnds>
inline constexpr CutTables kCutTables = [] {
  CutTables tables{detail::MakeTransitions<kEnds>(), {}};
  for (int byte = 0; byte < 256; ++byte) tables.columns[byte] = 2 * kByteKindOf[byte];
  return tables;
}();

template <token_cutting::LineEnd kEnds>
inline Transition Step(Transition from, unsigned char byte) {
  // Added as a size_t: the index then needs no widening, which would
  // lengthen the chain from one byte's state to the next.
  const CutTables& tables = kCutTables<kEnds>;
  return tables.transitions[std::size_t{from} + tables.columns[byte]];
}

}  // namespace vemra::cut_states
