// The system's own words for a failure, for messages. An error code is the
// system's own: errno on POSIX, GetLastError() on Windows.
#pragma once

#include <string>

namespace vemra {

// The system's description of an error code, without the trailing blanks,
// control bytes and full stops that would spoil a one-line message.
std::string SystemErrorText(int error_code);

// The system's code for an input or output that failed, for a failure that
// came with no code of its own.
int InputOutputErrorCode();

}  // namespace vemra
