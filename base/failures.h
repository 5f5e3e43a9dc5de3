// The one exception family of the program. Every failure that can end a run
// is one of these classes; only the driver catches them, and it prints
// ClassName() + ": " + Message() on one console line.
#pragma once

#include <exception>
#include <string>

namespace vemra {

class Exception : public std::exception {
 public:
  Exception(std::string message) : Exception("Exception", std::move(message)) {}

  const std::string& ClassName() const noexcept { return class_name_; }
  const std::string& Message() const noexcept { return message_; }
  const char* what() const noexcept override { return message_.c_str(); }

 protected:
  Exception(std::string class_name, std::string message)
      : class_name_(std::move(class_name)), message_(std::move(message)) {}

 private:
  std::string class_name_;
  std::string message_;
};

// Declares a failure class whose console name is its C++ name. The protected
// constructor lets further classes derive from it and keep their own name.
#define VEMRA_FAILURE_CLASS(Name, Base)                                     \
  class Name : public Base {                                                \
   public:                                                                  \
    explicit Name(std::string message) : Base(#Name, std::move(message)) {} \
                                                                            \
   protected:                                                               \
    Name(std::string class_name, std::string message)                       \
        : Base(std::move(class_name), std::move(message)) {}                \
  }

VEMRA_FAILURE_CLASS(EConvertError, Exception);
VEMRA_FAILURE_CLASS(EStringListError, Exception);
VEMRA_FAILURE_CLASS(EIntOverflow, Exception);
VEMRA_FAILURE_CLASS(EOutOfMemory, Exception);
// The arguments of a run do not say what it can do: file names that do not
// fit its mode, options that cannot go together, an unknown option.
VEMRA_FAILURE_CLASS(EArgumentError, Exception);
// A project's settings file that applies to an input cannot be read or
// parsed: the input is not formatted with settings other than its own.
VEMRA_FAILURE_CLASS(ESettingsError, Exception);
VEMRA_FAILURE_CLASS(ETextTooLarge, Exception);
VEMRA_FAILURE_CLASS(EFormatNotSettled, Exception);
VEMRA_FAILURE_CLASS(EStreamError, Exception);
VEMRA_FAILURE_CLASS(EFileStreamError, EStreamError);
VEMRA_FAILURE_CLASS(EFOpenError, EFileStreamError);
VEMRA_FAILURE_CLASS(EFCreateError, EFileStreamError);
VEMRA_FAILURE_CLASS(EFilerError, EStreamError);
VEMRA_FAILURE_CLASS(EReadError, EFilerError);
VEMRA_FAILURE_CLASS(EWriteError, EFilerError);

#undef VEMRA_FAILURE_CLASS

}  // namespace vemra
