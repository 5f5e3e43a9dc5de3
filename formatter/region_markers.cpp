#include "formatter/region_markers.h"

#include <algorithm>
#include <cstdint>
#include <string>

#include "base/conversions.h"

namespace vemra {
namespace {

constexpr std::string_view kMarkerWord = "vemrafmt: ";

// The sizes first: a comment may be long, and only short ones are lowered.
bool EqualIgnoringCase(std::string_view text, std::string_view lower) {
  return text.size() == lower.size() && LowerAscii(text) == lower;
}

// text with every TAB turned into what the saved text holds for it, save
// that more than two blanks are written as two: blanks around the words go
// however many they are, and two or more between them spoil the match
// alike. (A TAB may stand for millions of blanks.)
std::string TabsAsSaved(std::string_view text, IndentUnit unit) {
  const auto blanks = static_cast<std::size_t>(std::min<std::int64_t>(unit.width, 2));
  std::string saved;
  for (const char c : text) {
    if (c == '\t') {
      saved.append(blanks, ' ');
    } else {
      saved += c;
    }
  }
  return saved;
}

}  // namespace

RegionMarker RegionMarkerOf(std::string_view line_comment, IndentUnit unit) {
  std::string_view text = line_comment.substr(2);
  std::string saved;
  if (unit.byte != '\t' && text.find('\t') != std::string_view::npos) {
    saved = TabsAsSaved(text, unit);
    text = saved;
  }
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  text = TrimmedTrailing(text);
  // Most comments are told apart by their first word.
  if (text.size() < kMarkerWord.size() ||
      !EqualIgnoringCase(text.substr(0, kMarkerWord.size()), kMarkerWord)) {
    return RegionMarker::kNone;
  }
  const std::string_view state = text.substr(kMarkerWord.size());
  if (EqualIgnoringCase(state, "off")) return RegionMarker::kOff;
  if (EqualIgnoringCase(state, "on")) return RegionMarker::kOn;
  return RegionMarker::kNone;
}

}  // namespace vemra
