// Blanks and word bodies are scanned sixteen bytes at a time, or through
// bit masks of 64-byte blocks; every byte value, at every position of such
// a block and near the text's end, must stop the scan exactly where the
// class table says, in whatever order the scans ask.
#include "formatter/byte_runs.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

#include "formatter/block_runs.h"

namespace vemra {
namespace {

struct RunScan {
  const char* name;
  std::size_t (*scan)(std::string_view, std::size_t);
  CharClass cls;
  char filler;  // a byte inside the class
};

const RunScan kScans[] = {
    {"blanks", SkipBlanks, kBlankChar, ' '},
    {"word body", SkipWordBody, kWordBodyChar, 'a'},
};

TEST(ByteRuns, EveryByteValueAtEveryPositionStopsTheScanAsTheTableSays) {
  for (const RunScan& scan : kScans) {
    for (int value = 0; value < 256; ++value) {
      for (std::size_t position = 0; position < 40; ++position) {
        std::string text(40, scan.filler);
        text[position] = static_cast<char>(value);
        for (std::size_t from : {std::size_t{0}, std::size_t{1}, std::size_t{17}}) {
          ASSERT_EQ(scan.scan(text, from), SkipClass(text, from, scan.cls))
              << scan.name << " byte " << value << " at " << position << " from " << from;
        }
      }
    }
  }
}

TEST(ByteRuns, RandomTextsScanAsTheTableSays) {
  std::mt19937 random(5);
  const std::string pieces = " \tab_.#:\\$%09\r\n\x80\xff(";
  for (int round = 0; round < 3000; ++round) {
    std::string text;
    const std::size_t size = random() % 70;
    for (std::size_t i = 0; i < size; ++i) text += pieces[random() % pieces.size()];
    for (const RunScan& scan : kScans) {
      for (std::size_t from = 0; from <= text.size(); ++from) {
        ASSERT_EQ(scan.scan(text, from), SkipClass(text, from, scan.cls)) << scan.name;
      }
    }
  }
}

// A walk over one text with BlockRuns, asking from every offset forwards,
// then backwards, as the token loop (and any other caller) might.
template <std::size_t (BlockRuns::*kScan)(std::string_view, std::size_t)>
void ExpectBlockScansAsTheTableSays(const std::string& text, CharClass cls, const char* name) {
  BlockRuns runs(text);
  for (std::size_t from = 0; from <= text.size(); ++from) {
    ASSERT_EQ((runs.*kScan)(text, from), SkipClass(text, from, cls)) << name << " from " << from;
  }
  for (std::size_t from = text.size() + 1; from-- > 0;) {
    ASSERT_EQ((runs.*kScan)(text, from), SkipClass(text, from, cls)) << name << " from " << from;
  }
}

TEST(BlockRuns, EveryByteValueAtEveryPositionStopsTheScanAsTheTableSays) {
  for (int value = 0; value < 256; ++value) {
    for (std::size_t position = 0; position < 140; position += 3) {
      for (const std::size_t size : {std::size_t{64}, std::size_t{140}}) {
        if (position >= size) continue;
        std::string blanks(size, ' ');
        blanks[position] = static_cast<char>(value);
        ExpectBlockScansAsTheTableSays<&BlockRuns::SkipBlanks>(blanks, kBlankChar, "blanks");
        std::string word(size, 'a');
        word[position] = static_cast<char>(value);
        ExpectBlockScansAsTheTableSays<&BlockRuns::SkipWordBody>(word, kWordBodyChar, "word");
      }
    }
  }
}

TEST(BlockRuns, RandomTextsScanAsTheTableSays) {
  std::mt19937 random(11);
  const std::string pieces = " \tab_.#:\\$%09\r\n\x80\xff(";
  for (int round = 0; round < 2000; ++round) {
    std::string text;
    const std::size_t size = random() % 300;
    const std::size_t run = 1 + random() % 70;  // long runs cross blocks
    while (text.size() < size) text.append(run, pieces[random() % pieces.size()]);
    ExpectBlockScansAsTheTableSays<&BlockRuns::SkipBlanks>(text, kBlankChar, "blanks");
    ExpectBlockScansAsTheTableSays<&BlockRuns::SkipWordBody>(text, kWordBodyChar, "word");
  }
}

}  // namespace
}  // namespace vemra
