// The formatter's one entry: re-indents and re-spaces the text held by a line
// list, in place.
#pragma once

#include <cstdint>

#include "base/line_ending.h"
#include "base/string_list.h"
#include "formatter/source_diagnostics.h"

namespace vemra {

// Lays out every token of the list's text again and puts the result back into
// the list: TABs expanded to TabWidth blanks unless UseTabs, every line
// trimmed, and runs of empty lines reduced to one when CollapseBlankLines.
// The list then writes line_ending after every line. The result is settled:
// formatting it again with the same options gives the same lines. Throws
// ETextTooLarge when the result would pass 2,147,483,647 bytes, and
// EFormatNotSettled when it does not settle within kMaxFormatPasses passes;
// the list is then unchanged. With diagnostics, the findings on the text's
// blocks and regions (block_facts.h) are put there; they never change the
// result.
void FormatSource(TStringList& lines, std::int32_t TabWidth, bool UseTabs, bool CollapseBlankLines,
                  LineEnding line_ending = LineEnding::kCrLf,
                  SourceDiagnostics* diagnostics = nullptr);

// FormatSource for a caller that has no further use for the list's text
// should formatting fail, and the same lines when it succeeds. The memory
// under the text is given back to the system as the layout passes it, so
// that a large text and its result never stand in memory whole at the same
// time. When this throws, the list is left empty.
void FormatSourceReleasingText(TStringList& lines, std::int32_t TabWidth, bool UseTabs,
                               bool CollapseBlankLines, LineEnding line_ending = LineEnding::kCrLf,
                               SourceDiagnostics* diagnostics = nullptr);

}  // namespace vemra
