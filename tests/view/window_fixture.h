#pragma once
// The main window of a program on test doubles, drawn with a built-in skin.
#include <QEvent>
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
  // A mouse event sent straight to the canvas: `button` changed, `held` are down afterwards.
  void sendMouse(QEvent::Type type, QPoint at, Qt::MouseButton button, Qt::MouseButtons held);
};

// True when the picture file is drawn unchanged with its top-left corner at `corner`.
bool drawnAt(const QImage& shot, const std::string& file, QPoint corner);

}  // namespace vx::test
