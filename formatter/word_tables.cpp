#include "formatter/word_tables.h"

#include <algorithm>
#include <array>
#include <cstdint>

namespace vemra {
namespace {

using std::string_view_literals::operator""sv;

constexpr unsigned char LowerByte(unsigned char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<unsigned char>(c + ('a' - 'A')) : c;
}

// Orders a token, lowered on the fly, against a lower-case table word.
int CompareLowered(std::string_view token, std::string_view lower_word) {
  const std::size_t common = std::min(token.size(), lower_word.size());
  for (std::size_t i = 0; i < common; ++i) {
    const unsigned char a = LowerByte(static_cast<unsigned char>(token[i]));
    const unsigned char b = static_cast<unsigned char>(lower_word[i]);
    if (a != b) return a < b ? -1 : 1;
  }
  if (token.size() == lower_word.size()) return 0;
  return token.size() < lower_word.size() ? -1 : 1;
}

// A sorted word list with a quick filter in front of the search: most
// tokens are names that no list holds, and the filter turns them away on
// their length and first byte alone.
class WordTable {
 public:
  template <std::size_t N>
  constexpr explicit WordTable(const std::array<std::string_view, N>& words) : words_(words) {
    for (std::string_view word : words) {
      lengths_ |= std::uint32_t{1} << word.size();
      first_bytes_[static_cast<unsigned char>(word[0])] = true;
    }
  }

  bool Contains(std::string_view token) const {
    if (token.size() >= 32 || (lengths_ >> token.size() & 1) == 0) return false;
    if (!first_bytes_[LowerByte(static_cast<unsigned char>(token[0]))]) return false;
    return IsInWordTable(words_, token);
  }

 private:
  std::span<const std::string_view> words_;  // sorted, lower case
  std::uint32_t lengths_ = 0;                // bit n set: some word is n bytes long
  std::array<bool, 256> first_bytes_{};      // the words' first bytes
};

constexpr std::array kKeywordTable = {
    "and"sv,    "case"sv,    "div"sv,      "else"sv,    "end"sv,        "event"sv,
    "except"sv, "finally"sv, "for"sv,      "foreach"sv, "foreachrev"sv, "forward"sv,
    "func"sv,   "if"sv,      "mod"sv,      "nfunc"sv,   "not"sv,        "nproc"sv,
    "or"sv,     "proc"sv,    "property"sv, "read"sv,    "repeat"sv,     "return"sv,
    "try"sv,    "until"sv,   "using"sv,    "while"sv,   "write"sv,      "xor"sv,
};

constexpr std::array kDirectiveTable = {
    "#c_declare"sv, "#c_declareapi"sv, "#class"sv,      "#debug"sv,  "#debugfile"sv, "#debugoff"sv,
    "#debugon"sv,   "#declare"sv,      "#declareapi"sv, "#define"sv, "#else"sv,      "#endclass"sv,
    "#endif"sv,     "#endnamespace"sv, "#globals"sv,    "#ifdef"sv,  "#ifndef"sv,    "#import"sv,
    "#include"sv,   "#inherited"sv,    "#library"sv,    "#link"sv,   "#locals"sv,    "#namespace"sv,
    "#noppc"sv,     "#object"sv,
};

constexpr std::array kClosingWords = {
    "#endclass"sv, "else"sv, "end"sv, "except"sv, "finally"sv, "until"sv,
};

constexpr std::array kLevelKeepingWords = {"except"sv, "finally"sv};

constexpr std::array kOpeningWords = {
    "#class"sv, "case"sv,  "else"sv, "for"sv,    "foreach"sv, "foreachrev"sv, "func"sv,
    "nfunc"sv,  "nproc"sv, "proc"sv, "repeat"sv, "try"sv,     "using"sv,      "while"sv,
};

constexpr std::array kRoutineWords = {"func"sv, "nfunc"sv, "nproc"sv, "proc"sv};
constexpr std::array kForwardWords = {"forward"sv, "inline"sv};
constexpr std::array kAccessorWords = {"read"sv, "write"sv};
constexpr std::array kWordOperators = {"and"sv, "div"sv, "mod"sv, "not"sv, "or"sv, "xor"sv};

// The lookup is a binary search, so every table must stay sorted.
static_assert(std::ranges::is_sorted(kKeywordTable) && kKeywordTable.size() == 30);
static_assert(std::ranges::is_sorted(kDirectiveTable) && kDirectiveTable.size() == 26);
static_assert(std::ranges::is_sorted(kClosingWords) && std::ranges::is_sorted(kOpeningWords));
static_assert(std::ranges::is_sorted(kRoutineWords) && std::ranges::is_sorted(kWordOperators));

constexpr WordTable kKeywords(kKeywordTable);
constexpr WordTable kDirectives(kDirectiveTable);
constexpr WordTable kClosing(kClosingWords);
constexpr WordTable kLevelKeeping(kLevelKeepingWords);
constexpr WordTable kOpening(kOpeningWords);
constexpr WordTable kRoutine(kRoutineWords);
constexpr WordTable kForward(kForwardWords);
constexpr WordTable kAccessor(kAccessorWords);
constexpr WordTable kOperatorWords(kWordOperators);

}  // namespace

bool SameWord(std::string_view token, std::string_view lower_word) {
  return token.size() == lower_word.size() && CompareLowered(token, lower_word) == 0;
}

bool IsInWordTable(std::span<const std::string_view> table, std::string_view token) {
  std::size_t low = 0;
  std::size_t high = table.size();
  while (low < high) {
    const std::size_t middle = low + (high - low) / 2;
    const int order = CompareLowered(token, table[middle]);
    if (order == 0) return true;
    if (order < 0) {
      high = middle;
    } else {
      low = middle + 1;
    }
  }
  return false;
}

bool IsKeyword(std::string_view token) {
  return kKeywords.Contains(token);
}
bool IsDirective(std::string_view token) {
  return kDirectives.Contains(token);
}
bool IsClosingWord(std::string_view token) {
  return kClosing.Contains(token);
}
bool IsLevelKeepingWord(std::string_view token) {
  return kLevelKeeping.Contains(token);
}
bool IsOpeningWord(std::string_view token) {
  return kOpening.Contains(token);
}
bool IsRoutineWord(std::string_view token) {
  return kRoutine.Contains(token);
}
bool IsForwardWord(std::string_view token) {
  return kForward.Contains(token);
}
bool IsAccessorWord(std::string_view token) {
  return kAccessor.Contains(token);
}
bool IsWordOperator(std::string_view token) {
  return kOperatorWords.Contains(token);
}

}  // namespace vemra
