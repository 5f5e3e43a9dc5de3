#include "formatter/format_source.h"

#include "formatter/block_facts.h"
#include "formatter/format_pass.h"
#include "formatter/settled_lines.h"

namespace vemra {
namespace {

void Format(TStringList& lines, const FormatOptions& options, LaidOutBytes laid_out_bytes,
            SourceDiagnostics* diagnostics) {
  // The list hands over its text as it was loaded, so the source is not
  // copied, nor its line ends rewritten; a failure gives it back, and the
  // list is as it was, unless its memory was given back.
  std::string source = lines.HandOverText();
  try {
    // One pass nearly always settles the text, and its finished lines may
    // take over the source's memory. When more passes are to follow, the
    // source is kept whole, to be given back should one of them fail.
    // The findings are those of the first pass, the one over the text as
    // it was loaded, whose lines they name.
    BlockFacts blocks;
    FormatPassResult once = FormatPass(source, options, std::move(source), laid_out_bytes,
                                       diagnostics != nullptr ? &blocks : nullptr);
    if (once.next_pass_may_differ) {
      once.lines = SettleLines(std::move(once.lines), [&options](std::string_view text) {
        return FormatPass(text, options);
      });
    }
    AdoptFinishedLines(lines, std::move(once.lines), options.line_ending);
    if (diagnostics != nullptr) *diagnostics = blocks.Findings();
  } catch (...) {
    // Every check comes before the source's memory is taken over.
    if (laid_out_bytes == LaidOutBytes::kKept) lines.AdoptText(std::move(source));
    throw;
  }
}

}  // namespace

void FormatSource(TStringList& lines, std::int32_t TabWidth, bool UseTabs, bool CollapseBlankLines,
                  LineEnding line_ending, SourceDiagnostics* diagnostics) {
  Format(lines, {TabWidth, UseTabs, CollapseBlankLines, line_ending}, LaidOutBytes::kKept,
         diagnostics);
}

void FormatSourceReleasingText(TStringList& lines, std::int32_t TabWidth, bool UseTabs,
                               bool CollapseBlankLines, LineEnding line_ending,
                               SourceDiagnostics* diagnostics) {
  Format(lines, {TabWidth, UseTabs, CollapseBlankLines, line_ending}, LaidOutBytes::kReleased,
         diagnostics);
}

}  // namespace vemra
