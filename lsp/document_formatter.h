// What the server asks of the program's formatting: the text a document
// becomes, formatted exactly as the command line formats a file of that
// name, with the same settings lookup. The command line hands the server
// its own implementation, so that the server never includes the driver.
#pragma once

#include <string>

#include "formatter/source_diagnostics.h"

namespace vemra::lsp {

struct FormattedDocument {
  std::string text;
  SourceDiagnostics diagnostics;
};

class DocumentFormatter {
 public:
  virtual ~DocumentFormatter() = default;
  // The formatted text of a document at path (empty for a document of no
  // file); throws, with a message for the client, when it cannot be
  // formatted.
  virtual FormattedDocument Format(const std::string& path, const std::string& text) = 0;
};

}  // namespace vemra::lsp
