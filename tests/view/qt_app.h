#pragma once
#include <QApplication>

namespace vx::test {

// The one application object of the test process, on Qt's offscreen platform unless another
// platform was asked for.
QApplication& testApp();

}  // namespace vx::test
