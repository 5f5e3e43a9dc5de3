#include <iostream>
#include <string>
#include <vector>

#include "cli/driver.h"

int main(int argc, char** argv) {
  return vemra::RunCommandLine(std::vector<std::string>(argv + 1, argv + argc), std::cout);
}
