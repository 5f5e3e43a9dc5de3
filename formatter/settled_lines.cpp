#include "formatter/settled_lines.h"

#include <string>

#include "base/failures.h"
#include "base/line_breaks.h"

namespace vemra {
namespace {

// The lines of a text one at a time.
class LineWalk {
 public:
  explicit LineWalk(std::string_view text)
      : at_(text.data()), end_(text.data() + text.size()), breaks_(end_) {}

  // The next line, without its line end; false after the last.
  bool Next(std::string_view& line) {
    if (at_ >= end_) return false;
    const char* const line_end = breaks_.Next(at_);
    line = std::string_view(at_, static_cast<std::size_t>(line_end - at_));
    at_ = line_breaks_detail::PastLineEnd(line_end, end_);
    return true;
  }

 private:
  const char* at_;
  const char* end_;
  line_breaks_detail::BreakFinder breaks_;
};

}  // namespace

bool SameLines(std::string_view a, std::string_view b) {
  LineWalk lines_a(a);
  LineWalk lines_b(b);
  std::string_view line_a;
  std::string_view line_b;
  for (;;) {
    const bool more_a = lines_a.Next(line_a);
    if (more_a != lines_b.Next(line_b)) return false;
    if (!more_a) return true;
    if (line_a != line_b) return false;
  }
}

FinishedLines SettleLines(FinishedLines once,
                          const std::function<FormatPassResult(std::string_view)>& pass) {
  FinishedLines settled = std::move(once);
  for (int passes = 1; passes < kMaxFormatPasses; ++passes) {
    FormatPassResult next = pass(settled.text);
    // Lines a pass leaves as they are settle the text, and so do lines
    // whose layout noted nothing that could differ on the next pass.
    if (!next.next_pass_may_differ || SameLines(next.lines.text, settled.text)) {
      return std::move(next.lines);
    }
    settled = std::move(next.lines);
  }
  throw EFormatNotSettled("The layout did not settle: pass " + std::to_string(kMaxFormatPasses) +
                          " still changed the text");
}

}  // namespace vemra
