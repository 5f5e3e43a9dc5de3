// The framing of the protocol's messages on a byte stream: header lines
// ("Content-Length: N", each ending in CR LF), an empty line, then N bytes
// of body. Only this layer knows about headers.
#pragma once

#include <cstddef>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>

namespace vemra::lsp {

// What one read of the stream found.
struct Frame {
  enum class Kind { kMessage, kBadHeader, kEnd };
  Kind kind = Kind::kEnd;
  std::string body;  // the message's body; for kBadHeader, what was wrong
};

// Reads framed messages from a descriptor, through its own buffer.
class MessageReader {
 public:
  explicit MessageReader(int fd) : fd_(fd) {}

  // The next message. A header block without a valid Content-Length is
  // passed over whole and reported as kBadHeader, so that the stream can
  // go on with the next message; kEnd when the stream ends or fails.
  Frame Next();

 private:
  // The next header line, without its line end; none at the end of the
  // stream.
  std::optional<std::string> HeaderLine();
  bool Fill();

  int fd_;
  std::string buffer_;
  std::size_t used_ = 0;  // bytes of buffer_ already taken
};

// Writes one message with its header and flushes; false when the stream
// failed.
bool WriteMessage(std::ostream& out, std::string_view body);

}  // namespace vemra::lsp
