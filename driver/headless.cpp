#include "driver/headless.h"

#include <iostream>

namespace vx::driver {

int runHeadless(int, char**) {
  std::cerr << "velvox: the headless driver is not built yet\n";
  return 2;
}

}  // namespace vx::driver
