// A stream buffer that writes to a file descriptor and remembers why a
// write failed, so that a run can tell that its standard output is full or
// closed, and say so.
#pragma once

#include <cstddef>
#include <memory>
#include <streambuf>

namespace vemra {

class FdOutputBuffer final : public std::streambuf {
 public:
  explicit FdOutputBuffer(int fd);
  ~FdOutputBuffer() override;
  FdOutputBuffer(const FdOutputBuffer&) = delete;
  FdOutputBuffer& operator=(const FdOutputBuffer&) = delete;

  // The system's error code of the first write that failed; 0 while none has. After a
  // failure every later write fails too, so that the stream stays bad.
  int Error() const { return error_; }

 protected:
  int_type overflow(int_type c) override;
  std::streamsize xsputn(const char* bytes, std::streamsize count) override;
  int sync() override;

 private:
  bool WriteOut(const char* bytes, std::size_t count);
  bool Drain();

  const int fd_;
  int error_ = 0;
  // Bytes not yet written, pbase() to pptr(); left unfilled until used, as a
  // short run writes little.
  const std::unique_ptr<char[]> buffer_;
};

}  // namespace vemra
