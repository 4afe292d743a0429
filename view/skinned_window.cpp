#include "view/skinned_window.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QTimer>
#include <algorithm>

#include "view/twips.h"

namespace vx::view {

namespace {

constexpr double kMenuBarTwips = 280;

QPoint middleOfScreen(QSize size) {
  QScreen* primary = QGuiApplication::primaryScreen();
  if (!primary) return QPoint(0, 0);
  return primary->availableGeometry().center() - QPoint(size.width() / 2, size.height() / 2);
}

// A window placed by settings from another screen setup could lie outside every screen, where
// nobody can reach its title to drag it back: it comes back to the middle of the main screen.
void keepOnScreen(form::Form& form, QSize size) {
  QRect title(toWholePixels(form.left), toWholePixels(form.top), size.width(), std::min(size.height(), 20));
  for (QScreen* screen : QGuiApplication::screens())
    if (screen->availableGeometry().intersects(title)) return;
  if (!QGuiApplication::primaryScreen()) return;
  QPoint place = middleOfScreen(size);
  form.left = toTwips(place.x());
  form.top = toTwips(place.y());
}

}  // namespace

SkinnedWindow::SkinnedWindow(Program& p, form::Form& form, Dispatcher& dispatcher, SkinnedOptions options)
    : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint), p_(p), form_(form), dispatcher_(dispatcher) {
  setAttribute(Qt::WA_DeleteOnClose, false);
  canvas_ = new FormCanvas(p, form, dispatcher, options.canvas, this);
  if (options.menuBar) {
    menus_ = new MenuBar(form, dispatcher, this);
    QFont font = menus_->font();
    font.setPixelSize(12);
    menus_->setFont(font);
    // The bar is only 280 twips high: with the style's own item margins the entries would not
    // fit and all of them would end up behind the overflow button.
    menus_->setStyleSheet("QMenuBar { padding: 0; margin: 0; } QMenuBar::item { padding: 0 7px; margin: 0; }");
  }
  setWindowTitle("Velvox");
  for (auto signal : {&QGuiApplication::screenAdded, &QGuiApplication::screenRemoved})
    connect(qApp, signal, this, [this] { checkedFrame_.reset(); });
  sync();
}

void SkinnedWindow::syncFrame() {
  int width = toWholePixels(form_.width), height = toWholePixels(form_.height);
  int menuHeight = 0;
  if (menus_) {
    // Entries show and hide only through the form's changes: asked again only then.
    if (!menusShown_ || std::any_of(changed_.begin(), changed_.end(), [](const form::Control* c) {
          return c->kind() == form::ControlKind::Menu;
        }))
      menusShown_ = menus_->hasShownMenus();
    const bool shown = *menusShown_;
    menuHeight = shown ? toWholePixels(kMenuBarTwips) : 0;
    menus_->setVisible(shown);
    if (shown) menus_->setGeometry(0, 0, width, menuHeight);
  }
  QRect canvasRect(0, menuHeight, width, std::max(0, height - menuHeight));
  if (canvas_->geometry() != canvasRect) canvas_->setGeometry(canvasRect);
  if (size() != QSize(width, height)) setFixedSize(width, height);
  // Checked again only when the window or the screens changed, not on every tick.
  if (form_.visible && checkedFrame_ != std::array<double, 4>{form_.left, form_.top, form_.width, form_.height}) {
    keepOnScreen(form_, QSize(width, height));
    checkedFrame_ = {form_.left, form_.top, form_.width, form_.height};
  }
  QPoint place(toWholePixels(form_.left), toWholePixels(form_.top));
  if (pos() != place) move(place);
  if (form_.caption != shownCaption_) {
    shownCaption_ = form_.caption;
    setWindowTitle(form_.caption.empty() ? QStringLiteral("Velvox") : QString::fromStdString(form_.caption));
  }
}

void SkinnedWindow::centreOnScreen() {
  QPoint place = middleOfScreen(QSize(toWholePixels(form_.width), toWholePixels(form_.height)));
  form_.left = toTwips(place.x());
  form_.top = toTwips(place.y());
  form_.touch();
  sync();
}

void SkinnedWindow::syncState() {
  bool topmost = windowFlags().testFlag(Qt::WindowStaysOnTopHint);
  if (form_.topmost != topmost) {
    // Changing the flag re-creates the native window, which then has to be shown again.
    setWindowFlag(Qt::WindowStaysOnTopHint, form_.topmost);
    if (form_.visible) show();
  }
  if (form_.visible != isVisible()) setVisible(form_.visible);
  if (!form_.visible) return;
  if (form_.minimized && !isMinimized()) {
    showMinimized();
  } else if (!form_.minimized && isMinimized()) {
    showNormal();
  }
}

void SkinnedWindow::sync() {
  form_.changes().take(changed_);
  syncFrame();
  syncState();
  if (menus_) menus_->sync(changed_);
  canvas_->sync(changed_);
}

void SkinnedWindow::closeEvent(QCloseEvent* e) {
  // Qt closes every window on its way out: once the program has ended, the close is taken.
  if (p_.quitRequested) {
    e->accept();
    return;
  }
  // The program decides: the window manager's close is the form's close request.
  e->ignore();
  dispatcher_.run([this] {
    if (form_.queryClose) form_.queryClose();
    else p_.quitRequested = true;
  });
}

void SkinnedWindow::changeEvent(QEvent* e) {
  QWidget::changeEvent(e);
  if (e->type() == QEvent::ActivationChange && !isActiveWindow() && form_.deactivate) {
    dispatcher_.run([this] { form_.deactivate(); });
    return;
  }
  if (e->type() != QEvent::WindowStateChange) return;
  bool minimized = isMinimized();
  if (minimized == form_.minimized) return;
  dispatcher_.run([this, minimized] {
    form_.minimized = minimized;
    if (form_.resize) form_.resize();
  });
}

void SkinnedWindow::showEvent(QShowEvent* e) {
  QWidget::showEvent(e);
  // The form's paint runs once the window is on the screen.
  QTimer::singleShot(0, this, [this] {
    dispatcher_.run([this] {
      if (form_.paint) form_.paint();
    });
  });
}

}  // namespace vx::view
