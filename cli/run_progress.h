// The progress lines a run prints while it loads, formats and saves.
#pragma once

#include <ostream>
#include <string>

#include "base/string_list.h"
#include "cli/file_options.h"
#include "cli/run_settings.h"
#include "formatter/source_diagnostics.h"

namespace vemra {

// Starts a console line that "done!" completes once the step has succeeded;
// it is flushed so that it shows while the step runs. Both throw EWriteError
// when the console cannot be written to.
void BeginStep(std::ostream& console, const std::string& text);
void EndStep(std::ostream& console);

// Formats lines, as loaded, with the options, without a word on the
// console. A text that does not settle fails with EFormatNotSettled naming
// shown_path. Should formatting fail, lines is left empty. With
// diagnostics, the findings on the text's blocks are put there.
void FormatLines(const FileOptions& options, TStringList& lines, const std::string& shown_path,
                 SourceDiagnostics* diagnostics = nullptr);

// Prints the options line (OptionsLine), then formats lines with the
// options between "Parsing..." and "done!".
void FormatWithProgress(std::ostream& console, const RunSettings& settings,
                        const FileOptions& options, TStringList& lines,
                        const std::string& shown_path, SourceDiagnostics* diagnostics = nullptr);

}  // namespace vemra
