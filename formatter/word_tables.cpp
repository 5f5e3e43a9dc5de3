#include "formatter/word_tables.h"

#include <algorithm>
#include <array>
#include <span>
#include <utility>

namespace vemra {
namespace {

using namespace word_tables_detail;

using std::string_view_literals::operator""sv;

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

static_assert(std::ranges::is_sorted(kKeywordTable) && std::ranges::is_sorted(kDirectiveTable));
static_assert(std::ranges::is_sorted(kClosingWords) && std::ranges::is_sorted(kOpeningWords));
static_assert(std::ranges::is_sorted(kRoutineWords) && std::ranges::is_sorted(kWordOperators));
static_assert(std::ranges::is_sorted(kStaysInPlaceWords));

// Every word in the slot its key gives; the multiplier is one under which
// no two words share a slot.
constexpr std::pair<std::array<WordSlot, kWordSlotCount>, bool> MakeWordSlots() {
  std::array<WordSlot, kWordSlotCount> slots{};
  bool distinct = true;
  for (const WordEntry& entry : kRoleTable) {
    const std::string_view word = entry.word;
    WordSlot& slot = slots[SlotOf(word[0], word[1], word.back(), word.size())];
    distinct = distinct && slot.size == 0;
    for (std::size_t i = 0; i < word.size(); ++i) slot.word[i] = word[i];
    slot.size = static_cast<std::uint8_t>(word.size());
    slot.roles = entry.roles;
  }
  return {slots, distinct};
}

constexpr auto kMadeSlots = MakeWordSlots();
static_assert(kMadeSlots.second,
              "two words share a slot: pick another kSlotMultiplier (any odd number under "
              "which the words' keys land in distinct slots)");
static_assert(std::ranges::all_of(kRoleTable,
                                  [](const WordEntry& e) {
                                    return e.word.size() >= kShortestWord &&
                                           e.word.size() <= kLongestWord;
                                  }),
              "every word is within the lengths WordRolesOf looks up");

}  // namespace

namespace word_tables_detail {

constexpr std::array<WordSlot, kWordSlotCount> kWordSlots = kMadeSlots.first;

}  // namespace word_tables_detail

}  // namespace vemra
