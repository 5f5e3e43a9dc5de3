// What the layout's own level changes say of a text's blocks: the block
// words still open at the end, and the closing words met with no block
// open, each with the line of the input it stands on. The layout records
// only byte offsets, on its rare steps; line numbers are counted when they
// are needed, and before the bytes under them are given back
// (source_release.h), so that balanced texts cost next to nothing.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "formatter/source_diagnostics.h"

namespace vemra {

class BlockFacts {
 public:
  // Set once the layout knows the text it cuts; offsets are into it.
  void Start(std::string_view source) { source_ = source; }

  // A level opened by the word at offset; second_level: a level the same
  // word opened already, which is not reported on its own ("case").
  void Opened(std::size_t offset, std::string_view word, bool second_level);
  // A level closed by the word at offset.
  void Closed(std::size_t offset, std::string_view word);
  // An accessor word at offset, whose block, if it opens one, opens two
  // tokens later.
  void Accessor(std::size_t offset, std::string_view word) {
    accessor_ = MakeEntry(offset, word, false);
  }
  void AccessorOpened() { open_.push_back(accessor_); }
  // The offset of a token of the text, or of the last block word for a
  // token that is not a view into it (a line end the layout writes itself).
  std::size_t OffsetOf(std::string_view token) const {
    const auto at = reinterpret_cast<std::uintptr_t>(token.data());
    const auto begin = reinterpret_cast<std::uintptr_t>(source_.data());
    if (at >= begin && at <= begin + source_.size()) return at - begin;
    return open_.empty() ? 0 : open_.back().offset;
  }
  // The bytes in front of offset are about to be given back: every line
  // number that needs them is counted now.
  void CountLinesTo(std::size_t offset);
  void CountLinesBefore(const char* at) { CountLinesTo(OffsetOf({at, 0})); }

  // Called at the end of the text: region_start is the offset of the first
  // line of a region of lines left as they stood that is never ended, if
  // any. The findings are then in Findings(), by line.
  void Finish(const std::size_t* region_start);
  const SourceDiagnostics& Findings() const { return findings_; }

 private:
  struct Entry {
    std::size_t offset = 0;
    std::int32_t line = 0;  // 0 until counted
    bool second_level = false;
    std::uint8_t length = 0;
    char word[14] = {};
  };

  static Entry MakeEntry(std::size_t offset, std::string_view word, bool second_level);
  // The entry's word in double quotes, for a message.
  static std::string Quoted(const Entry& entry);
  // Counts the line breaks in front of offset (not before the last count).
  void AdvanceTo(std::size_t offset);
  void CountPending(std::vector<Entry>& entries, std::size_t& counted, std::size_t offset);

  std::string_view source_;
  std::vector<Entry> open_;    // the open levels, innermost last
  std::vector<Entry> strays_;  // closing words with no level open, in order
  Entry accessor_;             // the last accessor word
  SourceDiagnostics findings_;
  std::size_t open_counted_ = 0;    // entries of open_ below this have their lines
  std::size_t strays_counted_ = 0;  // likewise for strays_
  std::size_t counted_to_ = 0;      // line breaks in front of this are counted
  std::int32_t breaks_ = 0;         // how many
};

}  // namespace vemra
