#include "lsp/message_framing.h"

#include <charconv>

#include "base/stream_read.h"

namespace vemra::lsp {

namespace {

constexpr std::size_t kReadPiece = 65536;
// A header line longer than this is no header.
constexpr std::size_t kMaxHeaderLine = 4096;
// The largest body taken: larger lengths are refused as the reader would
// have to hold them whole.
constexpr std::size_t kMaxBody = std::size_t{1} << 31;

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
    if (lower(a[i]) != lower(b[i])) return false;
  }
  return true;
}

std::string_view Trimmed(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  return text;
}

// The length a "Content-Length" header line gives; none for another header.
std::optional<std::size_t> ContentLength(std::string_view line, bool& bad) {
  const std::size_t colon = line.find(':');
  if (colon == std::string_view::npos) {
    bad = true;
    return std::nullopt;
  }
  if (!EqualsIgnoringCase(Trimmed(line.substr(0, colon)), "content-length")) return std::nullopt;
  const std::string_view value = Trimmed(line.substr(colon + 1));
  std::size_t length = 0;
  const auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), length);
  if (error != std::errc() || end != value.data() + value.size() || length > kMaxBody) {
    bad = true;
    return std::nullopt;
  }
  return length;
}

}  // namespace

bool MessageReader::Fill() {
  if (used_ > 0) {
    buffer_.erase(0, used_);
    used_ = 0;
  }
  const std::size_t size = buffer_.size();
  buffer_.resize(size + kReadPiece);
  const long got = ReadFromStream(fd_, buffer_.data() + size, kReadPiece);
  buffer_.resize(size + static_cast<std::size_t>(got > 0 ? got : 0));
  return got > 0;
}

std::optional<std::string> MessageReader::HeaderLine() {
  for (;;) {
    const std::size_t lf = buffer_.find('\n', used_);
    if (lf != std::string::npos) {
      std::string line = buffer_.substr(used_, lf - used_);
      used_ = lf + 1;
      if (!line.empty() && line.back() == '\r') line.pop_back();
      return line;
    }
    if (buffer_.size() - used_ > kMaxHeaderLine) {
      // No line end in sight: the rest is not a header, and is dropped.
      std::string line = buffer_.substr(used_, kMaxHeaderLine);
      used_ = buffer_.size();
      return line;
    }
    if (!Fill()) return std::nullopt;
  }
}

Frame MessageReader::Next() {
  std::optional<std::size_t> length;
  bool bad = false;
  bool any_header = false;
  for (;;) {
    std::optional<std::string> line = HeaderLine();
    if (!line) return {};
    if (line->empty()) {
      if (!any_header) continue;  // stray empty lines between messages
      break;
    }
    any_header = true;
    if (std::optional<std::size_t> found = ContentLength(*line, bad)) length = found;
  }
  if (bad || !length) return {Frame::Kind::kBadHeader, "no valid Content-Length header"};
  while (buffer_.size() - used_ < *length) {
    if (!Fill()) return {};
  }
  Frame frame{Frame::Kind::kMessage, buffer_.substr(used_, *length)};
  used_ += *length;
  return frame;
}

bool WriteMessage(std::ostream& out, std::string_view body) {
  const std::string header = "Content-Length: " + std::to_string(body.size()) + "\r\n\r\n";
  out.write(header.data(), static_cast<std::streamsize>(header.size()));
  out.write(body.data(), static_cast<std::streamsize>(body.size()));
  out.flush();
  return static_cast<bool>(out);
}

}  // namespace vemra::lsp
