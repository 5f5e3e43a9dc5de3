#include "textutil/line_changes.h"

#include <algorithm>
#include <cstdint>
#include <dtl/dtl.hpp>
#include <unordered_map>
#include <utility>

namespace vemra {

namespace {

// A line's text without blanks and line end, as a number: lines that
// formatting only re-indents or re-spaces keep their number. Two texts of
// one number are only ever paired, never taken for equal, so a rare clash
// costs at most a longer edit.
std::uint64_t LineKey(std::string_view line) {
  std::uint64_t hash = 14695981039346656037ull;
  for (const char c : line) {
    if (c == ' ' || c == '\t' || c == '\r' || c == '\n') continue;
    hash = (hash ^ static_cast<unsigned char>(c)) * 1099511628211ull;
  }
  return hash;
}

std::vector<std::uint64_t> LineKeys(const std::vector<std::string_view>& lines, std::size_t begin,
                                    std::size_t end) {
  std::vector<std::uint64_t> keys;
  keys.reserve(end - begin);
  for (std::size_t i = begin; i < end; ++i) keys.push_back(LineKey(lines[i]));
  return keys;
}

// The diff's work grows with the length of the texts times the lines one of
// them lacks; the lines found on one side only give the least it can be.
std::size_t DiffWork(const std::vector<std::uint64_t>& old_keys,
                     const std::vector<std::uint64_t>& new_keys) {
  std::unordered_map<std::uint64_t, std::ptrdiff_t> balance;
  for (const std::uint64_t key : old_keys) ++balance[key];
  for (const std::uint64_t key : new_keys) --balance[key];
  std::size_t only_old = 0;
  std::size_t only_new = 0;
  for (const auto& [key, count] : balance) {
    if (count > 0) only_old += static_cast<std::size_t>(count);
    if (count < 0) only_new += static_cast<std::size_t>(-count);
  }
  return (old_keys.size() + new_keys.size()) * (std::min(only_old, only_new) + 1);
}

// Builds the stretches from a walk over the paired lines: a run of paired
// lines whose bytes differ is one stretch, a run of lines of one side only
// another.
class StretchBuilder {
 public:
  explicit StretchBuilder(std::vector<LineStretch>& stretches) : stretches_(stretches) {}

  void Pair(std::size_t old_line, std::size_t new_line, bool differ) {
    if (!differ) {
      Close();
      return;
    }
    if (open_ && !paired_) Close();
    Extend(old_line, new_line, true);
    ++current_.old_end;
    ++current_.new_end;
  }
  void Remove(std::size_t old_line, std::size_t new_line) {
    Unpaired(old_line, new_line);
    ++current_.old_end;
  }
  void Insert(std::size_t old_line, std::size_t new_line) {
    Unpaired(old_line, new_line);
    ++current_.new_end;
  }
  void Close() {
    if (open_) stretches_.push_back(current_);
    open_ = false;
  }

 private:
  void Unpaired(std::size_t old_line, std::size_t new_line) {
    if (open_ && paired_) Close();
    Extend(old_line, new_line, false);
  }
  void Extend(std::size_t old_line, std::size_t new_line, bool paired) {
    if (open_) return;
    current_ = {old_line, old_line, new_line, new_line};
    open_ = true;
    paired_ = paired;
  }

  std::vector<LineStretch>& stretches_;
  LineStretch current_;
  bool open_ = false;
  bool paired_ = false;
};

// Where the middle of the texts starts, and the pairing of its lines.
struct Middle {
  const std::vector<std::string_view>& old_lines;
  const std::vector<std::string_view>& new_lines;
  std::size_t ob;  // the middle's first old line
  std::size_t nb;  // and first new line
  std::size_t max_work;

