// The lines the finishing pass leaves exactly as they stand: a plain line
// holds at least one byte, ends in a byte above 0x20 followed by CR LF, and
// holds no TAB where TABs are expanded. Trimming, collapsing empty lines
// and ending every line in CR LF all pass such a line by, so a run of them
// can be moved in one go. After a layout that trims its own line ends,
// nearly every line is plain.
#pragma once

namespace vemra {

// The end of the run of plain lines that starts at from, which is a line's
// start in a text that ends at end: the start of the first line at or
// after from that is not plain, or end when every line is. The bytes are
// looked at 64 at a time, as bit masks, rather than line by line.
const char* PlainLinesEnd(const char* from, const char* end, bool tabs_expanded);

}  // namespace vemra
