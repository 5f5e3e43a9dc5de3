// The layout pass: cuts the source into tokens and writes them out again
// with the indentation and the blanks of the layout rules.
#pragma once

#include <string>
#include <string_view>

#include "formatter/output_text.h"

namespace vemra {

// The laid-out text of Source, before TABs are expanded and lines trimmed:
// CR and LF tokens as in the source, Level TABs after every LF, single
// blanks between tokens. A UTF-8 byte-order mark at the start is kept in
// front of the result and takes no part in the layout. Each indentation
// level is written as unit (one TAB unless told otherwise), or as a TAB in a
// text past 512 MB; TABs inside tokens stay. Throws ETextTooLarge when the
// result, or its form with every TAB expanded to unit, would pass the text
// size limit.
std::string LayoutPass(std::string_view Source, IndentUnit unit = {});

// The same result for a text as it was loaded, whose lines may end in CR LF,
// LF or CR: LayoutPass of its joined form (every line followed by CR LF),
// without building that form. A last line without a line end is given one.
std::string LayOutLines(std::string_view text, IndentUnit unit = {});

}  // namespace vemra
