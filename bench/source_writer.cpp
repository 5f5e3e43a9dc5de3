#include "bench/source_writer.h"

#include <array>
#include <cstdint>

namespace vemra {
namespace {

// How a byte at the edge of a token combines with its neighbour: two word
// bytes or two operator bytes would run together into one token, a
// punctuation byte never joins anything.
enum class EdgeClass : std::uint8_t { kWord, kOperator, kPunctuation };

constexpr std::array<EdgeClass, 256> MakeEdgeClasses() {
  std::array<EdgeClass, 256> classes{};
  classes.fill(EdgeClass::kWord);
  for (char c : std::string_view("+-*/<>=!|^~@")) {
    classes[static_cast<unsigned char>(c)] = EdgeClass::kOperator;
  }
  for (char c : std::string_view("()[],;")) {
    classes[static_cast<unsigned char>(c)] = EdgeClass::kPunctuation;
  }
  return classes;
}

constexpr std::array<EdgeClass, 256> kEdgeClasses = MakeEdgeClasses();

EdgeClass ClassOf(char c) {
  return kEdgeClasses[static_cast<unsigned char>(c)];
}

// True when the two tokens may be written without a blank between them and
// still be read back as the same two tokens.
bool MayTouch(char left_last, char right_first) {
  // A number such as "1E" would take a following sign into itself.
  if ((left_last == 'e' || left_last == 'E') && (right_first == '+' || right_first == '-')) {
    return false;
  }
  EdgeClass left = ClassOf(left_last);
  EdgeClass right = ClassOf(right_first);
  if (left == EdgeClass::kPunctuation || right == EdgeClass::kPunctuation) return true;
  return left != right;
}

constexpr std::string_view kLineEnds[] = {"\r\n", "\n", "\r"};
constexpr std::string_view kIndentUnits[] = {"\t", "  ", "    ", "   ", " \t"};
constexpr std::string_view kJunkBlanks[] = {" ", "\t", "  ", " \t", "\t\t", "   "};

}  // namespace

SourceWriter::SourceWriter(RandomSource& random, std::string& text)
    : random_(random),
      text_(text),
      line_end_(random.Pick(kLineEnds)),
      indent_unit_(random.Pick(kIndentUnits)),
      keyword_case_percent_(static_cast<unsigned>(random.Below(40))) {}

void SourceWriter::Token(std::string_view token) {
  BeginToken(token);
  text_ += token;
}

void SourceWriter::Keyword(std::string_view word) {
  BeginToken(word);
  if (!random_.Chance(keyword_case_percent_)) {
    text_ += word;
    return;
  }
  std::size_t style = random_.Below(3);
  for (std::size_t i = 0; i < word.size(); ++i) {
    char c = word[i];
    bool upper = style == 0 || (style == 1 && i == (word[0] == '#' ? 1u : 0u)) ||
                 (style == 2 && random_.Chance(50));
    text_ += upper && c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
  }
}

void SourceWriter::Attached(std::string_view token) {
  if (!line_open_) WriteIndentation();
  line_open_ = true;
  text_ += token;
  last_byte_ = token.back();
}

void SourceWriter::EndLine() {
  if (random_.Chance(10)) text_ += random_.Pick(kJunkBlanks);
  text_ += LineBreak();
  line_open_ = false;
  last_byte_ = '\n';
}

std::string_view SourceWriter::LineBreak() {
  return random_.Chance(85) ? line_end_ : random_.Pick(kLineEnds);
}

void SourceWriter::BeginToken(std::string_view token) {
  if (line_open_) {
    WriteSeparator(token);
  } else {
    WriteIndentation();
    line_open_ = true;
  }
  last_byte_ = token.back();
}

// Mostly the program's own indentation unit per level, sometimes off by a
// blank or a TAB, now and then arbitrary.
void SourceWriter::WriteIndentation() {
  std::size_t roll = random_.Below(100);
  if (roll < 5) {
    for (std::size_t n = random_.Below(6); n > 0; --n) text_ += random_.Pick(kJunkBlanks);
    return;
  }
  for (int level = 0; level < depth_; ++level) text_ += indent_unit_;
  if (roll < 15) text_ += random_.Pick(kJunkBlanks);
}

void SourceWriter::WriteSeparator(std::string_view token) {
  std::size_t roll = random_.Below(100);
  if (roll < 12 && MayTouch(last_byte_, token.front())) return;
  if (roll < 85) {
    text_ += ' ';
  } else {
    text_ += random_.Pick(kJunkBlanks);
  }
}

}  // namespace vemra
