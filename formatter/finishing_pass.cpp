#include "formatter/finishing_pass.h"

#include <algorithm>
#include <cstring>

#include "base/conversions.h"
#include "base/line_breaks.h"
#include "base/page_release.h"
#include "base/prefault.h"
#include "formatter/plain_lines.h"
#include "formatter/tab_removal.h"
#include "formatter/text_size_limit.h"
#include "textutil/pad_left.h"
#include "textutil/replace_all.h"

namespace vemra {
namespace {

// TABs are rare once indentation is written as blanks, so hopping from one
// to the next with memchr beats looking at every byte.
std::int64_t CountTabs(std::string_view text) {
  std::int64_t count = 0;
  const char* at = text.data();
  const char* const end = at + text.size();
  while (const void* tab = std::memchr(at, '\t', static_cast<std::size_t>(end - at))) {
    ++count;
    at = static_cast<const char*>(tab) + 1;
  }
  return count;
}

// The first TAB at or after from in text, or nullptr.
const char* FindTab(const char* from, std::string_view text) {
  const auto left = static_cast<std::size_t>(text.data() + text.size() - from);
  return static_cast<const char*>(std::memchr(from, '\t', left));
}

// How many CRs not followed by an LF, and LFs not behind a CR, text holds:
// how much longer it grows when every line end becomes CR LF.
std::int64_t CountLoneLineBreaks(std::string_view text) {
  std::int64_t count = 0;
  const char* const begin = text.data();
  const char* const end = begin + text.size();
  for (const char* at = begin;;) {
    const void* lf = std::memchr(at, '\n', static_cast<std::size_t>(end - at));
    if (lf == nullptr) break;
    at = static_cast<const char*>(lf);
    count += at == begin || at[-1] != '\r';
    ++at;
  }
  for (const char* at = begin;;) {
    const void* cr = std::memchr(at, '\r', static_cast<std::size_t>(end - at));
    if (cr == nullptr) break;
    at = static_cast<const char*>(cr) + 1;
    count += at == end || *at != '\n';
  }
  return count;
}

// line without its trailing bytes of value 0x20 or lower.
std::string_view Trimmed(std::string_view line) {
  std::size_t size = line.size();
  while (size > 0 && static_cast<unsigned char>(line[size - 1]) <= 0x20) --size;
  return line.substr(0, size);
}

// Builds the finished text through a pointer rather than by appending to a
// string, which for lines of a few dozen bytes costs more than the bytes:
// the string is made writable a megabyte ahead of the end at a time (which
// fills it with zeros while it stays in the cache), and a line costs one
// check for room and one copy.
class FinishedTextWriter {
 public:
  // Bytes a short line is copied in, whatever its length.
  static constexpr std::size_t kWideCopy = 64;

  // The text is built in buffer's memory, after the given start; buffer's
  // bytes are dropped.
  FinishedTextWriter(std::string&& buffer, std::string_view start) : text_(std::move(buffer)) {
    text_.clear();
    Append(start);
  }

  // Appends line and CR LF. Up to kWideCopy bytes from line's start may be
  // read where may_read_wide says so, even past its end.
  void AppendLine(std::string_view line, bool may_read_wide) {
    char* const out = Room(std::max(line.size(), kWideCopy) + 2);
    if (may_read_wide && line.size() <= kWideCopy) {
      std::memcpy(out, line.data(), kWideCopy);
    } else {
      std::memcpy(out, line.data(), line.size());
    }
    out[line.size()] = '\r';
    out[line.size() + 1] = '\n';
    end_ += line.size() + 2;
  }
  // Appends line with every TAB replaced by width blanks, and CR LF.
  void AppendExpandedLine(std::string_view line, std::size_t width) {
    for (;;) {
      const void* tab = std::memchr(line.data(), '\t', line.size());
      if (tab == nullptr) break;
      const auto before = static_cast<std::size_t>(static_cast<const char*>(tab) - line.data());
      Append(line.substr(0, before));
      std::memset(Room(width), ' ', width);
      end_ += width;
      line.remove_prefix(before + 1);
    }
    Append(line);
    Append("\r\n");
  }

  // A step at a time, so that the zeros written to make room are still in
  // the cache when the bytes overwrite them.
  void Append(std::string_view bytes) {
    while (!bytes.empty()) {
      const std::size_t piece = std::min(bytes.size(), kStep);
      std::memcpy(Room(piece), bytes.data(), piece);
      end_ += piece;
      bytes.remove_prefix(piece);
    }
  }
  std::string Take() {
    text_.resize(end_);
    return std::move(text_);
  }

