#include "formatter/word_tables.h"

#include <algorithm>
#include <array>
#include <span>
#include <utility>

namespace vemra {
namespace {

using std::string_view_literals::operator""sv;

constexpr unsigned char LowerByte(unsigned char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<unsigned char>(c + ('a' - 'A')) : c;
}

// Orders a token, lowered on the fly, against a lower-case table word.
constexpr int CompareLowered(std::string_view token, std::string_view lower_word) {
  const std::size_t common = std::min(token.size(), lower_word.size());
  for (std::size_t i = 0; i < common; ++i) {
    const unsigned char a = LowerByte(static_cast<unsigned char>(token[i]));
    const unsigned char b = static_cast<unsigned char>(lower_word[i]);
    if (a != b) return a < b ? -1 : 1;
  }
  if (token.size() == lower_word.size()) return 0;
  return token.size() < lower_word.size() ? -1 : 1;
}

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
constexpr std::array kStaysInPlaceWords = {"#inherited"sv, "#object"sv};

static_assert(kKeywordTable.size() == 30 && kDirectiveTable.size() == 26);

struct WordEntry {
  std::string_view word;  // lower case
  std::uint32_t roles;    // WordRole bits
};

// Every list above with its role, and the words with rules of their own.
constexpr std::array kRoleLists = {
    std::pair{std::span<const std::string_view>(kKeywordTable), std::uint32_t{kKeyword}},
    std::pair{std::span<const std::string_view>(kDirectiveTable), std::uint32_t{kDirective}},
    std::pair{std::span<const std::string_view>(kClosingWords), std::uint32_t{kClosingWord}},
    std::pair{std::span<const std::string_view>(kLevelKeepingWords), std::uint32_t{kKeepsLevel}},
    std::pair{std::span<const std::string_view>(kOpeningWords), std::uint32_t{kOpeningWord}},
    std::pair{std::span<const std::string_view>(kRoutineWords), std::uint32_t{kRoutineWord}},
    std::pair{std::span<const std::string_view>(kForwardWords), std::uint32_t{kForwardWord}},
    std::pair{std::span<const std::string_view>(kAccessorWords), std::uint32_t{kAccessorWord}},
    std::pair{std::span<const std::string_view>(kWordOperators), std::uint32_t{kWordOperator}},
    std::pair{std::span<const std::string_view>(kStaysInPlaceWords), std::uint32_t{kStaysInPlace}},
};
constexpr std::array kSingleWords = {
    WordEntry{"end", kEndWord},   WordEntry{"else", kElseWord}, WordEntry{"if", kIfWord},
    WordEntry{"case", kCaseWord}, WordEntry{"not", kNotWord},   WordEntry{"#define", kDefineWord},
};

constexpr std::size_t CountRoleEntries() {
  std::size_t count = kSingleWords.size();
  for (const auto& [words, role] : kRoleLists) count += words.size();
  return count;
}

// The lists merged into one sorted table, one entry per distinct word with
// all of its roles; the unused tail holds empty entries.
constexpr auto MergeRoleTable() {
  std::array<WordEntry, CountRoleEntries()> all{};
  std::size_t count = 0;
  for (const auto& [words, role] : kRoleLists) {
    for (std::string_view word : words) all[count++] = {word, role};
  }
  for (const WordEntry& entry : kSingleWords) all[count++] = entry;
  std::sort(all.begin(), all.end(),
            [](const WordEntry& a, const WordEntry& b) { return a.word < b.word; });
  std::array<WordEntry, CountRoleEntries()> merged{};
  std::size_t distinct = 0;
  for (const WordEntry& entry : all) {
    if (distinct > 0 && merged[distinct - 1].word == entry.word) {
      merged[distinct - 1].roles |= entry.roles;
    } else {
      merged[distinct++] = entry;
    }
  }
  return std::pair{merged, distinct};
}

constexpr auto kMergedRoles = MergeRoleTable();
constexpr std::span<const WordEntry> kRoleTable(kMergedRoles.first.data(), kMergedRoles.second);

// Where the words of each first byte begin and end in the merged table: a
// token is compared only with the few words that share its first byte, and
// most names, whose first byte starts no word, with none.
struct FirstByteIndex {
  std::array<std::uint8_t, 257> start{};  // entries [start[b], start[b + 1]) begin with byte b
};

constexpr FirstByteIndex MakeFirstByteIndex() {
  FirstByteIndex index;
  std::size_t entry = 0;
  for (std::size_t byte = 0; byte < 256; ++byte) {
    index.start[byte] = static_cast<std::uint8_t>(entry);
    while (entry < kRoleTable.size() &&
           static_cast<unsigned char>(kRoleTable[entry].word[0]) == byte) {
      ++entry;
    }
  }
  index.start[256] = static_cast<std::uint8_t>(entry);
  return index;
}

constexpr FirstByteIndex kFirstByteIndex = MakeFirstByteIndex();
static_assert(kRoleTable.size() < 256 && kFirstByteIndex.start[256] == kRoleTable.size());

static_assert(std::ranges::is_sorted(kKeywordTable) && std::ranges::is_sorted(kDirectiveTable));
static_assert(std::ranges::is_sorted(kClosingWords) && std::ranges::is_sorted(kOpeningWords));
static_assert(std::ranges::is_sorted(kRoutineWords) && std::ranges::is_sorted(kWordOperators));
static_assert(std::ranges::is_sorted(kStaysInPlaceWords));

constexpr std::array<std::uint16_t, 256> MakeLengthsByFirstByte() {
  std::array<std::uint16_t, 256> lengths{};
  for (const WordEntry& entry : kRoleTable) {
    const auto first = static_cast<unsigned char>(entry.word[0]);
    const auto bit = static_cast<std::uint16_t>(1u << entry.word.size());
    lengths[first] |= bit;
    if (first >= 'a' && first <= 'z') lengths[first - ('a' - 'A')] |= bit;
  }
  return lengths;
}

static_assert(std::ranges::all_of(kRoleTable,
                                  [](const WordEntry& e) { return e.word.size() < 16; }),
              "the length filter holds lengths below 16");

}  // namespace

namespace word_tables_detail {

constexpr std::array<std::uint16_t, 256> kLengthsByFirstByte = MakeLengthsByFirstByte();

}  // namespace word_tables_detail

std::uint32_t word_tables_detail::LookUpRoles(std::string_view token) {
  if (token.empty()) return 0;
  const unsigned char first = LowerByte(static_cast<unsigned char>(token[0]));
  for (std::size_t i = kFirstByteIndex.start[first]; i < kFirstByteIndex.start[first + 1]; ++i) {
    const WordEntry& entry = kRoleTable[i];
    if (entry.word.size() == token.size() && CompareLowered(token, entry.word) == 0) {
      return entry.roles;
    }
  }
  return 0;
}

}  // namespace vemra
