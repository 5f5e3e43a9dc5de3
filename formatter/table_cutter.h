// The tokens of a whole text, cut from the boundaries that the state
// machine of cut_state_table.h finds (boundary_scan.h), block by block:
// the same tokens, with the same rules, as token_cutting::CutKeptToken
// gives one at a time, but without a branch per byte that depends on the
// bytes. Per token, only the rare cases branch: a "#id" marker and the
// tokens it removes, a word that gives back its trailing ":", and a brace
// group nested deeper than the machine counts.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

#include "formatter/boundary_scan.h"
#include "formatter/cut_state_table.h"
#include "formatter/cut_token_record.h"
#include "formatter/token_cutting.h"

namespace vemra {

// How a TableCutter walks its text: in stretches of `stretch` bytes, each
// in up to `lanes` lanes side by side of shortest_lane bytes at least (see
// BoundaryScan). The tokens are the same for every shape.
struct CutterShape {
  std::size_t lanes = 4;
  std::size_t shortest_lane = 1024;
  // The boundaries of a stretch take four bytes per byte at most.
  std::size_t stretch = 64 * 1024;
};

// What the first byte of a token tells the cutter about the token, in the
// form each use wants, so that none needs a test of its own.
// Eight bytes, so that an entry's address is the byte shifted.
struct alignas(8) TokenOpening {
  // ":" for a word, which gives back a trailing ":"; never a byte otherwise.
  std::uint16_t colon_last;
  // 3 after "#", a marker's size; 0 otherwise, never the size of a token
  // or gap.
  std::uint8_t marker_size;
  TokenRule rule;        // the rule that cuts the token
  std::uint8_t records;  // 1 for a token, 0 for a blank, where a gap opens
  bool line_end;         // a line end of a loaded text: kLineEndTokens
};

// kEnds says which text it is: kAnyBreak for a text as it was loaded, whose
// line ends each come as kLineEndTokens (or its LF alone after a marker),
// or kCarriageReturn for a joined text, where CR and LF are tokens of their
// own.
template <token_cutting::LineEnd kEnds>
class TableCutter {
 public:
  // The fewest records a call to Fill may be given room for.
  static constexpr std::size_t kFewestRecords = 2;

  // Cuts text, which must outlive the object. Throws ETextTooLarge for a
  // text larger than kMaxSourceSize. All the memory the cutting needs
  // is taken here: Fill takes none, and never throws.
  explicit TableCutter(std::string_view text, CutterShape shape = {});

  // Writes the next tokens that stay into records, from the front, and
  // returns their number: at least one while tokens are left, 0 at the
  // text's end. records holds at least kFewestRecords.
  std::size_t Fill(std::span<CutTokenRecord> records) noexcept;
  // Where the tokens Fill has handed over end: every byte in front of it
  // belongs to a token it wrote into records, or to a line end, a blank or
  // a token a marker removed, and no later Fill hands over a byte in front
  // of it. Line ends come as kLineEndTokens, not as views into the text, so
  // their records cannot tell.
  const char* HandedOver() const { return start_; }

 private:
  void ScanNextStretch();
  CutTokenRecord* CloseTokens(const BoundaryRun& run, CutTokenRecord* out,
                              const CutTokenRecord* end);
  CutTokenRecord* Close(const char* start, const TokenOpening& opening, const char* end,
                        CutTokenRecord* out);
  CutTokenRecord* CloseRare(const char* start, const TokenOpening& opening, const char* end,
                            CutTokenRecord* out);
  CutTokenRecord* Keep(const char* start, const char* end, TokenRule rule, CutTokenRecord* out);
  bool Keeps(std::string_view token);
  CutTokenRecord* CutDeepBraceGroup(CutTokenRecord* out);

  std::string_view text_;
  std::size_t stretch_;       // the longest stretch walked at a time
  std::size_t next_stretch_;  // the next one's length
  BoundaryScan<kEnds> scan_;

  // Walking the text.
  std::size_t scanned_ = 0;  // offset where the next stretch starts
  cut_states::Transition state_ = cut_states::RowOf(cut_states::kBetween);  // at scanned_
  std::span<const BoundaryRun> runs_;  // the last stretch's boundaries
  std::size_t run_ = 0;                // the run read next
  std::size_t in_run_ = 0;             // its boundary read next

  // The token being cut: it ends at the next boundary. Before the first
  // boundary, a gap stands in front of the text.
  const char* start_;            // its first byte; the byte before a boundary at least
  const TokenOpening* opening_;  // what that byte tells

  std::size_t to_drop_ = 0;  // tokens "#id" markers still remove
};

extern template class TableCutter<token_cutting::LineEnd::kCarriageReturn>;
extern template class TableCutter<token_cutting::LineEnd::kAnyBreak>;

}  // namespace vemra
