#include "cli/failure_text.h"

#include <new>

#include "base/failures.h"

namespace vemra {

FailureText FailureOf(std::exception_ptr failure) {
  try {
    std::rethrow_exception(failure);
  } catch (const Exception& known) {
    return {known.ClassName(), known.Message()};
  } catch (const std::bad_alloc&) {
    return {"EOutOfMemory", "Out of memory"};
  } catch (const std::exception& other) {
    // Not expected from the program's own code; still one line and a failure
    // status rather than an abort.
    return {"Exception", other.what()};
  } catch (...) {
    return {"Exception", "Unknown failure"};
  }
}

}  // namespace vemra
