// Value conversions and small text operations of the front end.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace vemra {

// Decimal or hexadecimal ("$1F", "0x1F", "x1F") 32-bit integer; throws
// EConvertError "'<text>' is not a valid integer value".
std::int32_t ParseInteger(std::string_view text);
// A number (true when not zero) or "True"/"False" in any letter case; throws
// EConvertError "'<text>' is not a valid boolean value".
// The decimal separator is the user's (DecimalSeparator()).
bool ParseBoolean(std::string_view text);
// The same with a given decimal separator.
bool ParseBoolean(std::string_view text, std::string_view decimal_separator);
std::string IntegerToText(std::int32_t value);
// Removes every trailing byte of value 0x20 or lower.
std::string TrimTrailing(std::string_view text);
// The same, as a view into text, for callers that trim many lines in a row.
std::string_view TrimmedTrailing(std::string_view text);
// Lowers A to Z only; every other byte is unchanged.
std::string LowerAscii(std::string_view text);

}  // namespace vemra