  // Old line o and new line n of the middle stand for each other.
  void Pair(StretchBuilder& builder, std::size_t o, std::size_t n) const {
    builder.Pair(ob + o, nb + n, old_lines[ob + o] != new_lines[nb + n]);
  }
};

// Lines whose key stands once in each text, paired, as many as keep the
// same order in both (the longest increasing run of their new places, in
// the order of the old ones): lines a diff would surely keep, which cut
// the texts into small gaps that are cheap to diff.
std::vector<std::pair<std::size_t, std::size_t>> UniqueAnchors(
    const std::vector<std::uint64_t>& old_keys, const std::vector<std::uint64_t>& new_keys) {
  struct Seen {
    std::size_t old_count = 0, new_count = 0, old_place = 0, new_place = 0;
  };
  std::unordered_map<std::uint64_t, Seen> seen;
  seen.reserve(old_keys.size() + new_keys.size());
  for (std::size_t i = 0; i < old_keys.size(); ++i) {
    Seen& s = seen[old_keys[i]];
    ++s.old_count;
    s.old_place = i;
  }
  for (std::size_t i = 0; i < new_keys.size(); ++i) {
    Seen& s = seen[new_keys[i]];
    ++s.new_count;
    s.new_place = i;
  }
  std::vector<std::pair<std::size_t, std::size_t>> pairs;
  for (const std::uint64_t key : old_keys) {
    const Seen& s = seen[key];
    if (s.old_count == 1 && s.new_count == 1) pairs.emplace_back(s.old_place, s.new_place);
  }
  // Patience sorting: tops[k] ends the best run of length k + 1 found so far.
  std::vector<std::size_t> tops;
  std::vector<std::size_t> before(pairs.size(), SIZE_MAX);
  for (std::size_t i = 0; i < pairs.size(); ++i) {
    const auto pile = std::lower_bound(
        tops.begin(), tops.end(), pairs[i].second,
        [&pairs](std::size_t top, std::size_t place) { return pairs[top].second < place; });
    if (pile != tops.begin()) before[i] = *(pile - 1);
    if (pile == tops.end()) {
      tops.push_back(i);
    } else {
      *pile = i;
    }
  }
  std::vector<std::pair<std::size_t, std::size_t>> anchors;
  for (std::size_t i = tops.empty() ? SIZE_MAX : tops.back(); i != SIZE_MAX; i = before[i]) {
    anchors.push_back(pairs[i]);
  }
  std::reverse(anchors.begin(), anchors.end());
  return anchors;
}

// How far ahead a walk along a gap looks for the next lines whose keys
// are equal, after lines that differ.
constexpr std::size_t kResyncWindow = 8;

// A gap too large for the diff library, walked once: lines of equal keys
// are paired; where they differ, the nearest place within kResyncWindow
// lines on either side where they meet again is taken, the lines skipped
// on the way removed or inserted; with none in reach, the two lines stand
// for each other. Linear, and the result is the same text: only the
// edits may be longer than the shortest ones.
void WalkGap(const std::vector<std::uint64_t>& old_keys, const std::vector<std::uint64_t>& new_keys,
             std::size_t o, std::size_t oe, std::size_t n, std::size_t ne, const Middle& middle,
             StretchBuilder& builder) {
  while (o < oe && n < ne) {
    if (old_keys[o] == new_keys[n]) {
      middle.Pair(builder, o++, n++);
      continue;
    }
    std::size_t skip_old = 0;
    std::size_t skip_new = 0;
    bool found = false;
    for (std::size_t total = 1; total <= 2 * kResyncWindow && !found; ++total) {
      for (std::size_t a = 0; a <= total && !found; ++a) {
        const std::size_t b = total - a;
        if (a > kResyncWindow || b > kResyncWindow || o + a >= oe || n + b >= ne) continue;
        if (old_keys[o + a] == new_keys[n + b]) {
          skip_old = a;
          skip_new = b;
          found = true;
        }
      }
    }
    if (!found) {
      middle.Pair(builder, o++, n++);
      continue;
    }
    for (; skip_old > 0; --skip_old) builder.Remove(middle.ob + o++, middle.nb + n);
    for (; skip_new > 0; --skip_new) builder.Insert(middle.ob + o, middle.nb + n++);
  }
  for (; o < oe; ++o) builder.Remove(middle.ob + o, middle.nb + n);
  for (; n < ne; ++n) builder.Insert(middle.ob + oe, middle.nb + n);
}

// The lines between two anchors, old keys [o, oe) and new [n, ne) of the
// middle, through the diff library, or walked when that would take long.
void DiffGap(const std::vector<std::uint64_t>& old_keys, const std::vector<std::uint64_t>& new_keys,
             std::size_t o, std::size_t oe, std::size_t n, std::size_t ne, const Middle& middle,
             StretchBuilder& builder) {
  const std::vector<std::uint64_t> old_gap(old_keys.begin() + o, old_keys.begin() + oe);
  const std::vector<std::uint64_t> new_gap(new_keys.begin() + n, new_keys.begin() + ne);
  if (old_gap.empty() || new_gap.empty() || DiffWork(old_gap, new_gap) > middle.max_work) {
    WalkGap(old_keys, new_keys, o, oe, n, ne, middle, builder);
    return;
  }
  dtl::Diff<std::uint64_t> diff(old_gap, new_gap);
  diff.compose();
  for (const auto& element : diff.getSes().getSequence()) {
    switch (element.second.type) {
      case dtl::SES_COMMON:
        middle.Pair(builder, o++, n++);
        break;
      case dtl::SES_DELETE:
        builder.Remove(middle.ob + o++, middle.nb + n);
        break;
      case dtl::SES_ADD:
        builder.Insert(middle.ob + o, middle.nb + n++);
        break;
    }
  }
}

// The middle of the texts, old [ob, oe) and new [nb, ne): anchored on the
// lines found once in each, and diffed by line keys between them.
void DiffMiddle(const std::vector<std::string_view>& old_lines,
                const std::vector<std::string_view>& new_lines, std::size_t ob, std::size_t oe,
                std::size_t nb, std::size_t ne, std::size_t max_work,
                std::vector<LineStretch>& stretches) {
  const std::vector<std::uint64_t> old_keys = LineKeys(old_lines, ob, oe);
  const std::vector<std::uint64_t> new_keys = LineKeys(new_lines, nb, ne);
  const Middle middle{old_lines, new_lines, ob, nb, max_work};
  StretchBuilder builder(stretches);
  std::size_t o = 0;
  std::size_t n = 0;
  for (const auto& [anchor_old, anchor_new] : UniqueAnchors(old_keys, new_keys)) {
    DiffGap(old_keys, new_keys, o, anchor_old, n, anchor_new, middle, builder);
    middle.Pair(builder, anchor_old, anchor_new);
    o = anchor_old + 1;
    n = anchor_new + 1;
  }
  DiffGap(old_keys, new_keys, o, old_keys.size(), n, new_keys.size(), middle, builder);
  builder.Close();
}

bool Touches(const LineStretch& stretch, const LineSpan& span) {
  if (stretch.old_begin == stretch.old_end) {
    return span.begin <= stretch.old_begin && stretch.old_begin <= span.end;
  }
  return stretch.old_begin < span.end && span.begin < stretch.old_end;
}

// The lines of a one-to-one stretch inside the spans, as stretches of their
// own.
void PairedLinesWithin(const LineStretch& stretch, const std::vector<LineSpan>& spans,
                       std::vector<LineStretch>& within) {
  StretchBuilder builder(within);
  for (std::size_t i = 0; i < stretch.old_end - stretch.old_begin; ++i) {
    const std::size_t line = stretch.old_begin + i;
    const bool inside = std::any_of(spans.begin(), spans.end(), [line](const LineSpan& span) {
      return span.begin <= line && line < span.end;
    });
    builder.Pair(line, stretch.new_begin + i, inside);
  }
  builder.Close();
}

}  // namespace

std::vector<std::string_view> SplitKeepingLineEnds(std::string_view text) {
  std::vector<std::string_view> lines;
  std::size_t start = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\n' && text[i] != '\r') continue;
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    lines.push_back(text.substr(start, i + 1 - start));
    start = i + 1;
  }
  if (start < text.size()) lines.push_back(text.substr(start));
  return lines;
}

