// Whole numbers given to the benchmark tools' options.
#pragma once

#include <cstddef>
#include <string>

namespace vemra {

// value as a whole number; throws Exception naming the option (name) when
// it is not one.
std::size_t ParseCount(const std::string& name, const std::string& value);

}  // namespace vemra