 private:
  static constexpr std::size_t kStep = std::size_t{1} << 20;

  // Where size more bytes can be written; the room made ahead stays within
  // the memory the string holds already.
  char* Room(std::size_t size) {
    if (end_ + size > text_.size())
      Grow(std::max(end_ + size, std::min(text_.size() + kStep, text_.capacity())));
    return text_.data() + end_;
  }
  // Out of line: it runs once per step. Pages the memory lacks (fresh, or
  // given back to the system) are asked for in one go, not faulted in one
  // by one as the zeros are written.
  [[gnu::noinline]] void Grow(std::size_t size) { ResizePrefaulted(text_, size); }

  std::string text_;     // its size is how far it may be written
  std::size_t end_ = 0;  // the finished text's end
};

// The lines of text finished into spare's memory, behind the lines already
// finished (finished; previous_was_empty: whether the last of them is
// empty), for the rest of a text FinishInPlace cannot finish where it
// stands. text holds at most tabs TABs to expand, each to at least one
// blank; the size of the result has been checked. read_pages gives back
// the memory of the text, and of finished, as the lines are read: the
// finished text grows while the text it comes from shrinks.
std::string FinishText(std::string_view text, std::int64_t tabs, std::int32_t TabWidth,
                       bool CollapseBlankLines, std::string&& spare, std::string_view finished,
                       bool previous_was_empty, PageRelease read_pages) {
  const std::int64_t width = std::max<std::int64_t>(TabWidth, 0);
  // The laid-out text already ends its lines in CR LF, bar a few, and
  // trimming only shortens it: memory for its expanded size nearly always
  // suffices, and memory already in use costs no fresh pages. Otherwise
  // room for every line end doubled is reserved; memory reserved but never
  // written costs no pages either.
  const std::size_t expanded =
      finished.size() + text.size() + static_cast<std::size_t>(tabs * width);
  if (spare.capacity() < expanded) {
    // Not spare.reserve(), which would copy spare's bytes, dropped in any
    // case, into the new memory, and hold the old memory while it fills
    // the new: the peak would be one text more. spare stands until the
    // new memory is there.
    std::string room;
    room.reserve(2 * expanded);
    spare = std::move(room);
  }
  FinishedTextWriter result(std::move(spare), {});
  // The lines finished where they stood move a megabyte at a time, their
  // memory given back behind them: they and their copy never stand whole
  // side by side.
  constexpr std::size_t kMoveStep = std::size_t{1} << 20;
  for (std::size_t moved = 0; moved < finished.size();) {
    const std::size_t piece = std::min(finished.size() - moved, kMoveStep);
    result.Append(finished.substr(moved, piece));
    moved += piece;
    read_pages.Passed(finished.data() + moved);
  }
  const char* const end = text.data() + text.size();
  // Lines that start this far before the text's end may be read wide.
  const char* const wide_limit = end - std::min(text.size(), FinishedTextWriter::kWideCopy);
  // The next TAB at or after the current line, found once and kept until the
  // lines pass it: most lines hold none and are copied without a search.
  const char* next_tab = tabs > 0 ? FindTab(text.data(), text) : nullptr;
  line_breaks_detail::BreakFinder breaks(end);
  for (const char* at = text.data(); at < end;) {
    read_pages.Passed(at);
    const char* const plain_end = PlainLinesEnd(at, end, tabs > 0);
    if (plain_end != at) {
      result.Append(std::string_view(at, static_cast<std::size_t>(plain_end - at)));
      previous_was_empty = false;
      at = plain_end;
      if (at == end) break;
    }
    const char* const break_at = breaks.Next(at);
    // Trimming first gives the same line as expanding first: a TAB at the
    // end becomes blanks that trimming would remove as well.
    const std::string_view line =
        Trimmed(std::string_view(at, static_cast<std::size_t>(break_at - at)));
    at = line_breaks_detail::PastLineEnd(break_at, end);
    if (line.empty() && previous_was_empty && CollapseBlankLines) continue;
    previous_was_empty = line.empty();
    const char* const line_end = line.data() + line.size();
    if (next_tab != nullptr && next_tab < line.data()) next_tab = FindTab(line.data(), text);
    if (next_tab != nullptr && next_tab < line_end) {
      result.AppendExpandedLine(line, static_cast<std::size_t>(width));
      next_tab = FindTab(line_end, text);
    } else {
      result.AppendLine(line, line.data() < wide_limit);
    }
  }
  return result.Take();
}

// FinishText, built where the text stands. A finished line is never
// longer than the line it comes from with its line end, bar one whose lone
// LF or CR becomes CR LF or whose TABs grow to several blanks: lines are
// rewritten from the start of the text, behind the bytes still to be read.
// Should a line outgrow them, the rest is finished into spare's memory.
std::string FinishInPlace(std::string text, std::int64_t tabs, std::int32_t TabWidth,
                          bool CollapseBlankLines, std::string&& spare) {
  constexpr std::size_t kWide = FinishedTextWriter::kWideCopy;
  const auto width = static_cast<std::size_t>(std::max<std::int64_t>(TabWidth, 0));
  const std::size_t growth = width > 0 ? width - 1 : 0;  // of the line, for each TAB
  char* const base = text.data();
  const char* const end = base + text.size();
  std::size_t written = 0;
  bool previous_was_empty = false;
  std::string set_aside;  // a line with TABs, while it is expanded over itself
  const char* next_tab = tabs > 0 ? FindTab(base, text) : nullptr;
  line_breaks_detail::BreakFinder breaks(end);
  for (const char* at = base; at < end;) {
    // Plain lines stay as they are: while nothing has changed they stay
    // where they are, and afterwards they move down in one go.
    const char* const plain_end = PlainLinesEnd(at, end, tabs > 0);
    if (plain_end != at) {
      const auto size = static_cast<std::size_t>(plain_end - at);
      if (base + written != at) std::memmove(base + written, at, size);
      written += size;
      previous_was_empty = false;
      at = plain_end;
      if (at == end) break;
    }
    const char* const line_end = breaks.Next(at);
    const char* const next = line_breaks_detail::PastLineEnd(line_end, end);
    const std::string_view line =
        Trimmed(std::string_view(at, static_cast<std::size_t>(line_end - at)));
    if (line.empty() && previous_was_empty && CollapseBlankLines) {
      at = next;
      continue;
    }
    if (next_tab != nullptr && next_tab < at) next_tab = FindTab(at, text);
    const bool has_tabs = next_tab != nullptr && next_tab < at + line.size();
    const std::size_t line_tabs =
        has_tabs ? static_cast<std::size_t>(std::count(line.begin(), line.end(), '\t')) : 0;
    char* out = base + written;
    if (out + line.size() + line_tabs * growth + 2 > next) {
      return FinishText(std::string_view(at, static_cast<std::size_t>(end - at)), tabs, TabWidth,
                        CollapseBlankLines, std::move(spare), std::string_view(base, written),
                        previous_was_empty, PageRelease(base, text.size()));
    }
    previous_was_empty = line.empty();
    if (has_tabs) {
      set_aside.assign(line);
      for (const char c : set_aside) {
        if (c == '\t') {
          out = std::fill_n(out, width, ' ');
        } else {
          *out++ = c;
        }
      }
      next_tab = FindTab(line_end, text);
    } else if (line.size() <= kWide && out + kWide <= at &&
               end - at >= static_cast<std::ptrdiff_t>(kWide)) {
      // A short line far enough behind is copied in one move; a line near
      // the bytes it is copied to moves with memmove, which allows the overlap.
      std::memcpy(out, at, kWide);
      out += line.size();
    } else {
      std::memmove(out, at, line.size());
      out += line.size();
    }
    out[0] = '\r';
    out[1] = '\n';
    written = static_cast<std::size_t>(out + 2 - base);
    at = next;
  }
  text.resize(written);
  return text;
}

// FinishedText for a text holding tabs TABs to expand, each to at least
// one blank unless they vanish.
std::string FinishedTextWithTabs(std::string text, std::int64_t tabs, std::int32_t TabWidth,
                                 bool CollapseBlankLines, std::string&& spare) {
  if (tabs > 0 && TabWidth <= 0) {
    // TABs that vanish go before the text is split into lines: they can
    // join a CR and an LF into one line end.
    ExpandTabs(text, TabWidth);
    tabs = 0;
  }
  if (tabs > 0) {
    CheckTextSize(static_cast<std::int64_t>(text.size()) +
                  tabs * (std::max<std::int64_t>(TabWidth, 0) - 1));
  }
  return FinishInPlace(std::move(text), tabs, TabWidth, CollapseBlankLines, std::move(spare));
}

}  // namespace

void ExpandTabs(std::string& text, std::int32_t TabWidth) {
  const std::int64_t width = std::max<std::int64_t>(TabWidth, 0);
  const std::int64_t tabs = CountTabs(text);
  if (tabs == 0) return;
  CheckTextSize(static_cast<std::int64_t>(text.size()) + tabs * (width - 1));
  if (width == 0) {
    RemoveTabs(text);
    return;
  }
  std::string blanks;
  PadLeft(blanks, ' ', TabWidth);
  ReplaceAll(text, "\t", blanks);
}

void AppendTrimmedLines(std::string& result, std::string_view text, bool CollapseBlankLines,
                        std::string_view line_end, bool& previous_was_empty) {
  ForEachLine(text, [&](std::string_view line) {
    line = TrimmedTrailing(line);
    if (line.empty() && previous_was_empty && CollapseBlankLines) return;
    previous_was_empty = line.empty();
    result.append(line);
    result.append(line_end);
  });
}

std::string TrimLines(std::string_view text, bool CollapseBlankLines) {
  std::string result;
  result.reserve(text.size());
  bool previous_was_empty = false;
  AppendTrimmedLines(result, text, CollapseBlankLines, "\n", previous_was_empty);
  return result;
}

void DropBlanksBehindLastLineBreak(std::string& text) {
  std::size_t end = text.size();
  while (end > 0 && (text[end - 1] == ' ' || text[end - 1] == '\t')) --end;
  if (end > 0 && line_breaks_detail::IsBreak(text[end - 1])) text.resize(end);
}

std::string FinishedText(std::string text, std::int32_t TabWidth, bool UseTabs,
                         bool CollapseBlankLines, std::string&& spare) {
  const std::int64_t tabs = UseTabs ? 0 : CountTabs(text);
  return FinishedTextWithTabs(std::move(text), tabs, TabWidth, CollapseBlankLines,
                              std::move(spare));
}

FinishedLines FinishLines(std::string Output, const FormatOptions& options, std::string&& spare) {
  const std::int32_t TabWidth = options.TabWidth;
  const std::int64_t width = std::max<std::int64_t>(TabWidth, 0);
  const std::int64_t tabs = options.UseTabs ? 0 : CountTabs(Output);
  const std::int64_t expanded_size = static_cast<std::int64_t>(Output.size()) + tabs * (width - 1);
  if (expanded_size > kCrLfSafeSize && expanded_size + CountLoneLineBreaks(Output) > kMaxTextSize) {
    // A text this large whose lone CRs and LFs could take its CR LF form
    // past the size limit of the list is kept with LF line ends; saving
    // adds the CR where chosen. The laid-out text of a loaded text writes
    // every line end as CR LF, so this is never the case for it: building
    // the result apart from the laid-out text would hold both in memory.
    if (!options.UseTabs) ExpandTabs(Output, TabWidth);
    std::string finished = TrimLines(Output, options.CollapseBlankLines);
    Output = std::string();  // release the laid-out text before the lines are handed on
    return {std::move(finished), LineEnding::kLf};
  }
  // Fast path: the finished text is built with CR LF line ends in one pass,
  // for the list to take without a copy and save as it is.
  std::string finished = FinishedTextWithTabs(std::move(Output), tabs, TabWidth,
                                              options.CollapseBlankLines, std::move(spare));
  if (options.line_ending == LineEnding::kLf) CrLfToLf(finished);
  return {std::move(finished), options.line_ending};
}

void AdoptFinishedLines(TStringList& lines, FinishedLines finished, LineEnding line_ending) {
  if (finished.ending == line_ending) {
    lines.AdoptJoinedText(std::move(finished.text), line_ending);
  } else {
    lines.AdoptText(std::move(finished.text));
    lines.SetLineEnding(line_ending);
  }
}

void FinishingPass(std::string Output, TStringList& lines, std::int32_t TabWidth, bool UseTabs,
                   bool CollapseBlankLines, LineEnding line_ending, std::string&& spare) {
  const FormatOptions options{TabWidth, UseTabs, CollapseBlankLines, line_ending};
  AdoptFinishedLines(lines, FinishLines(std::move(Output), options, std::move(spare)), line_ending);
}

}  // namespace vemra
