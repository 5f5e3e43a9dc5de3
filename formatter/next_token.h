// The tokenizer: cuts the source text into tokens, one per call.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "formatter/char_classes.h"

namespace vemra {

// Returns the token that starts at the 1-based SourcePos (after skipping
// blanks and TABs) and moves SourcePos right behind it. The token is a view
// into Source. It is empty only when nothing but blanks, or "#id" markers and
// the tokens they remove, is left; SourcePos is then SourceLen + 1 (or left as
// it was when it already lay beyond SourceLen). No byte beyond SourceLen, nor
// beyond the end of Source, is read; a SourcePos below 1 counts as 1.
// SourceLen must stay below 2,147,483,647, so that SourcePos can pass it.
std::string_view NextToken(std::string_view Source, std::int32_t& SourcePos,
                           std::int32_t SourceLen);

// The same cut for a caller that walks one whole text: at is the 0-based
// offset of the next unread byte and moves right behind the token, or to the
// end of text when the token is empty. Spares the token loop NextToken's
// conversions of positions on every call.
std::string_view CutNextToken(std::string_view text, std::size_t& at);

// The CR and the LF token that every line end of a text as it was loaded
// stands for.
inline constexpr std::string_view kLineEndTokens = "\r\n";

// The same cut for a text as it was loaded, whose lines may end in CR LF, LF
// or CR: it gives the tokens its joined form (every line followed by CR LF)
// would give. Every line end, whatever its bytes, comes as kLineEndTokens,
// the CR token and the LF token at once, or as the LF token alone when a
// "#id" marker removed the CR. Tokens that hold line ends keep them as
// they were loaded. The text must end in a line end, as its joined form
// does, or tokens left open at its end would differ. rule receives the rule
// that cut the token (TokenRule::kOneByte for a line end).
std::string_view CutNextLineToken(std::string_view text, std::size_t& at, TokenRule& rule);

// Every token of text, in order: what the layout pass receives. Throws
// ETextTooLarge for a text of 2,147,483,647 bytes or more.
std::vector<std::string_view> CutTokens(std::string_view text);

}  // namespace vemra
