#pragma once

#include <string>

namespace vemra {

// The system's description of an errno value, without the trailing blanks,
// control bytes and full stops that would spoil a one-line message.
std::string SystemErrorText(int error_code);

}  // namespace vemra
