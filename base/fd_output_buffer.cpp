#include "base/fd_output_buffer.h"

#include <string_view>

#include "base/stream_write.h"

namespace vemra {

namespace {

// Console lines gather here; a result larger than this goes straight to the
// descriptor, without a copy.
constexpr std::size_t kBufferSize = 64 * 1024;

}  // namespace

FdOutputBuffer::FdOutputBuffer(int fd)
    : fd_(fd), buffer_(std::make_unique_for_overwrite<char[]>(kBufferSize)) {
  setp(buffer_.get(), buffer_.get() + kBufferSize);
}

FdOutputBuffer::~FdOutputBuffer() {
  Drain();
}

bool FdOutputBuffer::WriteOut(const char* bytes, std::size_t count) {
  if (error_ != 0) return false;
  error_ = WriteToStream(fd_, std::string_view(bytes, count));
  return error_ == 0;
}

bool FdOutputBuffer::Drain() {
  const std::size_t pending = static_cast<std::size_t>(pptr() - pbase());
  setp(buffer_.get(), buffer_.get() + kBufferSize);
  return pending == 0 ? error_ == 0 : WriteOut(buffer_.get(), pending);
}

FdOutputBuffer::int_type FdOutputBuffer::overflow(int_type c) {
  if (!Drain()) return traits_type::eof();
  if (traits_type::eq_int_type(c, traits_type::eof())) return traits_type::not_eof(c);
  *pptr() = traits_type::to_char_type(c);
  pbump(1);
  return c;
}

std::streamsize FdOutputBuffer::xsputn(const char* bytes, std::streamsize count) {
  const auto size = static_cast<std::size_t>(count);
  if (size > static_cast<std::size_t>(epptr() - pptr()) && !Drain()) return 0;
  if (size > kBufferSize) return WriteOut(bytes, size) ? count : 0;
  traits_type::copy(pptr(), bytes, size);
  pbump(static_cast<int>(size));
  return count;
}

int FdOutputBuffer::sync() {
  return Drain() ? 0 : -1;
}

}  // namespace vemra
