// File names as reports and messages show them. A name may hold any byte
// but "/" and NUL; a line end or another control byte in it, shown as it
// is, would break the report's line or forge one. Such a name is shown with
// C-style escapes, the way git shows paths; every other name as it is.
#pragma once

#include <string>
#include <string_view>

namespace vemra {

// Whether name holds a byte below 0x20, or 0x7F: a name that must be escaped.
bool NeedsEscapes(std::string_view name);

// name as it is, when it needs no escapes; otherwise in double quotes, with
// \a \b \t \n \v \f \r \" \\ for those bytes and \ooo (three octal digits)
// for every other control byte. Bytes 0x80 to 0xFF stay as they are.
std::string QuoteName(std::string_view name);

// name as it stands between the double quotes a message already puts
// around it: as it is, when it needs no escapes; otherwise with the
// escapes of QuoteName, without a second pair of quotes.
std::string EscapedName(std::string_view name);

}  // namespace vemra
