#include "formatter/tab_removal.h"

#include <cstring>

namespace vemra {
namespace {

bool JoiningChangesTokens(char before, char after) {
  return before == '\\' || (before == '*' && after == '/');
}

}  // namespace

void RemoveTabs(std::string& text) {
  char* const begin = text.data();
  const char* const end = begin + text.size();
  const char* read = static_cast<const char*>(std::memchr(begin, '\t', text.size()));
  if (read == nullptr) return;
  char* write = const_cast<char*>(read);
  while (read < end) {
    if (*read != '\t') {
      *write++ = *read++;
      continue;
    }
    const char* run_end = read;
    while (run_end < end && *run_end == '\t') ++run_end;
    const char before = write > begin ? write[-1] : '\0';
    const char after = run_end < end ? *run_end : '\0';
    if (JoiningChangesTokens(before, after)) *write++ = ' ';
    read = run_end;
  }
  text.resize(static_cast<std::size_t>(write - begin));
}

}  // namespace vemra
