#pragma once
// The main window of a program on test doubles, drawn with a built-in skin.
#include <QImage>
#include <memory>
#include <string>

#include <gtest/gtest.h>

#include "tests/support/test_program.h"
#include "view/gui_app.h"

namespace vx::test {

inline const std::string kSkinRoot = VELVOX_BUILD_DIR "/picture";

class WindowFixture : public ::testing::Test {
 protected:
  TestProgram t;
  Program& p = t.p;
  std::unique_ptr<view::GuiApp> gui;

  void SetUp() override;
  void TearDown() override;
  // Loads a skin, lays the window out and shows it.
  void showWith(const std::string& skin);
  void settle();

  view::FormCanvas& canvas() { return gui->mainWindow().canvas(); }
  form::Control& control(const std::string& name, int index = -1) { return *p.main.find(name, index); }
  // The centre of a control on the canvas, in pixels.
  QPoint centreOf(const std::string& name, int index = -1);
  QPoint pointIn(const std::string& name, int index, double xTwips, double yTwips);
  QImage grabCanvas();
};

}  // namespace vx::test
