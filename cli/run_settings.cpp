#include "cli/run_settings.h"

#include "base/conversions.h"
#include "base/failures.h"
#include "cli/option_table.h"

namespace vemra {

namespace {

// The option's name: the text before the first "=", lower-cased.
std::string NameOf(std::string_view option) {
  return LowerAscii(option.substr(0, option.find('=')));
}

// An option without "=": "--check" is "--check=1", as most programs read
// a flag; "-check" has the empty value, which no option takes, and its
// failure says which option wanted one.
void ApplyWithoutValue(const OptionSpec& option, const std::string& argument, bool two_dashes,
                       RunSettings& settings) {
  if (two_dashes && TakesBoolean(option)) {
    option.apply("1", settings);
    return;
  }
  try {
    option.apply(std::string_view(), settings);
  } catch (const EConvertError& failure) {
    throw EConvertError(argument + " needs a value, as in " + std::string(option.synopsis) + ": " +
                        failure.Message());
  }
}

void ApplyOption(const std::string& argument, RunSettings& settings) {
  std::string_view option = std::string_view(argument).substr(1);
  // "--check=1" is "-check=1", the habit of most programs; a name that is
  // not an option either way is kept as typed.
  const bool two_dashes =
      option.starts_with('-') && FindOption(NameOf(option.substr(1))) != nullptr;
  if (two_dashes) option.remove_prefix(1);
  const OptionSpec* const known = FindOption(NameOf(option));
  if (known == nullptr) {
    settings.UnknownOptions.push_back(argument);
    return;
  }
  const std::size_t equals = option.find('=');
  if (equals == std::string_view::npos) {
    ApplyWithoutValue(*known, argument, two_dashes, settings);
  } else {
    known->apply(option.substr(equals + 1), settings);
  }
  settings.GivenOptions.push_back(known->name);
}

}  // namespace

std::string RunSettings::InputName() const {
  if (!Stdin) return InputPath;
  return FileName.empty() ? "standard input" : FileName;
}

bool RunSettings::Given(std::string_view name) const {
  for (const std::string_view given : GivenOptions) {
    if (given == name) return true;
  }
  return false;
}

void ApplyArgument(const std::string& argument, RunSettings& settings) {
  if (!settings.OptionsEnded && argument == "--") {
    settings.OptionsEnded = true;
    return;
  }
  if (!settings.OptionsEnded && !argument.empty() && argument.front() == '-') {
    ApplyOption(argument, settings);
    return;
  }
  // An empty argument names nothing: the next name is still the first.
  if (argument.empty()) return;
  settings.Names.push_back(argument);
  if (settings.InputPath.empty()) {
    settings.InputPath = argument;
  } else {
    settings.OutputPath = argument;
  }
}

}  // namespace vemra