std::vector<LineStretch> ChangedStretches(const std::vector<std::string_view>& old_lines,
                                          const std::vector<std::string_view>& new_lines,
                                          std::size_t max_work) {
  // The lines both texts begin and end with are passed over first: most
  // requests find few changes, and the diff then sees only those.
  std::size_t prefix = 0;
  while (prefix < old_lines.size() && prefix < new_lines.size() &&
         old_lines[prefix] == new_lines[prefix]) {
    ++prefix;
  }
  std::size_t suffix = 0;
  while (suffix < old_lines.size() - prefix && suffix < new_lines.size() - prefix &&
         old_lines[old_lines.size() - 1 - suffix] == new_lines[new_lines.size() - 1 - suffix]) {
    ++suffix;
  }
  std::vector<LineStretch> stretches;
  const std::size_t old_end = old_lines.size() - suffix;
  const std::size_t new_end = new_lines.size() - suffix;
  if (prefix == old_end && prefix == new_end) return stretches;
  if (prefix == old_end || prefix == new_end) {
    stretches.push_back({prefix, old_end, prefix, new_end});
    return stretches;
  }
  DiffMiddle(old_lines, new_lines, prefix, old_end, prefix, new_end, max_work, stretches);
  return stretches;
}

std::vector<LineStretch> StretchesWithin(const std::vector<LineStretch>& stretches,
                                         const std::vector<LineSpan>& spans) {
  std::vector<LineStretch> within;
  for (const LineStretch& stretch : stretches) {
    if (stretch.OneToOne()) {
      PairedLinesWithin(stretch, spans, within);
    } else if (std::any_of(spans.begin(), spans.end(),
                           [&](const LineSpan& span) { return Touches(stretch, span); })) {
      within.push_back(stretch);
    }
  }
  return within;
}

std::string ApplyStretches(const std::vector<std::string_view>& old_lines,
                           const std::vector<std::string_view>& new_lines,
                           const std::vector<LineStretch>& stretches) {
  std::string text;
  std::size_t next_old = 0;
  const auto append = [&text](const std::vector<std::string_view>& lines, std::size_t begin,
                              std::size_t end) {
    for (std::size_t i = begin; i < end; ++i) text.append(lines[i]);
  };
  for (const LineStretch& stretch : stretches) {
    append(old_lines, next_old, stretch.old_begin);
    append(new_lines, stretch.new_begin, stretch.new_end);
    next_old = stretch.old_end;
  }
  append(old_lines, next_old, old_lines.size());
  return text;
}

}  // namespace vemra
