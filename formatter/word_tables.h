// The words the layout pass recognises. Every table is a sorted constant
// list of lower-case words; tokens are looked up without regard to letter
// case, so the source may spell a word in any case and no lower-cased copy
// of a token is ever made.
#pragma once

#include <span>
#include <string_view>

namespace vemra {

// True when token equals lower_word apart from the letter case of A to Z.
bool SameWord(std::string_view token, std::string_view lower_word);

// The one lookup of every word table: token, letter case ignored, is an
// entry of the sorted table.
bool IsInWordTable(std::span<const std::string_view> table, std::string_view token);

// The 30 reserved words: "(" after one of them is not a call.
bool IsKeyword(std::string_view token);
// The 26 preprocessor directives.
bool IsDirective(std::string_view token);

// Words of the indentation rules.
bool IsClosingWord(std::string_view token);       // take back one level (two for a "case" "end")
bool IsLevelKeepingWord(std::string_view token);  // closing words that lower no level
bool IsOpeningWord(std::string_view token);       // open a level for the lines after
bool IsRoutineWord(std::string_view token);       // opening words a forward word spares
bool IsForwardWord(std::string_view token);       // "forward", "inline"
bool IsAccessorWord(std::string_view token);      // "read", "write"
// "and", "or", "xor", "not", "div", "mod": spaced like infix operators.
bool IsWordOperator(std::string_view token);

}  // namespace vemra
