// The tokens of a text as it was loaded, cut on a thread of their own while
// the layout pass lays out the tokens cut before them. Cutting is about
// half of a layout's work and needs nothing of its state, so on a machine
// with a second core the two halves need not take turns: the layout waits
// only for tokens not yet cut.
//
// The cutting thread also works out each token's facts (token_facts.h),
// which the layout would otherwise work out itself: the layout's thread is
// the slower of the two, and the time the cutting thread would spend
// waiting for a free slot goes into work taken off the layout.
//
// The tokens pass in batches through a ring of slots. A slot's count says
// whose it is: kFree, the cutting thread's to fill; a batch's size, the
// layout's to read; 0, the end of the text; kStopped, nobody's, once the
// layout gives up early.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string_view>
#include <thread>

#include "formatter/char_classes.h"
#include "formatter/cut_token_record.h"
#include "formatter/table_cutter.h"
#include "formatter/token_facts.h"

namespace vemra {

class TokensCutAhead {
 public:
  // Starts cutting text, whose size is below 2 GB and which must outlive
  // the object; nullptr when the system gives no thread, and the caller
  // cuts the tokens itself. The tokens are cut by the table cutter, which
  // takes all the memory it needs here, on the caller's thread.
  static std::unique_ptr<TokensCutAhead> Start(std::string_view text);

  // Whether this process may run on more than one processor, so that a
  // thread of its own cuts at the same time as the layout, not by turns.
  static bool SecondProcessorAvailable();

  // Stops the cutting where it stands and waits for its thread.
  ~TokensCutAhead();

  TokensCutAhead(const TokensCutAhead&) = delete;
  TokensCutAhead& operator=(const TokensCutAhead&) = delete;

  // The next batch of tokens in the text's order, waiting for it if need
  // be; empty at the text's end. The batch returned before is given back,
  // and its records must no longer be read.
  std::span<const CutTokenRecord> NextBatch();
  // The facts of each token of the batch NextBatch returned last, as
  // FactsOfCut gives them; a line end's are those of its CR token.
  const TokenFacts* FactsOfBatch() const { return slots_[reading_].facts; }
  // Where the text handed over up to the end of that batch ends, as
  // TableCutter::HandedOver tells.
  const char* HandedOverOfBatch() const { return slots_[reading_].handed_over; }

 private:
  static constexpr std::uint32_t kBatchTokens = 1024;
  static constexpr std::size_t kSlots = 8;
  static constexpr std::uint32_t kFree = 0xFFFFFFFF;
  static constexpr std::uint32_t kStopped = 0xFFFFFFFE;

  struct Slot {
    std::atomic<std::uint32_t> count{kFree};
    CutTokenRecord records[kBatchTokens];
    TokenFacts facts[kBatchTokens];
    const char* handed_over = nullptr;
  };

  explicit TokensCutAhead(std::string_view text);

  // The cutting thread's work. It cannot fail: cutting takes no memory.
  void CutAll() noexcept;
  // Works out the facts of the count tokens the slot holds.
  static void NoteFacts(Slot& slot, std::uint32_t count);
  // Waits until the slot is free; false when the layout stopped.
  static bool WaitUntilFree(Slot& slot);

  TableCutter<token_cutting::LineEnd::kAnyBreak> table_cutter_;  // used by the cutting thread only
  std::unique_ptr<Slot[]> slots_ = std::make_unique<Slot[]>(kSlots);
  std::size_t reading_ = 0;   // the slot the layout reads next or is reading
  bool holds_batch_ = false;  // the layout holds the batch in slot reading_
  std::thread cutter_;
};

}  // namespace vemra
