#pragma once

#include <string>

namespace vemra {

// The decimal separator of the user's locale settings, "." when they give
// none. Read once, on the first call, without changing the program's own
// locale, so that nothing else formats or reads numbers differently.
const std::string& DecimalSeparator();

}  // namespace vemra
