// The run of -lsp: the program serves an editor as a language server on its
// standard streams, formatting each document as a run on a file of its name
// would.
#pragma once

#include "cli/console.h"
#include "cli/run_settings.h"

namespace vemra {

// Refuses -lsp=1 with what it would pass over: file names, -stdin, -stdout,
// -check or -diff. Throws EArgumentError.
void CheckLanguageServerMode(const RunSettings& settings);

// Serves the client until it says "exit" or standard input ends; returns
// the server's exit status.
int RunLanguageServerMode(Console& console, const RunSettings& settings, int input_fd);

}  // namespace vemra
