#pragma once

#include <string>

namespace vemra {

// "True" or "False", as the console lines print option values.
std::string BoolToText(bool value);

}  // namespace vemra
