// Text across the boundary to Windows: the program carries every text as
// UTF-8 bytes, the system's wide functions take UTF-16. Converted at the
// last call, and nowhere above it.
#pragma once

#include <string>
#include <string_view>

namespace vemra {

// UTF-8 to UTF-16; bytes that are no UTF-8 become U+FFFD.
std::wstring WideText(std::string_view text);
// UTF-16 to UTF-8; a lone surrogate becomes U+FFFD.
std::string Utf8Text(std::wstring_view text);

// A file name for the wide file functions: UTF-16, and made absolute with
// the "\\?\" prefix when it is too long for the plain form, so that paths of
// any length work.
std::wstring WidePath(const std::string& path);

// The "\\?\" form of a full path as the file system gave it (see
// OrdinaryPath), or of such a path with a name added: the system takes it as
// it stands, so that no name in it is read as a device (CON, NUL.vem) and no
// trailing dot or blank is dropped.
std::wstring VerbatimPath(const std::string& full_path);

// A verbatim folder path and a name in it, joined by one backslash: the
// system reads no separator twice in a verbatim path.
std::wstring VerbatimJoin(const std::wstring& folder, const std::wstring& name);

}  // namespace vemra
