#include "frontend/driver.h"

namespace vemra {

int RunCommandLine(const std::vector<std::string>&, std::ostream&) {
  return kExitSuccess;
}

}  // namespace vemra
