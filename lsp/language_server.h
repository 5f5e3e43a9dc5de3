// The language server: a loop that reads one framed message from standard
// input, answers it on standard output and goes on, until the client says
// "exit" or the stream ends. It never writes a file.
#pragma once

#include <ostream>
#include <string>

#include "lsp/document_formatter.h"

namespace vemra::lsp {

struct ServerInfo {
  std::string name;
  std::string version;
};

// Serves the client on input_fd and out until "exit" or the end of the
// input; returns the exit status: 0 when "shutdown" came first, else 1.
int RunLanguageServer(int input_fd, std::ostream& out, DocumentFormatter& formatter,
                      const ServerInfo& info);

}  // namespace vemra::lsp
