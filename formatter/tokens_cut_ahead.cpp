#include "formatter/tokens_cut_ahead.h"

#include <system_error>

#include "base/address_wait.h"
#include "base/available_processors.h"

namespace vemra {

std::unique_ptr<TokensCutAhead> TokensCutAhead::Start(std::string_view text) {
  std::unique_ptr<TokensCutAhead> tokens(new TokensCutAhead(text));
  try {
    tokens->cutter_ = std::thread(&TokensCutAhead::CutAll, tokens.get());
  } catch (const std::system_error&) {
    return nullptr;
  }
  return tokens;
}

bool TokensCutAhead::SecondProcessorAvailable() {
  return AvailableProcessors() > 1;
}

TokensCutAhead::TokensCutAhead(std::string_view text) : table_cutter_(text) {}

TokensCutAhead::~TokensCutAhead() {
  if (!cutter_.joinable()) return;
  // Every slot is stopped, whoever holds it: the cutting thread sees it
  // whether it waits for a slot, fills one or moves on to the next.
  for (std::size_t s = 0; s < kSlots; ++s) {
    slots_[s].count.store(kStopped, std::memory_order_release);
    WakeAll(slots_[s].count);
  }
  cutter_.join();
}

std::span<const CutTokenRecord> TokensCutAhead::NextBatch() {
  if (holds_batch_) {
    Slot& read = slots_[reading_];
    read.count.store(kFree, std::memory_order_release);
    WakeOne(read.count);
    reading_ = (reading_ + 1) % kSlots;
    holds_batch_ = false;
  }
  Slot& slot = slots_[reading_];
  std::uint32_t count = 0;
  while ((count = slot.count.load(std::memory_order_acquire)) == kFree) {
    WaitWhileEquals(slot.count, kFree);
  }
  // The end stays in its slot, so every later call finds it again.
  if (count == 0) return {};
  holds_batch_ = true;
  return {slot.records, count};
}

void TokensCutAhead::CutAll() noexcept {
  for (std::size_t s = 0;; s = (s + 1) % kSlots) {
    Slot& slot = slots_[s];
    if (!WaitUntilFree(slot)) return;
    const auto count = static_cast<std::uint32_t>(table_cutter_.Fill(slot.records));
    NoteFacts(slot, count);
    slot.handed_over = table_cutter_.HandedOver();
    // The layout may have stopped while the slot was being filled.
    std::uint32_t expected = kFree;
    if (!slot.count.compare_exchange_strong(expected, count, std::memory_order_release,
                                            std::memory_order_relaxed)) {
      return;
    }
    WakeOne(slot.count);
    if (count == 0) return;
  }
}

void TokensCutAhead::NoteFacts(Slot& slot, std::uint32_t count) {
  for (std::uint32_t i = 0; i < count; ++i) {
    const CutTokenRecord& record = slot.records[i];
    slot.facts[i] =
        record.data[0] == '\r' ? kCarriageReturnFacts : FactsOfCut(record.View(), record.rule);
  }
}

bool TokensCutAhead::WaitUntilFree(Slot& slot) {
  for (;;) {
    const std::uint32_t count = slot.count.load(std::memory_order_acquire);
    if (count == kFree) return true;
    if (count == kStopped) return false;
    WaitWhileEquals(slot.count, count);
  }
}

}  // namespace vemra
