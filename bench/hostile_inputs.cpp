#include "bench/hostile_inputs.h"

#include <string_view>

#include "bench/random_source.h"

namespace vemra {
namespace {

constexpr std::string_view kLineEnd = "\r\n";

// Appends pieces drawn from the table until the text holds bytes bytes.
template <std::size_t N>
void FillWith(std::string& text, std::size_t bytes, const std::string_view (&pieces)[N],
              std::uint64_t seed) {
  RandomSource random(seed);
  while (text.size() < bytes) text += random.Pick(pieces);
}

}  // namespace

std::string EmptyLines(std::size_t count) {
  std::string text;
  text.reserve(count * kLineEnd.size());
  for (std::size_t i = 0; i < count; ++i) text += kLineEnd;
  return text;
}

std::string ColonPairsLine(std::size_t bytes) {
  std::string text;
  text.reserve(bytes + kLineEnd.size() + 1);
  while (text.size() < bytes) text += ": ";
  text += kLineEnd;
  return text;
}

std::string NestedWhileBlocks(std::size_t depth) {
  std::string text;
  for (std::size_t i = 0; i < depth; ++i) {
    text += "while i > 0";
    text += kLineEnd;
    text += "i = i - 1";
    text += kLineEnd;
  }
  for (std::size_t i = 0; i < depth; ++i) {
    text += "end";
    text += kLineEnd;
  }
  return text;
}

std::string CaseBlocksOnOneLine(std::size_t count) {
  std::string text;
  text.reserve(count * 11 + 2 * kLineEnd.size());
  for (std::size_t i = 0; i < count; ++i) text += "case x ";
  text += kLineEnd;
  for (std::size_t i = 0; i < count; ++i) text += "end ";
  text += kLineEnd;
  return text;
}

std::string MarkersOnly(std::size_t bytes) {
  static constexpr std::string_view kMarkers[] = {"#id ", "#ID ", "#Id ", "#iD ", "#id "};
  std::string text;
  text.reserve(bytes + 8);
  FillWith(text, bytes, kMarkers, 1);
  text += kLineEnd;
  return text;
}

std::string OneBlockComment(std::size_t bytes) {
  // Stars, slashes and an inner "/*" inside the comment, none of which end it.
  static constexpr std::string_view kWords[] = {"text ", "** ",     "/ ", "/* ", "* / ",   "end ",
                                                "proc ", "'quote ", "{ ", "\t",  "x = 1; "};
  RandomSource random(2);
  std::string text = "/*";
  text.reserve(bytes + 128);
  std::size_t line_start = text.size();
  while (text.size() < bytes) {
    text += random.Pick(kWords);
    if (text.size() - line_start >= 72) {
      text += kLineEnd;
      line_start = text.size();
    }
  }
  text += "*/";
  text += kLineEnd;
  return text;
}

std::string LineWithoutBlanks(std::size_t bytes) {
  static constexpr std::string_view kStatements[] = {
      "count=total+index*(left-right)/2;",
      "buffer$[i%]=name$+'x'#13#10;",
      "flags%|=0x1F;",
      "f(a,b,-1)[i]++;",
      "p^.next=@Draw;",
      "x<<=y>>2;",
      "ok=!done||a<>b;",
      "Shape::Init(&buf,\"a\\\"b\");",
      "v=~w^1e-5-.5;",
      "s=$FF%n*=3;",
  };
  std::string text;
  text.reserve(bytes + 64);
  FillWith(text, bytes, kStatements, 3);
  text += kLineEnd;
  return text;
}

std::string Repeated(std::string_view piece, std::size_t count) {
  if (piece.size() == 1) return std::string(count, piece[0]);
  std::string text;
  text.reserve(piece.size() * count);
  for (std::size_t i = 0; i < count; ++i) text += piece;
  return text;
}

std::string TabIndentedBlocks(std::size_t depth) {
  std::string text;
  text.reserve(depth * (depth + 32));
  for (std::size_t i = 0; i < depth; ++i) {
    text.append(i, '\t');
    text += "while i > 0";
    text += kLineEnd;
    text.append(i + 1, '\t');
    text += "i = i - 1";
    text += kLineEnd;
  }
  for (std::size_t i = depth; i > 0; --i) {
    text.append(i - 1, '\t');
    text += "end";
    text += kLineEnd;
  }
  return text;
}

}  // namespace vemra
