#include "view/form_canvas.h"

#include <QBackingStore>
#include <QCoreApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QWindow>
#include <cmath>
#include <utility>

#include "ui/skin_files.h"
#include "view/keymap.h"
#include "view/mouse_input.h"
#include "view/twips.h"

namespace vx::view {

namespace {

constexpr double kLineWidth = 2;
// More changed rectangles than this are painted together, under one clip.
constexpr int kRectsApart = 8;

QRectF pixelRect(const QRectF& twips) {
  return QRectF(toPixels(twips.left()), toPixels(twips.top()), toPixels(twips.width()), toPixels(twips.height()));
}

}  // namespace

FormCanvas::Drawn::LookSource FormCanvas::lookSourceOf(const form::Label& label) {
  return {label.fontName(), label.fontSize(), label.foreColor()};
}

FormCanvas::FormCanvas(Program& p, form::Form& form, Dispatcher& dispatcher, CanvasOptions options, QWidget* parent)
    : QWidget(parent), p_(p), form_(form), dispatcher_(dispatcher), options_(std::move(options)), order_(drawOrder(form)) {
  setAttribute(Qt::WA_OpaquePaintEvent);
  setAcceptDrops(true);
  if (!options_.backdrop.empty()) {
    // The backdrop goes to the bottom of the drawing order.
    auto it = std::find_if(order_.begin(), order_.end(), [this](const Placed& pl) { return pl.control->name() == options_.backdrop; });
    if (it != order_.end()) std::rotate(order_.begin(), it, it + 1);
  }
  drawn_.resize(order_.size());
  for (size_t i = 0; i < order_.size(); ++i) places_[order_[i].control] = i;
  // A panel's place and visibility are its controls' too.
  for (size_t i = 0; i < order_.size(); ++i)
    if (order_[i].container) drawn_[places_.at(order_[i].container)].placedOn.push_back(i);
  for (size_t i = 0; i < order_.size(); ++i) {
    auto* box = dynamic_cast<form::ListBox*>(order_[i].control);
    if (!box || !box->visible()) continue;  // lists hidden by design serve as data only
    auto& view = lists_[box];
    view = std::make_unique<ListBoxView>(*box, dispatcher, this);
    drawn_[i].list = view.get();
  }
}

qreal FormCanvas::screenRatio() const {
  // What devicePixelRatioF() gives once the window is shown, without the widget first looking
  // for the screen under its middle; a window never shown keeps the scale it was first given
  // until it shows.
  if (const QWindow* shown = window()->windowHandle()) return shown->devicePixelRatio();
  return ratio_ != 0 ? ratio_ : devicePixelRatioF();
}

bool FormCanvas::refreshGlobals() {
  bool everything = std::exchange(everything_, false);
  if (const qreal ratio = screenRatio(); ratio != ratio_) {
    ratio_ = ratio;
    everything = true;
  }
  if (p_.settings.skinName != textSkin_) {
    textSkin_ = p_.settings.skinName;
    text_ = readSkinText(ui::skinFolder(p_));
    for (Drawn& drawn : drawn_) {
      drawn.listColours = {};
      drawn.revision = ~uint64_t{0};  // the labels' look comes from the skin's texts
      drawn.lookSource = {};
    }
    update();
    everything = true;
  }
  return everything;
}

void FormCanvas::sync(const std::vector<form::Control*>& changed) {
  visited_ = 0;
  if (frames_.serial && frames_.serial() != framesSerial_) {
    framesSerial_ = frames_.serial();
    anyFrame_ = frames_.frameOf && std::any_of(order_.begin(), order_.end(), [this](const Placed& pl) {
                  return frames_.frameOf(*pl.control) != 0;
                });
    update();
  }
  if (refreshGlobals()) {
    covered_.clear();
    for (size_t i = 0; i < order_.size(); ++i) visit(i);
  } else {
    for (const form::Control* c : changed) {
      auto it = places_.find(c);
      if (it == places_.end()) continue;  // menus and timers are not drawn here
      visit(it->second);
      for (size_t on : drawn_[it->second].placedOn) visit(on);
    }
  }
  // All that changed is painted and sent at once, both time displays together: not through a
  // posted request, which would wake the event loop and turn it once more (a poll, an eventfd
  // written and read: three system calls of six a tick while the decks play).
  if (dirty_.isEmpty()) return;
  const QRegion area = std::exchange(dirty_, QRegion()) & rect();
  if (!paintNow(area)) repaint(area);
}

bool FormCanvas::paintNow(const QRegion& area) {
  if (!painted_ || area.isEmpty() || area.rectCount() > kRectsApart || !isVisible() || !updatesEnabled()) return false;
  QWidget* top = window();
  QWindow* shown = top->windowHandle();
  QBackingStore* store = top->backingStore();
  if (!shown || !shown->isExposed() || !store || store->size() != top->size() || coveredByWidgets(area)) return false;
  const QPoint offset = mapTo(top, QPoint(0, 0));
  const QRegion onTop = area.translated(offset) & top->rect();
  store->beginPaint(onTop);
  QPaintDevice* device = store->paintDevice();
  // Fonts in points come out the same size only where the store has the widget's resolution
  // (asked again for another store or screen: the question costs as much as a label's digits).
  if (device != dpiChecked_.device || top->screen() != dpiChecked_.screen)
    dpiChecked_ = {device, top->screen(),
                   device && device->logicalDpiX() == logicalDpiX() && device->logicalDpiY() == logicalDpiY()};
  const bool same = dpiChecked_.same;
  if (same) {
    direct_ = device;
    directOffset_ = offset;
    QPaintEvent event(area);
    QCoreApplication::sendEvent(this, &event);
    direct_ = nullptr;
  }
  store->endPaint();
  if (!same) return false;
  store->flush(onTop, shown);
  ++directPaints_;
  return true;
}

bool FormCanvas::coveredByWidgets(const QRegion& area) const {
  for (const QObject* child : children()) {
    const auto* w = qobject_cast<const QWidget*>(child);
    if (w && !w->isWindow() && w->isVisible() && area.intersects(w->geometry())) return true;
  }
  const QWidget* parent = parentWidget();
  if (!parent || isWindow()) return false;
  const QRegion inParent = area.translated(pos());
  for (const QObject* sibling : parent->children()) {
    const auto* w = qobject_cast<const QWidget*>(sibling);
    if (w && w != this && !w->isWindow() && w->isVisible() && inParent.intersects(w->geometry())) return true;
  }
  return false;
}

void FormCanvas::visit(size_t i) {
  ++visited_;
  if (order_[i].control->kind() == form::ControlKind::ListBox) syncList(order_[i], drawn_[i]);
  else syncControl(order_[i], drawn_[i]);
}

QRectF FormCanvas::pictureRect(const Placed& placed, Drawn& drawn) {
  QRectF rect = pixelRect(formRect(placed));
  const auto& picture = static_cast<const form::Picture&>(*placed.control);
  if (options_.iconPictures.count(picture.name())) {
    // The icon fills its picture control at the screen's resolution.
    qreal ratio = devicePixelRatioF();
    QSize size = (rect.size() * ratio).toSize();
    if (!icon_.isNull() && !size.isEmpty() && drawn.pixmap.size() != size) {
      drawn.pixmap = icon_.scaled(size, Qt::KeepAspectRatio, Qt::SmoothTransformation);
      drawn.pixmap.setDevicePixelRatio(ratio);
    }
    return rect;
  }
  // The file changes only with the control or with a skin assignment.
  if (picture.revision() != drawn.revision || p_.skin.serial != drawn.skinSerial) {
    drawn.skinSerial = p_.skin.serial;
    std::string path = ui::pictureFile(p_, picture, drawn.source);
    const QPixmap& pixmap = pixmaps_.get(path);
    // A picture that cannot be read leaves the one shown before.
    if (!pixmap.isNull() || path.empty()) {
      drawn.pixmap = pixmap;
      covered_.clear();
    }
  }
  if (!drawn.pixmap.isNull()) rect.setSize(rect.size().expandedTo(drawn.pixmap.deviceIndependentSize()));
  return rect;
}

void FormCanvas::syncControl(const Placed& placed, Drawn& drawn) {
  const form::Control& c = *placed.control;
  bool shown = isShown(placed);
  QRectF rect;
  if (c.kind() == form::ControlKind::Picture) rect = pictureRect(placed, drawn);
  else if (c.kind() == form::ControlKind::Line) rect = pixelRect(formRect(placed)).adjusted(-kLineWidth, -kLineWidth, kLineWidth, kLineWidth);
  else rect = pixelRect(formRect(placed));
  rect = rect.intersected(pixelRect(clipRect(placed)));
  if (c.revision() == drawn.revision && rect == drawn.rect && shown == drawn.shown) return;
  if (const auto* o = dynamic_cast<const form::Overview*>(&c)) {
    // A moved position line repaints only the strip it left and entered.
    const bool lineOnly = shown && drawn.shown && rect == drawn.rect && o->content() == drawn.overviewContent;
    if (lineOnly) dirty_ += OverviewPainter::strip(*o, rect, drawn.overviewPosition).toAlignedRect();
    drawn.overviewContent = o->content();
    drawn.overviewPosition = o->position();
    if (lineOnly) {
      drawn.revision = c.revision();
      return;
    }
  }
  const bool label = c.kind() == form::ControlKind::Label;
  if (label && shown && drawn.shown && rect == drawn.rect && c.revision() != drawn.revision && updateDigits(placed, drawn)) {
    drawn.revision = c.revision();
    return;
  }
  covered_.clear();
  const QRect before = drawn.rect.toAlignedRect().adjusted(-1, -1, 1, 1), after = rect.toAlignedRect().adjusted(-1, -1, 1, 1);
  if (drawn.shown) dirty_ += before;
  if (shown && !(drawn.shown && after == before)) dirty_ += after;
  if (label && c.revision() != drawn.revision) takeText(placed, drawn);
  drawn.revision = c.revision();
  drawn.rect = rect;
  drawn.pixels = rect.toAlignedRect();
  drawn.shown = shown;
  drawn.textRect = pixelRect(formRect(placed));
  drawn.enabled = c.enabled();
}

bool FormCanvas::updateDigits(const Placed& placed, Drawn& drawn) {
  const auto& label = static_cast<const form::Label&>(*placed.control);
  const QRectF textRect = pixelRect(formRect(placed));
  const Drawn::LookSource& look = drawn.lookSource;
  if (textRect != drawn.textRect || label.enabled() != drawn.enabled || label.fontName() != look.fontName ||
      label.fontSize() != look.fontSize || label.foreColor() != look.foreColor)
    return false;
  const std::optional<QRect> area = drawn.text.change(QString::fromStdString(label.caption()), textRect);
  if (!area) return false;
  // Never more than drawing the whole label would repaint.
  if (!area->isEmpty()) dirty_ += *area & drawn.pixels.adjusted(-1, -1, 1, 1);
  return true;
}

void FormCanvas::syncList(const Placed& placed, Drawn& drawn) {
  if (!drawn.list) return;
  ListBoxView& view = *drawn.list;
  // The song lists' colours come from the control once the program gave it some.
  const form::Control& box = *placed.control;
  int deck = box.index() == 1 ? 1 : 0;
  QColor fore = box.foreColor() >= 0 ? colourOf(box.foreColor()) : text_.listText[deck];
  QColor back = box.backColor() >= 0 ? colourOf(box.backColor()) : text_.listBack;
  auto& applied = drawn.listColours;
  if (applied.first != fore || applied.second != back) {
    applied = {fore, back};
    view.setLook(fontOf(text_.displayFont[0], 9), fore, back);
  }
  QRectF rect = pixelRect(formRect(placed)).intersected(pixelRect(clipRect(placed)));
  QRect target = rect.toAlignedRect();
  if (view.geometry() != target) view.setGeometry(target);
  bool shown = isShown(placed) && !rect.isEmpty();
  if (view.isVisible() != shown) view.setVisible(shown);
  view.sync();
}

void FormCanvas::takeText(const Placed& placed, Drawn& drawn) {
  const auto& label = static_cast<const form::Label&>(*placed.control);
  Drawn::LookSource source = lookSourceOf(label);
  if (!(source == drawn.lookSource)) {
    drawn.look = labelLook(text_, label);
    drawn.lookSource = std::move(source);
  }
  drawn.text.setText(QString::fromStdString(label.caption()));
}

bool FormCanvas::event(QEvent* e) {
  switch (e->type()) {
    case QEvent::PaletteChange:
    case QEvent::ApplicationPaletteChange:
    case QEvent::StyleChange:
    case QEvent::EnabledChange:
    case QEvent::ActivationChange:
    case QEvent::WindowActivate:
    case QEvent::WindowDeactivate:
    case QEvent::WindowBlocked:
    case QEvent::WindowUnblocked:
    case QEvent::ParentChange:
    case QEvent::Show:
    case QEvent::Hide:
      colours_.valid = false;
      break;
    case QEvent::Resize:  // a picture covers only what lies inside the canvas
      covered_.clear();
      break;
    default:
      break;
  }
  return QWidget::event(e);
}

void FormCanvas::paintEvent(QPaintEvent* e) {
  QPainter g;
  if (!colours_.valid) {
    const QPalette& palette = this->palette();
    colours_ = {true, palette.brush(foregroundRole()), palette.brush(backgroundRole()), palette.color(QPalette::Window)};
  }
  if (direct_) {
    g.begin(direct_);
    g.translate(directOffset_);
    // What Qt's painter for the widget starts with.
    g.setPen(QPen(colours_.fore, 1));
    g.setBackground(colours_.back);
    g.setFont(font());
  } else {
    g.begin(this);
    painted_ = true;
  }
  g.setRenderHint(QPainter::Antialiasing);
  g.setRenderHint(QPainter::TextAntialiasing);
  // Whole-number scales keep the pictures' pixels sharp; others are smoothed.
  qreal ratio = screenRatio();
  g.setRenderHint(QPainter::SmoothPixmapTransform, ratio != std::floor(ratio));
  // The changed rectangles alone: two time displays far apart do not paint what lies between.
  // Each is painted under a clip of its own: clipped to one rectangle the painter keeps its fast
  // paths, where a clip of two sends every row of every glyph and picture through span clipping.
  const QRegion& area = e->region();
  const QColor back = colours_.window;
  if (area.rectCount() > kRectsApart) paintArea(g, area, ratio, back);
  else
    for (const QRect& r : area) paintArea(g, QRegion(r), ratio, back);
  if (frames_.frameOf && anyFrame_) paintFrames(g, direct_ ? &area : nullptr);
}

void FormCanvas::paintArea(QPainter& g, const QRegion& area, qreal ratio, const QColor& back) {
  const QRect bounds = area.boundingRect();
  for (const QRect& r : area)
    if (!coveredByPicture(r, ratio)) g.fillRect(r, back);
  // A single rectangle is clipped to once; a control takes a clip of its own only where its
  // panel cuts into the rectangle, so that most controls cost no clip of their own.
  const bool single = area.rectCount() == 1;
  if (single) g.setClipRect(bounds);
  for (size_t i = 0; i < order_.size(); ++i) {
    Drawn& drawn = drawn_[i];
    if (!drawn.shown || !bounds.intersects(drawn.pixels) || (!single && !area.intersects(drawn.pixels))) continue;
    const QRectF clip = pixelRect(clipRect(order_[i])).intersected(QRectF(rect()));
    if (single && clip.contains(QRectF(bounds))) {
      paintControl(g, order_[i], drawn, area);
      continue;
    }
    g.save();
    g.setClipRect(clip.intersected(QRectF(bounds)), single ? Qt::IntersectClip : Qt::ReplaceClip);
    paintControl(g, order_[i], drawn, area);
    g.restore();
  }
  if (single) g.setClipping(false);
}

void FormCanvas::paintFrames(QPainter& g, const QRegion* clip) {
  for (size_t i = 0; i < order_.size(); ++i) {
    if (!drawn_[i].shown) continue;
    const int frame = frames_.frameOf(*order_[i].control);
    if (frame == 0) continue;
    if (clip) g.setClipRegion(*std::exchange(clip, nullptr));
    g.setPen(QPen(frame == 2 ? QColor(255, 220, 0) : QColor(0, 200, 255, 170), frame == 2 ? 2 : 1));
    g.setBrush(Qt::NoBrush);
    g.drawRect(pixelRect(formRect(order_[i])).adjusted(0.5, 0.5, -0.5, -0.5));
  }
}

bool FormCanvas::coveredByPicture(const QRect& r, qreal ratio) {
  if (ratio != coveredRatio_) {
    covered_.clear();
    coveredRatio_ = ratio;
  }
  for (const Covered& c : covered_)
    if (c.rect == r) return c.covered;
  constexpr size_t kRemembered = 32;
  if (covered_.size() == kRemembered) covered_.clear();
  const bool covered = findPictureOver(r, ratio);
  covered_.push_back({r, covered});
  return covered;
}

bool FormCanvas::findPictureOver(const QRect& r, qreal ratio) const {
  for (size_t i = 0; i < order_.size(); ++i) {
    const Drawn& drawn = drawn_[i];
    // The picture lies inside the control's whole pixels: where they miss part of `r`, so does it.
    if (!drawn.shown || !drawn.pixels.contains(r)) continue;
    if (order_[i].control->kind() != form::ControlKind::Picture || drawn.pixmap.isNull()) continue;
    // Only a picture copied pixel for pixel: no alpha, at the screen's scale, on whole pixels.
    const QPixmap& pixmap = drawn.pixmap;
    if (pixmap.hasAlphaChannel() || pixmap.devicePixelRatio() != ratio) continue;
    const QPointF at = pixelRect(formRect(order_[i])).topLeft();
    if (at.x() * ratio != std::round(at.x() * ratio) || at.y() * ratio != std::round(at.y() * ratio)) continue;
    const QRectF painted =
        QRectF(at, pixmap.deviceIndependentSize()).intersected(pixelRect(clipRect(order_[i]))).intersected(QRectF(rect()));
    if (painted.contains(QRectF(r))) return true;
  }
  return false;
}

void FormCanvas::paintControl(QPainter& g, const Placed& placed, Drawn& drawn, const QRegion& area) {
  const form::Control& c = *placed.control;
  QRectF rect = pixelRect(formRect(placed));
  switch (c.kind()) {
    case form::ControlKind::Picture:
      // Pictures show at their own size from the control's corner, as an image control does.
      if (!drawn.pixmap.isNull()) g.drawPixmap(rect.topLeft(), drawn.pixmap);
      if (const auto* o = dynamic_cast<const form::Overview*>(&c)) overviews_.paint(g, *o, rect);
      break;
    case form::ControlKind::Label: {
      if (drawn.text.empty()) break;
      g.setFont(drawn.look.font);
      g.setPen(c.enabled() ? drawn.look.colour : drawn.look.colour.darker(170));
      drawn.text.draw(g, rect, &area);
      break;
    }
    case form::ControlKind::Line: {
      QPointF a, b;
      lineEnds(placed, a, b);
      g.setPen(QPen(text_.displayColour[0], kLineWidth, Qt::SolidLine, Qt::RoundCap));
      g.drawLine(QPointF(toPixels(a.x()), toPixels(a.y())), QPointF(toPixels(b.x()), toPixels(b.y())));
      break;
    }
    default:
      break;
  }
}

form::Control* FormCanvas::controlAt(const QPointF& pixels) const {
  QPointF twips(toTwips(pixels.x()), toTwips(pixels.y()));
  for (auto it = order_.rbegin(); it != order_.rend(); ++it) {
    const Placed& placed = *it;
    const form::Control& c = *placed.control;
    if (!isShown(placed) || !c.enabled() || c.kind() == form::ControlKind::Line) continue;
    if (c.kind() == form::ControlKind::ListBox && !lists_.count(&c)) continue;
    if (formRect(placed).contains(twips) && clipRect(placed).contains(twips)) return placed.control;
  }
  return nullptr;
}

QRectF FormCanvas::drawnRect(const form::Control& c) const {
  auto it = places_.find(&c);
  if (it == places_.end()) return QRectF();
  const Drawn& drawn = drawn_[it->second];
  return drawn.shown ? drawn.rect : QRectF();
}

ListBoxView* FormCanvas::listView(const form::Control& c) const {
  auto it = lists_.find(&c);
  return it == lists_.end() ? nullptr : it->second.get();
}

form::MouseEvent FormCanvas::eventAt(const form::Control& c, const QPointF& pixels, form::MouseButton button,
                                     Qt::KeyboardModifiers m) const {
  for (const Placed& placed : order_) {
    if (placed.control != &c) continue;
    QRectF r = formRect(placed);
    return {button, shiftMask(m), toTwips(pixels.x()) - r.left(), toTwips(pixels.y()) - r.top()};
  }
  return {button, shiftMask(m), 0, 0};
}

void FormCanvas::press(QMouseEvent* e, bool doubleClick) {
  // The pressed control keeps the mouse only while another button is still held. A press with
  // no other button down starts afresh, even when a release never reached us (a dialog opened
  // by the last press took it); otherwise every later press would go to that old control.
  const bool otherHeld = (e->buttons() & ~e->button()) != Qt::NoButton;
  form::Control* c = captured_ && otherHeld ? captured_ : controlAt(e->position());
  if (!c) return;
  captured_ = c;
  form::MouseEvent event = eventAt(*c, e->position(), buttonOf(e->button()), e->modifiers());
  doubleClickPress_ = doubleClick && c->events.dblClick;
  Qt::MouseButton button = e->button();
  dispatcher_.run([c, event, dbl = doubleClickPress_] {
    if (dbl) c->events.dblClick();
    else if (c->events.mouseDown) c->events.mouseDown(event);
  });
  // A handler that opened a dialog took the release with it.
  if (!(QGuiApplication::mouseButtons() & button) && !(e->buttons() & button)) captured_ = nullptr;
}

void FormCanvas::mousePressEvent(QMouseEvent* e) { press(e, false); }

void FormCanvas::mouseDoubleClickEvent(QMouseEvent* e) { press(e, true); }

void FormCanvas::mouseMoveEvent(QMouseEvent* e) {
  form::Control* c = captured_;
  if (!c || !c->events.mouseMove || e->buttons() == Qt::NoButton) return;
  form::MouseEvent event = eventAt(*c, e->position(), heldButton(e->buttons()), e->modifiers());
  dispatcher_.run([c, event] { c->events.mouseMove(event); });
}

void FormCanvas::mouseReleaseEvent(QMouseEvent* e) {
  form::Control* c = captured_;
  if (!c) return;
  if (e->buttons() == Qt::NoButton) captured_ = nullptr;
  form::MouseEvent event = eventAt(*c, e->position(), buttonOf(e->button()), e->modifiers());
  bool clicked = !doubleClickPress_ && controlAt(e->position()) == c;
  doubleClickPress_ = false;
  dispatcher_.run([c, event, clicked] {
    if (c->events.mouseUp) c->events.mouseUp(event);
    if (clicked && c->events.click) c->events.click();
  });
}

form::Control* FormCanvas::dropTarget(const QPointF& pixels) const {
  form::Control* c = controlAt(pixels);
  return c && c->events.dragDrop ? c : nullptr;
}

void FormCanvas::dragEnterEvent(QDragEnterEvent* e) {
  if (!droppedPaths(e->mimeData()).empty()) e->acceptProposedAction();
  else e->ignore();
}

void FormCanvas::dragMoveEvent(QDragMoveEvent* e) {
  if (dropTarget(e->position()) && !droppedPaths(e->mimeData()).empty()) e->acceptProposedAction();
  else e->ignore();
}

void FormCanvas::dropEvent(QDropEvent* e) {
  form::Control* c = dropTarget(e->position());
  std::vector<std::string> paths = droppedPaths(e->mimeData());
  if (!c || paths.empty()) return e->ignore();
  int shift = shiftMask(e->modifiers());
  e->acceptProposedAction();
  dispatcher_.run([c, paths, shift] { c->events.dragDrop(paths, shift); });
}

}  // namespace vx::view
