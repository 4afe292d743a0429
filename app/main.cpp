// Composition root: chooses the headless driver or the window from the command line.
#include <cstring>
#include <iostream>

#include "driver/headless.h"
#ifdef VELVOX_WITH_GUI
#include "view/gui.h"
#endif

int main(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--headless") == 0) return vx::driver::runHeadless(argc, argv);
  }
#ifdef VELVOX_WITH_GUI
  return vx::view::runGui(argc, argv);
#else
  std::cerr << "velvox: built without the window; use --headless\n";
  return 2;
#endif
}
