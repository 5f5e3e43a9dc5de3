#include "cli/review_verdict.h"

#include <vector>

#include "base/line_breaks.h"
#include "base/relative_path.h"
#include "cli/unified_diff.h"
#include "textutil/quote_name.h"

namespace vemra {

namespace {

constexpr std::string_view kRed = "\x1b[31m";
constexpr std::string_view kGreen = "\x1b[32m";
constexpr std::string_view kReset = "\x1b[m";

std::string LineEndName(LineEnding ending) {
  return ending == LineEnding::kLf ? "LF" : "CR LF";
}

// Whether the two texts hold the same lines, whatever ends them.
bool SameLines(std::string_view one, std::string_view other) {
  std::vector<std::string_view> lines;
  ForEachLine(other, [&lines](std::string_view line) { lines.push_back(line); });
  std::size_t next = 0;
  bool same = true;
  ForEachLine(one, [&](std::string_view line) {
    same = same && next < lines.size() && lines[next] == line;
    ++next;
  });
  return same && next == lines.size();
}

// "Would reformat: PATH", the words coloured when asked.
std::string VerdictLine(std::string_view words, std::string_view colour, const std::string& name,
                        bool coloured) {
  if (!coloured) return std::string(words) + " " + QuoteName(name) + "\n";
  return std::string(colour) + std::string(words) + std::string(kReset) + " " + QuoteName(name) +
         "\n";
}

}  // namespace

std::string PatchName(const std::string& given_name) {
  const std::string path = PathFromCurrentFolder(given_name);
  return path.empty() ? given_name : path;
}

ReviewVerdict Review(std::string_view original, const TStringList& formatted,
                     const std::string& shown_name, const std::string& given_name,
                     const ReviewRequest& request) {
  std::string holder;
  const std::string_view result = formatted.JoinedText(holder);
  if (result == original) {
    return {false, VerdictLine("Already formatted:", kGreen, shown_name, request.colour_verdict),
            std::string()};
  }
  ReviewVerdict verdict{true,
                        VerdictLine("Would reformat:", kRed, shown_name, request.colour_verdict),
                        std::string()};
  if (!request.diff && !request.list) return verdict;
  const std::string name = PatchName(given_name);
  if (request.list) verdict.data = QuoteName(name) + "\n";
  if (request.diff) {
    verdict.data += UnifiedDiff(original, result, "a/" + name, "b/" + name,
                                request.colour_patch ? DiffColours::kTerminal : DiffColours::kNone);
    if (SameLines(original, result)) {
      verdict.text += "Only line ends would change: every line would end in " +
                      LineEndName(formatted.GetLineEnding()) + "\n";
    }
  }
  return verdict;
}

}  // namespace vemra
