// The text edits that turn a document into its formatted text, one edit a
// stretch of changed lines, with positions in the agreed encoding.
#pragma once

#include <string>
#include <vector>

#include "lsp/json_rpc.h"
#include "lsp/text_positions.h"
#include "textutil/line_changes.h"

namespace vemra::lsp {

// All the changes; with spans (lines of text), only those the spans take,
// by the rule of StretchesWithin. An empty array when nothing changes.
Json FormattingEdits(const std::string& text, const std::string& formatted,
                     const std::vector<LineSpan>* spans, PositionEncoding encoding);

}  // namespace vemra::lsp
