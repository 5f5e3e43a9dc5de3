#include "cli/text_formatting.h"

#include "base/string_list.h"
#include "cli/project_settings.h"
#include "cli/run_progress.h"

namespace vemra {

FileOptions OptionsFor(Console& console, const RunSettings& settings, const std::string& path) {
  ProjectSettings project(settings);
  InputOptions taken = project.For(path);
  for (const std::string& warning : taken.warnings) console.Warn(warning);
  return std::move(taken.options);
}

FormattedText FormatText(Console& console, const RunSettings& settings, const std::string& path,
                         std::string_view text) {
  const FileOptions options = OptionsFor(console, settings, path);
  TStringList lines;
  lines.AssignText(text);
  FormattedText formatted;
  FormatLines(options, lines, path, &formatted.diagnostics);
  std::string holder;
  const std::string_view joined = lines.JoinedText(holder);
  formatted.text = joined.data() == holder.data() ? std::move(holder) : std::string(joined);
  return formatted;
}

}  // namespace vemra
