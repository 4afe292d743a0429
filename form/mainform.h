#pragma once
#include "form/form.h"

namespace vx::form {

// The main window with every control of its layout. Per-deck controls are arrays indexed by
// deck (0 = A, 1 = B).
class MainForm : public Form {
 public:
  MainForm();
};

// The splash window shown while the program starts: `Timer1` (2500 ms), `lblVersion`, `Image2`.
class SplashForm : public Form {
 public:
  SplashForm();
};

// The about window: `lblVersion`, `Image1` and the button `OK`.
class AboutForm : public Form {
 public:
  AboutForm();
};

}  // namespace vx::form
