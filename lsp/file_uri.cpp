#include "lsp/file_uri.h"

#include <string_view>

namespace vemra::lsp {

namespace {

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

std::string PercentDecoded(std::string_view text) {
  std::string decoded;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '%' && i + 2 < text.size() && HexValue(text[i + 1]) >= 0 &&
        HexValue(text[i + 2]) >= 0) {
      decoded.push_back(static_cast<char>(HexValue(text[i + 1]) * 16 + HexValue(text[i + 2])));
      i += 2;
    } else {
      decoded.push_back(text[i]);
    }
  }
  return decoded;
}

bool IsDriveLetterPath(std::string_view path) {
  return path.size() >= 3 && path[0] == '/' &&
         ((path[1] >= 'A' && path[1] <= 'Z') || (path[1] >= 'a' && path[1] <= 'z')) &&
         path[2] == ':';
}

}  // namespace

std::string PathOfUri(const std::string& uri) {
  constexpr std::string_view kScheme = "file://";
  std::string_view rest(uri);
  if (rest.substr(0, kScheme.size()) != kScheme) return std::string();
  rest.remove_prefix(kScheme.size());
  // The authority: empty or "localhost" for a local file.
  const std::size_t slash = rest.find('/');
  if (slash == std::string_view::npos) return std::string();
  rest.remove_prefix(slash);
  std::string path = PercentDecoded(rest);
  if (IsDriveLetterPath(path)) path.erase(0, 1);
  return path;
}

}  // namespace vemra::lsp
