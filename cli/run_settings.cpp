#include "cli/run_settings.h"

#include <string_view>

#include "base/conversions.h"
#include "base/failures.h"

namespace vemra {

namespace {

std::int32_t ParseJobs(std::string_view value) {
  const std::int32_t jobs = ParseInteger(value);
  if (jobs < 1) {
    throw EConvertError("'" + std::string(value) + "' is not a valid number of jobs (1 or more)");
  }
  return jobs;
}

// "vem,VM,.src": lower-cased, a leading dot dropped, empty items skipped.
std::vector<std::string> ParseExtensions(std::string_view value) {
  std::vector<std::string> extensions;
  std::size_t start = 0;
  while (start <= value.size()) {
    std::size_t comma = value.find(',', start);
    if (comma == std::string_view::npos) comma = value.size();
    std::string_view item = value.substr(start, comma - start);
    if (!item.empty() && item.front() == '.') item.remove_prefix(1);
    if (!item.empty()) extensions.push_back(LowerAscii(item));
    start = comma + 1;
  }
  if (extensions.empty()) {
    throw EConvertError("'" + std::string(value) + "' is not a valid list of extensions");
  }
  return extensions;
}

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
  } else if (name == "files") {
    settings.Files = ParseBoolean(value);
  } else if (name == "ext") {
    settings.Extensions = ParseExtensions(value);
  } else if (name == "jobs") {
    settings.Jobs = ParseJobs(value);
  }
}

}  // namespace

void ApplyArgument(const std::string& argument, RunSettings& settings) {
  if (!argument.empty() && argument.front() == '-') {
    ApplyOption(std::string_view(argument).substr(1), settings);
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
