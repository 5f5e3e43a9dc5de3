#include "cli/unified_diff.h"

#include <algorithm>
#include <cstddef>
#include <dtl/dtl.hpp>
#include <unordered_map>

#include "textutil/quote_name.h"

namespace vemra {
namespace {

constexpr std::size_t kContextLines = 3;

// Which lines of one side the edit script removes (old side) or inserts (new
// side). Index 0 and the last index are sentinels that are never changed, so
// that the boundary walks below need no range checks.
struct ChangedLines {
  explicit ChangedLines(std::size_t lines) : flags(lines + 2, 0) {}
  char& operator[](std::ptrdiff_t line) { return flags[line + 1]; }
  std::ptrdiff_t size() const { return static_cast<std::ptrdiff_t>(flags.size()) - 2; }
  std::vector<char> flags;
};

using Lines = std::vector<std::string_view>;

// The lines of text as diff cuts them: each up to and with its LF, the
// last without one when the text does not end in LF.
Lines CutAfterLineFeeds(std::string_view text) {
  Lines lines;
  while (!text.empty()) {
    const std::size_t end = std::min(text.find('\n'), text.size() - 1) + 1;
    lines.push_back(text.substr(0, end));
    text.remove_prefix(end);
  }
  return lines;
}

// Equal lines get equal numbers, so that comparisons are cheap.
std::vector<std::size_t> LineClasses(const Lines& lines,
                                     std::unordered_map<std::string_view, std::size_t>& classes) {
  std::vector<std::size_t> ids;
  ids.reserve(lines.size());
  for (const std::string_view line : lines)
    ids.push_back(classes.emplace(line, classes.size()).first->second);
  return ids;
}

// Slides every run of changed lines of one side, among equal lines, first
// back and then forward as far as it goes, and finally back to where it meets
// a change of the other side: the canonical placement that diff -u shows, so
// that equally short edit scripts print the same hunks.
void ShiftBoundaries(ChangedLines& changed, ChangedLines& other_changed,
                     const std::vector<std::size_t>& equivs) {
  const std::ptrdiff_t i_end = changed.size();
  std::ptrdiff_t i = 0;
  std::ptrdiff_t j = 0;
  for (;;) {
    while (i < i_end && !changed[i]) {
      while (other_changed[j++]) continue;
      ++i;
    }
    if (i == i_end) break;
    std::ptrdiff_t start = i;
    while (changed[++i]) continue;
    while (other_changed[j]) ++j;
    std::ptrdiff_t corresponding;
    std::ptrdiff_t run_length;
    do {
      run_length = i - start;
      while (start != 0 && equivs[start - 1] == equivs[i - 1]) {
        changed[--start] = 1;
        changed[--i] = 0;
        while (changed[start - 1]) --start;
        while (other_changed[--j]) continue;
      }
      corresponding = other_changed[j - 1] ? i : i_end;
      while (i != i_end && equivs[start] == equivs[i]) {
        changed[start++] = 0;
        changed[i++] = 1;
        while (changed[i]) ++i;
        while (other_changed[++j]) corresponding = i;
      }
    } while (run_length != i - start);
    while (corresponding < i) {
      changed[--start] = 1;
      changed[--i] = 0;
      while (other_changed[--j]) continue;
    }
  }
}

enum class Edit { kKeep, kRemove, kInsert };

// One line of the edit script and the line it stands for.
struct ScriptLine {
  Edit edit;
  std::string_view text;
};

// A shortest edit script from the diff library, in canonical placement: kept,
// removed and inserted lines in order, removals before insertions.
std::vector<ScriptLine> EditScript(const Lines& old_lines, const Lines& new_lines) {
  dtl::Diff<std::string_view> diff(old_lines, new_lines);
  diff.compose();
  ChangedLines removed(old_lines.size());
  ChangedLines inserted(new_lines.size());
  for (const auto& element : diff.getSes().getSequence()) {
    const dtl::elemInfo& info = element.second;
    if (info.type == dtl::SES_DELETE) removed[info.beforeIdx - 1] = 1;
    if (info.type == dtl::SES_ADD) inserted[info.afterIdx - 1] = 1;
  }
  std::unordered_map<std::string_view, std::size_t> classes;
  ShiftBoundaries(removed, inserted, LineClasses(old_lines, classes));
  ShiftBoundaries(inserted, removed, LineClasses(new_lines, classes));

  std::vector<ScriptLine> script;
  std::ptrdiff_t o = 0;
  std::ptrdiff_t n = 0;
  while (o < removed.size() || n < inserted.size()) {
    if (o < removed.size() && removed[o]) {
      script.push_back({Edit::kRemove, old_lines[o++]});
    } else if (n < inserted.size() && inserted[n]) {
      script.push_back({Edit::kInsert, new_lines[n++]});
    } else {
      script.push_back({Edit::kKeep, old_lines[o++]});
      ++n;
    }
  }
  return script;
}

// "l,s" of a hunk header; a range of one line is just "l", an empty range is
// named by the line before it.
std::string HunkRange(std::size_t lines_before, std::size_t count) {
  if (count == 1) return std::to_string(lines_before + 1);
  return std::to_string(count == 0 ? lines_before : lines_before + 1) + "," + std::to_string(count);
}

// The escapes that start and end a line of each kind; none without colour.
struct LineMarks {
  std::string_view start;
  std::string_view end;
};

struct Marks {
  LineMarks header;   // "---" and "+++"
  LineMarks hunk;     // "@@ ... @@"
  LineMarks edit[3];  // by Edit: kept, removed, inserted
};

constexpr Marks kPlain = {};
constexpr std::string_view kReset = "\x1b[m";
constexpr Marks kTerminal = {{"\x1b[1m", kReset},
                             {"\x1b[36m", kReset},
                             {{"", ""}, {"\x1b[31m", kReset}, {"\x1b[32m", kReset}}};

void AppendMarked(const LineMarks& marks, std::string_view text, std::string& out) {
  out += marks.start;
  out += text;
  out += marks.end;
  out += '\n';
}

const char kEditMark[] = {' ', '-', '+'};

// One line of the script with its mark. A line keeps its own bytes, a CR
// among them; one without an LF, the text's last, is said to be so.
void AppendScriptLine(const ScriptLine& line, const Marks& marks, std::string& out) {
  std::string_view text = line.text;
  const bool complete = text.ends_with('\n');
  if (complete) text.remove_suffix(1);
  const LineMarks& edit_marks = marks.edit[static_cast<int>(line.edit)];
  out += edit_marks.start;
  out += kEditMark[static_cast<int>(line.edit)];
  out += text;
  out += edit_marks.end;
  out += '\n';
  if (!complete) out += "\\ No newline at end of file\n";
}

// Writes script[first, last) as one hunk.
void AppendHunk(const std::vector<ScriptLine>& script, std::size_t first, std::size_t last,
                std::size_t old_before, std::size_t new_before, const Marks& marks,
                std::string& out) {
  std::size_t old_count = 0;
  std::size_t new_count = 0;
  for (std::size_t i = first; i < last; ++i) {
    old_count += script[i].edit != Edit::kInsert;
    new_count += script[i].edit != Edit::kRemove;
  }
  AppendMarked(
      marks.hunk,
      "@@ -" + HunkRange(old_before, old_count) + " +" + HunkRange(new_before, new_count) + " @@",
      out);
  for (std::size_t i = first; i < last; ++i) AppendScriptLine(script[i], marks, out);
}

// A header line's name: quoted where it holds control bytes; followed by a
// TAB where it holds a blank, which would otherwise end the name for some
// tools.
std::string HeaderName(const std::string& label) {
  const std::string name = QuoteName(label);
  return name.find(' ') == std::string::npos ? name : name + "\t";
}

}  // namespace

std::string UnifiedDiff(std::string_view old_text, std::string_view new_text,
                        const std::string& old_label, const std::string& new_label,
                        DiffColours colours) {
  const Marks& marks = colours == DiffColours::kTerminal ? kTerminal : kPlain;
  const std::vector<ScriptLine> script =
      EditScript(CutAfterLineFeeds(old_text), CutAfterLineFeeds(new_text));
  std::string out;
  std::size_t old_seen = 0;  // lines of each side before script[i]
  std::size_t new_seen = 0;
  std::size_t i = 0;
  while (i < script.size()) {
    if (script[i].edit == Edit::kKeep) {
      ++old_seen, ++new_seen, ++i;
      continue;
    }
    // A change at i opens a hunk with up to three kept lines before it; the
    // hunk takes in every further change that follows within six kept lines.
    const std::size_t lead = std::min(kContextLines, old_seen);
    std::size_t last = i;
    std::size_t kept = 0;
    for (;;) {
      while (last < script.size() && script[last].edit != Edit::kKeep) ++last;
      kept = 0;
      while (last + kept < script.size() && script[last + kept].edit == Edit::kKeep) ++kept;
      if (last + kept == script.size() || kept > 2 * kContextLines) break;
      last += kept;
    }
    if (out.empty()) {
      AppendMarked(marks.header, "--- " + HeaderName(old_label), out);
      AppendMarked(marks.header, "+++ " + HeaderName(new_label), out);
    }
    const std::size_t end = last + std::min(kept, kContextLines);
    AppendHunk(script, i - lead, end, old_seen - lead, new_seen - lead, marks, out);
    for (; i < last + kept; ++i) {
      old_seen += script[i].edit != Edit::kInsert;
      new_seen += script[i].edit != Edit::kRemove;
    }
  }
  return out;
}

}  // namespace vemra
