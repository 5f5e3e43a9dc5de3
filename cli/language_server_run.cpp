#include "cli/language_server_run.h"

#include "base/failures.h"
#include "cli/text_formatting.h"
#include "lsp/language_server.h"

namespace vemra {

namespace {

// Formats a document as "-stdin=1 -filename=PATH" formats its text: the
// command line's options over the settings files found for PATH, looked up
// again for each request so that an edited .editorconfig counts at once.
class CommandLineFormatter final : public lsp::DocumentFormatter {
 public:
  CommandLineFormatter(Console& console, const RunSettings& settings)
      : console_(console), settings_(settings) {}

  lsp::FormattedDocument Format(const std::string& path, const std::string& text) override {
    FormattedText formatted = FormatText(console_, settings_, path, text);
    return {std::move(formatted.text), std::move(formatted.diagnostics)};
  }

 private:
  Console& console_;
  const RunSettings& settings_;
};

}  // namespace

void CheckLanguageServerMode(const RunSettings& settings) {
  if (settings.Lsp && (settings.HasInput() || settings.Stdout || settings.Review())) {
    throw EArgumentError(
        "-lsp=1 formats the documents an editor sends: it takes no file names, -stdin, -stdout, "
        "-check, -diff or -list");
  }
}

int RunLanguageServerMode(Console& console, const RunSettings& settings, int input_fd) {
  CommandLineFormatter formatter(console, settings);
  const int status =
      lsp::RunLanguageServer(input_fd, console.Out(), formatter, {"vemrafmt", VEMRA_VERSION});
  return status;
}

}  // namespace vemra
