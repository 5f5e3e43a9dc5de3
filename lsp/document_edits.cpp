#include "lsp/document_edits.h"

namespace vemra::lsp {

namespace {

std::size_t OffsetOfLine(const std::string& text, const std::vector<std::string_view>& lines,
                         std::size_t line) {
  return line < lines.size() ? static_cast<std::size_t>(lines[line].data() - text.data())
                             : text.size();
}

Json PositionJson(Position position) {
  return {{"line", position.line}, {"character", position.character}};
}

}  // namespace

Json FormattingEdits(const std::string& text, const std::string& formatted,
                     const std::vector<LineSpan>* spans, PositionEncoding encoding) {
  Json edits = Json::array();
  if (text == formatted) return edits;
  const std::vector<std::string_view> old_lines = SplitKeepingLineEnds(text);
  const std::vector<std::string_view> new_lines = SplitKeepingLineEnds(formatted);
  std::vector<LineStretch> stretches = ChangedStretches(old_lines, new_lines);
  if (spans) stretches = StretchesWithin(stretches, *spans);
  const LineIndex index(text);
  for (const LineStretch& stretch : stretches) {
    std::string new_text;
    for (std::size_t i = stretch.new_begin; i < stretch.new_end; ++i) new_text += new_lines[i];
    const Position start =
        index.PositionOf(OffsetOfLine(text, old_lines, stretch.old_begin), encoding);
    const Position end = index.PositionOf(OffsetOfLine(text, old_lines, stretch.old_end), encoding);
    edits.push_back({{"range", {{"start", PositionJson(start)}, {"end", PositionJson(end)}}},
                     {"newText", std::move(new_text)}});
  }
  return edits;
}

}  // namespace vemra::lsp
