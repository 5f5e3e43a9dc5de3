// Numbers written in the "C" conventions (a "." before the fraction),
// whatever the locale the program runs in.
#pragma once

#include <string>

namespace vemra {

// Converts a number of digits, an optional "." fraction and an optional
// "e" exponent to value; false when it lies beyond the range of long
// double (a number too small for it is 0).
bool ConvertCNumber(const std::string& canonical, long double& value);

}  // namespace vemra
