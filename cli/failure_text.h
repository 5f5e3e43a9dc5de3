// What a failure says on the console: its class name and its message.
#pragma once

#include <exception>
#include <string>

namespace vemra {

struct FailureText {
  std::string class_name;  // "EFOpenError"
  std::string message;     // "Cannot open file ..."

  // "EFOpenError: Cannot open file ...", without a line end.
  std::string Line() const { return class_name + ": " + message; }
};

// The class name and message of any exception: the program's own failures
// as they are, running out of memory as EOutOfMemory, anything else as
// Exception with whatever it says.
FailureText FailureOf(std::exception_ptr failure);

}  // namespace vemra
