#include "tests/view/window_fixture.h"

#include <QApplication>
#include <QMouseEvent>

#include "tests/view/qt_app.h"
#include "ui/skin.h"
#include "ui/window_modes.h"
#include "view/program_icon.h"
#include "view/twips.h"

namespace vx::test {

void WindowFixture::SetUp() {
  testApp();
  p.skin.roots = {kSkinRoot};
  gui = std::make_unique<view::GuiApp>(p, nullptr, view::findProgramIcon(VELVOX_BUILD_DIR), view::KeyboardFamily::Standard);
}

void WindowFixture::TearDown() { gui.reset(); }

void WindowFixture::settle() {
  gui->syncAll();
  QApplication::processEvents();
}

void WindowFixture::showWith(const std::string& skin) {
  p.settings.skinName = skin;
  ui::loadSkin(p);
  ui::layoutWindow(p);
  p.main.visible = true;
  settle();
}

QPoint WindowFixture::centreOf(const std::string& name, int index) {
  return canvas().drawnRect(control(name, index)).center().toPoint();
}

QPoint WindowFixture::pointIn(const std::string& name, int index, double xTwips, double yTwips) {
  QRectF r = canvas().drawnRect(control(name, index));
  return QPointF(r.left() + view::toPixels(xTwips), r.top() + view::toPixels(yTwips)).toPoint();
}

void WindowFixture::sendMouse(QEvent::Type type, QPoint at, Qt::MouseButton button, Qt::MouseButtons held) {
  QMouseEvent e(type, QPointF(at), canvas().mapToGlobal(QPointF(at)), button, held, Qt::NoModifier);
  QApplication::sendEvent(&canvas(), &e);
}

bool drawnAt(const QImage& shot, const std::string& file, QPoint corner) {
  QImage picture = QImage(QString::fromStdString(file)).convertToFormat(QImage::Format_RGB32);
  if (picture.isNull()) return false;
  return shot.copy(QRect(corner, picture.size())) == picture;
}

QImage WindowFixture::grabCanvas() { return canvas().grab().toImage().convertToFormat(QImage::Format_RGB32); }

}  // namespace vx::test
