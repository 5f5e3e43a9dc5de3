// The layout pass: cuts the source into tokens and writes them out again
// with the indentation and the blanks of the layout rules.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace vemra {

// The laid-out text of Source, before TABs are expanded and lines trimmed:
// CR and LF tokens as in the source, Level TABs after every LF, single
// blanks between tokens. A UTF-8 byte-order mark at the start is kept in
// front of the result and takes no part in the layout. bytes_per_tab is
// what one TAB will take in the finished text. Throws ETextTooLarge when the
// result, or its finished form, would pass the text size limit.
std::string LayoutPass(std::string_view Source, std::int64_t bytes_per_tab = 1);

}  // namespace vemra
