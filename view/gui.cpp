#include "view/gui.h"

#include <iostream>

namespace vx::view {

int runGui(int, char**) {
  std::cerr << "velvox: the window is not built yet; use --headless\n";
  return 2;
}

}  // namespace vx::view
