#include "textutil/edit_distance.h"

#include <algorithm>
#include <vector>

namespace vemra {

// The rows of the usual table of distances between prefixes: row i holds the
// distances from a's first i bytes to each prefix of b. A swap looks two rows
// back, so three rows are kept.
std::size_t EditDistance(std::string_view a, std::string_view b) {
  const std::size_t width = b.size() + 1;
  std::vector<std::size_t> before_last(width), last(width), current(width);
  for (std::size_t j = 0; j < width; ++j) last[j] = j;
  for (std::size_t i = 1; i <= a.size(); ++i) {
    current[0] = i;
    for (std::size_t j = 1; j < width; ++j) {
      const std::size_t replace = last[j - 1] + (a[i - 1] == b[j - 1] ? 0 : 1);
      current[j] = std::min({last[j] + 1, current[j - 1] + 1, replace});
      if (i > 1 && j > 1 && a[i - 1] == b[j - 2] && a[i - 2] == b[j - 1]) {
        current[j] = std::min(current[j], before_last[j - 2] + 1);
      }
    }
    std::swap(before_last, last);
    std::swap(last, current);
  }
  return last[b.size()];
}

}  // namespace vemra
