#include "cli/run_settings.h"

#include <string_view>

#include "base/conversions.h"

namespace vemra {

namespace {

void ApplyOption(std::string_view option, RunSettings& settings) {
  const std::size_t equals = option.find('=');
  const std::string name = LowerAscii(option.substr(0, equals));
  const std::string_view value =
      equals == std::string_view::npos ? std::string_view() : option.substr(equals + 1);
  if (name == "tabs") {
    settings.UseTabs = ParseBoolean(value);
  } else if (name == "tabwidth") {
    settings.TabWidth = ParseInteger(value);
  } else if (name == "extralines") {
    settings.KeepExtraLines = ParseBoolean(value);
  } else if (name == "check") {
    settings.Check = ParseBoolean(value);
  } else if (name == "diff") {
    settings.Diff = ParseBoolean(value);
  }
}

}  // namespace

void ApplyArgument(const std::string& argument, RunSettings& settings) {
  if (!argument.empty() && argument.front() == '-') {
    ApplyOption(std::string_view(argument).substr(1), settings);
  } else if (settings.InputPath.empty()) {
    settings.InputPath = argument;
  } else {
    settings.OutputPath = argument;
  }
}

}  // namespace vemra
