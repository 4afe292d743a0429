#include "form/mainform.h"

#include "form/layout.h"

namespace vx::form {

namespace {
#include "mainform_layout.inc"
}

MainForm::MainForm() : Form("MainForm") {
  loadLayout(*this, kMainFormLayout);
  for (int deck = 0; deck < 2; ++deck)
    for (size_t c = 0; c < kSongColumns.size(); ++c) songColumns_[deck][c] = &listBox(kSongColumns[c], deck);
  width = 10680;
  height = 8640;
  left = 1200;
  top = 1200;
}

SplashForm::SplashForm() : Form("frmSplash") {
  loadLayout(*this,
             "picture Image2 - 240 240 480 480 \"\"\n"
             "label lblVersion - 2400 2700 3000 300 \"\"\n"
             "picture splash - 0 0 6000 3600 \"splash.bmp\"\n"
             "timer Timer1 2500\n");
  width = 6000;
  height = 3600;
}

AboutForm::AboutForm() : Form("about") {
  loadLayout(*this,
             "picture Image1 - 240 240 480 480 \"\"\n"
             "label lblVersion - 960 300 3000 300 \"\"\n"
             "label OK - 3000 1500 900 360 \"OK\"\n");
  width = 4500;
  height = 2400;
}

}  // namespace vx::form
