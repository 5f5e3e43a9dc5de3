#include "textutil/quote_name.h"

namespace vemra {

namespace {

bool IsControl(unsigned char byte) {
  return byte < 0x20 || byte == 0x7F;
}

// The letter of the short escape for byte, or 0 when it has none.
char ShortEscape(unsigned char byte) {
  switch (byte) {
    case '\a':
      return 'a';
    case '\b':
      return 'b';
    case '\t':
      return 't';
    case '\n':
      return 'n';
    case '\v':
      return 'v';
    case '\f':
      return 'f';
    case '\r':
      return 'r';
    case '"':
      return '"';
    case '\\':
      return '\\';
    default:
      return 0;
  }
}

void AppendEscaped(std::string_view name, std::string& out) {
  for (const char c : name) {
    const auto byte = static_cast<unsigned char>(c);
    if (const char letter = ShortEscape(byte)) {
      out += '\\';
      out += letter;
    } else if (IsControl(byte)) {
      out += '\\';
      out += static_cast<char>('0' + (byte >> 6));
      out += static_cast<char>('0' + ((byte >> 3) & 7));
      out += static_cast<char>('0' + (byte & 7));
    } else {
      out += c;
    }
  }
}

}  // namespace

bool NeedsEscapes(std::string_view name) {
  for (const char c : name) {
    if (IsControl(static_cast<unsigned char>(c))) return true;
  }
  return false;
}

std::string QuoteName(std::string_view name) {
  if (!NeedsEscapes(name)) return std::string(name);
  std::string quoted(1, '"');
  AppendEscaped(name, quoted);
  quoted += '"';
  return quoted;
}

std::string EscapedName(std::string_view name) {
  if (!NeedsEscapes(name)) return std::string(name);
  std::string escaped;
  AppendEscaped(name, escaped);
  return escaped;
}

}  // namespace vemra
