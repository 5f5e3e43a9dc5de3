#include "formatter/block_facts.h"

#include <algorithm>
#include <string>

namespace vemra {

BlockFacts::Entry BlockFacts::MakeEntry(std::size_t offset, std::string_view word,
                                        bool second_level) {
  Entry entry;
  entry.offset = offset;
  entry.second_level = second_level;
  entry.length = static_cast<std::uint8_t>(std::min(word.size(), sizeof(entry.word)));
  std::copy_n(word.data(), entry.length, entry.word);
  return entry;
}

std::string BlockFacts::Quoted(const Entry& entry) {
  std::string quoted = "\"";
  quoted.append(entry.word, entry.length);
  quoted += '"';
  return quoted;
}

void BlockFacts::Opened(std::size_t offset, std::string_view word, bool second_level) {
  open_.push_back(MakeEntry(offset, word, second_level));
}

void BlockFacts::Closed(std::size_t offset, std::string_view word) {
  if (open_.empty()) {
    strays_.push_back(MakeEntry(offset, word, false));
    return;
  }
  open_.pop_back();
  open_counted_ = std::min(open_counted_, open_.size());
}

// A CR LF is one break: its CR is counted only when no LF follows.
void BlockFacts::AdvanceTo(std::size_t offset) {
  offset = std::min(offset, source_.size());
  if (offset <= counted_to_) return;
  const auto* const text = reinterpret_cast<const unsigned char*>(source_.data());
  // Written without branches and counted in bytes, 255 at a time, the
  // loop runs on vectors: LFs, and CRs with no LF behind them; the last
  // byte of the text has nothing behind it.
  const std::size_t end = offset == source_.size() ? offset - 1 : offset;
  std::size_t breaks = 0;
  for (std::size_t i = counted_to_; i < end;) {
    const std::size_t stop = std::min(end, i + 255);
    unsigned char count = 0;
    for (; i < stop; ++i) {
      count += static_cast<unsigned char>((text[i] == '\n') +
                                          ((text[i] == '\r') & (text[i + 1] != '\n')));
    }
    breaks += count;
  }
  if (end < offset) breaks += text[end] == '\n' || text[end] == '\r';
  breaks_ += static_cast<std::int32_t>(breaks);
  counted_to_ = offset;
}

void BlockFacts::CountPending(std::vector<Entry>& entries, std::size_t& counted,
                              std::size_t offset) {
  for (; counted < entries.size() && entries[counted].offset < offset; ++counted) {
    AdvanceTo(entries[counted].offset);
    entries[counted].line = breaks_ + 1;
  }
}

void BlockFacts::CountLinesTo(std::size_t offset) {
  // Both lists are in the order of the text; the counting goes forward only.
  while (true) {
    const std::size_t next_open =
        open_counted_ < open_.size() ? open_[open_counted_].offset : offset;
    const std::size_t next_stray =
        strays_counted_ < strays_.size() ? strays_[strays_counted_].offset : offset;
    const std::size_t next = std::min({next_open, next_stray, offset});
    if (next >= offset) break;
    CountPending(open_, open_counted_, next + 1);
    CountPending(strays_, strays_counted_, next + 1);
  }
  AdvanceTo(offset);
}

void BlockFacts::Finish(const std::size_t* region_start) {
  SourceDiagnostics& found = findings_;
  if (region_start != nullptr) {
    // The region begins on the line after its "off" comment. Its bytes are
    // never given back, so they can be counted again when the count has
    // passed them.
    const std::size_t start = std::min(*region_start, source_.size());
    std::int32_t breaks = breaks_;
    if (start >= counted_to_) {
      AdvanceTo(start);
      breaks = breaks_;
    } else {
      for (std::size_t i = start; i < counted_to_; ++i) {
        breaks -= (source_[i] == '\n') |
                  (source_[i] == '\r' && (i + 1 == source_.size() || source_[i + 1] != '\n'));
      }
    }
    found.push_back({std::max(breaks, 1), DiagnosticSeverity::kInformation,
                     "\"vemrafmt: off\" has no \"vemrafmt: on\" after it: the lines to the end "
                     "are left as they stand"});
  }
  CountLinesTo(source_.size() + 1);
  for (const Entry& entry : open_) {
    if (entry.second_level) continue;
    found.push_back(
        {entry.line, DiagnosticSeverity::kWarning,
         Quoted(entry) + " opened on line " + std::to_string(entry.line) + " is never closed"});
  }
  for (const Entry& entry : strays_) {
    found.push_back(
        {entry.line, DiagnosticSeverity::kWarning, Quoted(entry) + " closes no open block"});
  }
  std::stable_sort(
      found.begin(), found.end(),
      [](const SourceDiagnostic& a, const SourceDiagnostic& b) { return a.line < b.line; });
}

}  // namespace vemra
