#include "formatter/verbatim_regions.h"

#include "base/line_breaks.h"
#include "formatter/next_token.h"
#include "formatter/region_markers.h"

namespace vemra {

std::size_t KeptLineStart(std::string_view source, std::size_t from, std::size_t token_at) {
  std::size_t line_start = from;
  for (std::size_t at = from; at < token_at;) {
    TokenRule rule = TokenRule::kOneByte;
    const std::string_view token = CutNextLineToken(source, at, rule);
    if (token.empty()) break;
    if (line_breaks_detail::IsBreak(token[0])) {
      // A line end comes as its own tokens, not as a view into source.
      line_start = at;
      continue;
    }
    if (token.data() >= source.data() + token_at) break;
    // A comment, literal or brace group may hold line ends of its own.
    for (std::size_t end = token.size(); end > 0; --end) {
      if (line_breaks_detail::IsBreak(token[end - 1])) {
        line_start = static_cast<std::size_t>(token.data() - source.data()) + end;
        break;
      }
    }
  }
  return line_start;
}

bool VerbatimRegionFinder::NoteLineComment(std::string_view comment, std::size_t line_start,
                                           bool next_pass_may_differ) {
  switch (RegionMarkerOf(comment, unit_)) {
    case RegionMarker::kOff:
      if (!in_region_) Open(comment, line_start, next_pass_may_differ);
      return next_pass_may_differ;
    case RegionMarker::kOn:
      if (!in_region_) return next_pass_may_differ;
      Close(comment, line_start);
      return note_before_region_;
    case RegionMarker::kNone:
      break;
  }
  return next_pass_may_differ;
}

void VerbatimRegionFinder::Open(std::string_view comment, std::size_t line_start,
                                bool next_pass_may_differ) {
  in_region_ = true;
  off_line_start_ = line_start;
  // A line comment runs to its line end, which the layout keeps: the region
  // starts behind it.
  const char* const end = source_.data() + source_.size();
  source_begin_ = static_cast<std::size_t>(
      line_breaks_detail::PastLineEnd(comment.data() + comment.size(), end) - source_.data());
  note_before_region_ = next_pass_may_differ;
}

void VerbatimRegionFinder::Close(std::string_view comment, std::size_t line_start) {
  in_region_ = false;
  const auto comment_at = static_cast<std::size_t>(comment.data() - source_.data());
  const std::size_t source_end = KeptLineStart(source_, source_begin_, comment_at);
  regions_.push_back(
      {off_line_start_, line_start, source_.substr(source_begin_, source_end - source_begin_)});
}

std::vector<VerbatimRegion> VerbatimRegionFinder::Finish(std::string_view laid_out) {
  if (in_region_) {
    regions_.push_back({off_line_start_, VerbatimRegion::kToTheEnd, source_.substr(source_begin_)});
    in_region_ = false;
  }
  // The "off" line ends in the first line end behind its start: the
  // comment holds none, and is the line's last token.
  for (VerbatimRegion& region : regions_) {
    const char* const end = laid_out.data() + laid_out.size();
    const char* const off_line = laid_out.data() + region.output_begin;
    const char* const line_end = line_breaks_detail::FindBreak(off_line, end);
    region.output_begin =
        static_cast<std::size_t>(line_breaks_detail::PastLineEnd(line_end, end) - laid_out.data());
  }
  return std::move(regions_);
}

}  // namespace vemra
