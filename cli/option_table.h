// Every option of the command line, in one table: the reader of the
// arguments finds options here, and the usage text lists them from here, so
// the two cannot drift apart.
#pragma once

#include <span>
#include <string>
#include <string_view>

#include "cli/run_settings.h"

namespace vemra {

struct OptionSpec {
  std::string_view name;      // lower case, as written after the dash
  std::string_view synopsis;  // how the usage text shows it; empty: an alias, not listed
  std::string_view fallback;  // the value in force when the option is not given; empty: none
  std::string_view meaning;   // what it does, one line of the usage text
  // Sets what the option names from its value (the text after the first
  // "=", empty without one); throws EConvertError for a value that does not
  // convert.
  void (*apply)(std::string_view value, RunSettings& settings);
};

// The options in the order the usage text lists them.
std::span<const OptionSpec> Options();

// Whether the option's value is a boolean ("-check=B").
bool TakesBoolean(const OptionSpec& option);

// The option of that name (lower case); null when there is none.
const OptionSpec* FindOption(std::string_view name);

// The listed option whose name is closest to name, as a typing slip would
// make it, or empty when none is close.
std::string_view ClosestOptionName(std::string_view name);

}  // namespace vemra
