// Formatting a saved text again must give the same bytes. One pass nearly
// always leaves such a text; a text whose layout noted that the next pass
// may differ (next_pass_notes.h) is formatted again until a pass leaves its
// lines as they are.
#pragma once

#include <functional>
#include <string_view>

#include "formatter/finishing_pass.h"
#include "formatter/format_pass.h"

namespace vemra {

// The most passes a text is given. The first pass removes everything that
// can make a layout differ on the next one, so every text settles within
// two; a text that still changes after this many is a fault of the
// program, reported rather than saved.
inline constexpr int kMaxFormatPasses = 3;

// Whether a and b hold the same lines, whatever their line ends.
bool SameLines(std::string_view a, std::string_view b);

// The lines of the first of once, pass(once), pass(pass(once)), ... that
// one more pass leaves as they are, where once is what a first pass made
// of a text and noted may differ on the next. Throws EFormatNotSettled
// when kMaxFormatPasses passes in all do not get there.
FinishedLines SettleLines(FinishedLines once,
                          const std::function<FormatPassResult(std::string_view)>& pass);

}  // namespace vemra
