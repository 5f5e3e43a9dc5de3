// The language-server benchmark: vemrafmt -lsp=1 driven over a pipe, as an
// editor drives it. For each document size, the document is opened
// formatted, then one line at a time is changed and the document formatted:
// the time from sending the formatting request to reading its answer is
// measured for every request, and the server's resident memory is read
// after the first 100 requests and after the last. A formatting request on
// the document as generated (every line to change) is timed as well.
#pragma once

#include <cstddef>
#include <ostream>
#include <string>
#include <vector>

namespace vemra {

struct LanguageServerBenchOptions {
  std::string formatter;                 // the program measured
  std::vector<std::size_t> sizes;        // document sizes, in bytes
  std::size_t requests = 1000;           // formatting requests per document
  std::size_t unformatted_requests = 5;  // requests on the document as generated
};

void MeasureLanguageServer(const LanguageServerBenchOptions& options, std::ostream& out);

}  // namespace vemra
