#include "cli/project_settings.h"

#include <optional>
#include <string_view>

#include "base/conversions.h"
#include "base/expand_path.h"
#include "base/failures.h"
#include "base/path_parts.h"
#include "cli/editorconfig_properties.h"
#include "textutil/quote_name.h"

namespace vemra {

namespace {

// A whole number of one or more, in decimal digits; 0 when the value is
// not one.
std::int32_t WholeNumber(std::string_view value) {
  if (value.empty() || value.size() > 9) return 0;
  std::int32_t number = 0;
  for (const char digit : value) {
    if (digit < '0' || digit > '9') return 0;
    number = number * 10 + (digit - '0');
  }
  return number;
}

const EditorConfigProperty* Find(const std::vector<EditorConfigProperty>& properties,
                                 std::string_view name) {
  for (const EditorConfigProperty& property : properties) {
    if (property.name == name) return &property;
  }
  return nullptr;
}

std::string_view ValueOf(const std::vector<EditorConfigProperty>& properties,
                         std::string_view name) {
  const EditorConfigProperty* const property = Find(properties, name);
  return property != nullptr ? std::string_view(property->value) : std::string_view();
}

void TakeIndentStyle(std::string_view value, const std::string& file, FileOptions& options) {
  if (value != "tab" && value != "space") return;
  options.UseTabs = value == "tab";
  options.UseTabsFrom = file;
}

// The width of an indentation step; "tab" makes it the width of a TAB.
void TakeIndentSize(const std::vector<EditorConfigProperty>& properties, const std::string& file,
                    FileOptions& options) {
  std::string_view size = ValueOf(properties, "indent_size");
  if (size == "tab") size = ValueOf(properties, "tab_width");
  const std::int32_t width = WholeNumber(size);
  if (width == 0) return;
  options.TabWidth = width;
  options.TabWidthFrom = file;
}

void TakeEndOfLine(std::string_view value, const std::string& file, const std::string& input,
                   InputOptions& taken) {
  if (value == "cr") {
    taken.warnings.push_back(QuoteName(input) + ": end_of_line = cr in " + QuoteName(file) +
                             " is not supported, and passed over");
    return;
  }
  if (value != "lf" && value != "crlf") return;
  taken.options.LineEnds = value == "lf" ? LineEndChoice::kLf : LineEndChoice::kCrLf;
  taken.options.LineEndsFrom = file;
}

// The value of one of the program's own properties, true or false in any
// letter case; none when it is not set. Any other value fails, naming the
// settings file and line that set it (looked for from nearest upward).
std::optional<bool> SwitchValue(const std::vector<EditorConfigProperty>& properties,
                                std::string_view name, const std::string& nearest) {
  const EditorConfigProperty* const property = Find(properties, name);
  if (property == nullptr) return std::nullopt;
  const std::string value = LowerAscii(property->value);
  if (value == "true" || value == "false") return value == "true";
  const SettingsLine where = LineSetting(nearest, name, property->value);
  throw ESettingsError(
      "Cannot use settings file \"" + EscapedName(where.file) +
      "\": " + (where.line > 0 ? "line " + std::to_string(where.line) + ": " : "") +
      std::string(name) + " = " + EscapedName(property->value) + " is not true or false");
}

}  // namespace

ProjectSettings::ProjectSettings(const RunSettings& settings) : settings_(settings) {}

InputOptions ProjectSettings::For(const std::string& name) {
  InputOptions taken;
  taken.options = CommandLineOptions(settings_);
  if (!settings_.EditorConfig || name.empty()) return taken;
  const std::string full_path = ExpandPath(name);
  const std::string file = search_.NearestFile(FolderOf(full_path));
  if (file.empty()) return taken;
  const std::vector<EditorConfigProperty> properties = EditorConfigProperties(full_path);
  // The library does not say which file set a property; a value is shown
  // as coming from the nearest settings file, where the search began.
  if (!settings_.Given("tabs")) {
    TakeIndentStyle(ValueOf(properties, "indent_style"), file, taken.options);
  }
  if (!settings_.Given("tabwidth")) {
    TakeIndentSize(properties, file, taken.options);
  }
  if (!settings_.Given("lineends")) {
    TakeEndOfLine(ValueOf(properties, "end_of_line"), file, name, taken);
  }
  if (!settings_.Given("extralines")) {
    if (const auto extra_lines = SwitchValue(properties, "vemrafmt_extralines", file)) {
      taken.options.KeepExtraLines = *extra_lines;
      taken.options.KeepExtraLinesFrom = file;
    }
  }
  taken.skip = SwitchValue(properties, "vemrafmt_skip", file).value_or(false);
  return taken;
}

}  // namespace vemra
