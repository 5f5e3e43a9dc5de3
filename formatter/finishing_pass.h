// The finishing pass: turns the laid-out text into the lines that are saved.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "base/line_ending.h"
#include "base/string_list.h"
#include "formatter/format_options.h"
#include "formatter/text_size_limit.h"

namespace vemra {

// Replaces every TAB of text, indentation and TABs inside comments and
// literals alike, by TabWidth blanks (none for a width of 0 or less).
// Throws ETextTooLarge, text unchanged, when the result would pass the size
// limit.
void ExpandTabs(std::string& text, std::int32_t TabWidth);

// Below this size even a text of nothing but line ends stays within the
// size limit once every line end is CR LF.
inline constexpr std::int64_t kCrLfSafeSize = kMaxTextSize / 2;

// The lines of text, each without its trailing bytes of value 0x20 or lower
// (blanks, TABs, control bytes) and followed by LF; with CollapseBlankLines
// only the first empty line of every run of empty lines is kept.
std::string TrimLines(std::string_view text, bool CollapseBlankLines);

// The same lines appended to result, each followed by line_end, for a text
// that continues lines finished before (previous_was_empty: whether the last
// of them is empty; updated).
void AppendTrimmedLines(std::string& result, std::string_view text, bool CollapseBlankLines,
                        std::string_view line_end, bool& previous_was_empty);

// The lines of text, trimmed and collapsed as by TrimLines, TABs expanded
// as by ExpandTabs unless UseTabs, each followed by CR LF: the joined text
// of the list FinishingPass fills. Throws ETextTooLarge as ExpandTabs does.
// The result is built over text itself, from its start, and should a line
// outgrow the bytes of text still to be read, the rest in spare's memory
// (its bytes are dropped); spare is taken only once the checks have passed,
// so it is intact after a throw.
std::string FinishedText(std::string text, std::int32_t TabWidth, bool UseTabs,
                         bool CollapseBlankLines, std::string&& spare = std::string());

// Drops the blanks and TABs that stand behind the last line break of a
// laid-out text: the indentation of a block still open at the end, or the
// blank behind a token still open there. Trimmed, they would make one more
// empty last line.
void DropBlanksBehindLastLineBreak(std::string& text);

// The finished lines of a laid-out text, as one text: every line followed
// by the chosen line end or, where the text is too large for CR LF to stay
// within the size limit, by LF alone.
struct FinishedLines {
  std::string text;
  LineEnding ending = LineEnding::kCrLf;  // after every line of text
};

// The lines FinishingPass puts into its list, with the line end the options
// choose. spare as for FinishedText.
FinishedLines FinishLines(std::string Output, const FormatOptions& options,
                          std::string&& spare = std::string());

// Replaces what lines held by the finished lines, and has the list write
// line_ending after every line. lines is left as it was when this throws.
void AdoptFinishedLines(TStringList& lines, FinishedLines finished, LineEnding line_ending);

// Expands TABs unless UseTabs, then puts the trimmed (and, with
// CollapseBlankLines, collapsed) lines of Output into lines, replacing what
// they held, to be written with line_ending after each. lines is left as
// it was when this throws. spare is a string whose memory the finished
// text may take over, as FinishedText says (its bytes are dropped). Like
// lines, spare is left as it was when this throws.
void FinishingPass(std::string Output, TStringList& lines, std::int32_t TabWidth, bool UseTabs,
                   bool CollapseBlankLines, LineEnding line_ending = LineEnding::kCrLf,
                   std::string&& spare = std::string());

}  // namespace vemra
