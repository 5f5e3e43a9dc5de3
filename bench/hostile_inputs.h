// Inputs of extreme shape, each aimed at a place where a formatter can turn
// quadratic, recurse without bound or run out of memory. Sizes are
// parameters so that tests can use small versions of the same shapes.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace vemra {

// count empty lines (CR LF each): the collapse of empty lines.
std::string EmptyLines(std::size_t count);

// One line of about bytes bytes made of ": " pairs: every ":" takes a TAB
// back from its own line.
std::string ColonPairsLine(std::size_t bytes);

// depth "while" blocks, each opened inside the previous one on a line of its
// own and followed by a statement line, then depth lines of "end". Laid out,
// the lines hold about 1.5 x depth x depth indentation TABs.
std::string NestedWhileBlocks(std::size_t depth);

// count "case" blocks opened on one line and closed by count "end" words on
// the next: deeper than any fixed-size stack of open "case" blocks.
std::string CaseBlocksOnOneLine(std::size_t count);

// One line of about bytes bytes holding nothing but "#id" markers in mixed
// letter case: each marker removes the next token, which is a marker again.
std::string MarkersOnly(std::size_t bytes);

// One block comment of about bytes bytes over lines of up to 80 bytes.
std::string OneBlockComment(std::size_t bytes);

// One line of about bytes bytes of statements written without any blank, so
// that the formatter writes many blanks of its own.
std::string LineWithoutBlanks(std::size_t bytes);

// piece, count times: runs of empty lines (LF, CR, CR LF), of blanks, of NUL
// bytes, which the finishing pass trims and collapses to almost nothing.
std::string Repeated(std::string_view piece, std::size_t count);

// depth "while" blocks as NestedWhileBlocks, each line indented with one TAB
// per level it stands at: the input grows as depth x depth, and its result
// with TABs turned into blanks about twice as much.
std::string TabIndentedBlocks(std::size_t depth);

}  // namespace vemra
