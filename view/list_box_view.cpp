#include "view/list_box_view.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMouseEvent>
#include <QScrollBar>

#include "view/keymap.h"
#include "view/mouse_input.h"
#include "view/twips.h"

namespace vx::view {

int ListBoxModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(shown_.size());
}

QVariant ListBoxModel::data(const QModelIndex& index, int role) const {
  if (role != Qt::DisplayRole || !index.isValid() || index.row() >= static_cast<int>(shown_.size())) return {};
  return QString::fromUtf8(shown_[static_cast<size_t>(index.row())]);
}

bool ListBoxModel::refresh() {
  if (shown_ == box_.items()) return false;
  beginResetModel();
  shown_ = box_.items();
  endResetModel();
  return true;
}

ListBoxView::ListBoxView(form::ListBox& box, Dispatcher& dispatcher, QWidget* parent)
    : QListView(parent), box_(box), dispatcher_(dispatcher), model_(box, this) {
  setModel(&model_);
  setUniformItemSizes(true);
  setSelectionMode(QAbstractItemView::SingleSelection);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
  setFrameShape(QFrame::NoFrame);
  setFocusPolicy(Qt::NoFocus);
  setAcceptDrops(true);
  viewport()->setAcceptDrops(true);
  setDragDropMode(QAbstractItemView::DropOnly);
  if (!box.tooltip().empty()) setToolTip(QString::fromStdString(box.tooltip()));
}

void ListBoxView::setLook(const QFont& font, const QColor& text, const QColor& back) {
  setFont(font);
  QPalette pal = palette();
  pal.setColor(QPalette::Base, back);
  pal.setColor(QPalette::Window, back);
  pal.setColor(QPalette::Text, text);
  // The selected entry shows in reverse, as on the classic list box.
  pal.setColor(QPalette::Highlight, text);
  pal.setColor(QPalette::HighlightedText, back);
  pal.setColor(QPalette::Inactive, QPalette::Highlight, text);
  pal.setColor(QPalette::Inactive, QPalette::HighlightedText, back);
  setPalette(pal);
  viewport()->setPalette(pal);
  // A slim scroll bar in the list's own colours.
  QColor handle = text;
  handle.setAlpha(110);
  setStyleSheet(QString("QScrollBar:vertical { background: %1; width: 9px; margin: 0; border: none; }"
                        "QScrollBar::handle:vertical { background: %2; min-height: 18px; border-radius: 3px; margin: 1px; }"
                        "QScrollBar::add-line:vertical, QScrollBar::sub-line:vertical { height: 0; }"
                        "QScrollBar::add-page:vertical, QScrollBar::sub-page:vertical { background: none; }")
                    .arg(back.name(), handle.name(QColor::HexArgb)));
}

void ListBoxView::sync() {
  if (box_.revision() == seenRevision_) return;
  seenRevision_ = box_.revision();
  bool reset = model_.refresh();
  setEnabled(box_.enabled());
  if (!box_.tooltip().empty()) setToolTip(QString::fromStdString(box_.tooltip()));
  int index = box_.listIndex();
  if (!reset && index == shownIndex_) return;
  shownIndex_ = index;
  if (index < 0 || index >= model_.rowCount()) {
    selectionModel()->clear();
    return;
  }
  QModelIndex item = model_.index(index);
  selectionModel()->setCurrentIndex(item, QItemSelectionModel::ClearAndSelect);
  scrollTo(item);
}

form::MouseEvent ListBoxView::mouseEvent(QMouseEvent* e, form::MouseButton button) const {
  QPointF at = e->position() + QPointF(viewport()->geometry().topLeft());
  return {button, shiftMask(e->modifiers()), toTwips(at.x()), toTwips(at.y())};
}

void ListBoxView::press(QMouseEvent* e) {
  form::MouseEvent event = mouseEvent(e, buttonOf(e->button()));
  QModelIndex under = indexAt(e->position().toPoint());
  pressed_ = true;
  dispatcher_.run([this, event, under] {
    if (event.button == form::MouseButton::Left && under.isValid()) box_.setListIndex(under.row());
    if (box_.events.mouseDown) box_.events.mouseDown(event);
  });
}

void ListBoxView::mousePressEvent(QMouseEvent* e) { press(e); }

void ListBoxView::mouseMoveEvent(QMouseEvent* e) {
  if (!pressed_ || !box_.events.mouseMove) return;
  form::MouseEvent event = mouseEvent(e, heldButton(e->buttons()));
  dispatcher_.run([this, event] { box_.events.mouseMove(event); });
}

void ListBoxView::mouseReleaseEvent(QMouseEvent* e) {
  if (!pressed_) return;
  pressed_ = e->buttons() != Qt::NoButton;
  form::MouseEvent event = mouseEvent(e, buttonOf(e->button()));
  bool inside = viewport()->rect().contains(e->position().toPoint());
  dispatcher_.run([this, event, inside] {
    if (box_.events.mouseUp) box_.events.mouseUp(event);
    if (inside && box_.events.click) box_.events.click();
  });
}

void ListBoxView::mouseDoubleClickEvent(QMouseEvent* e) {
  if (e->button() != Qt::LeftButton || !box_.events.dblClick) return press(e);
  pressed_ = true;
  dispatcher_.run([this] { box_.events.dblClick(); });
}

void ListBoxView::keyPressEvent(QKeyEvent* e) { e->ignore(); }

void ListBoxView::dragEnterEvent(QDragEnterEvent* e) {
  if (box_.events.dragDrop && !droppedPaths(e->mimeData()).empty()) e->acceptProposedAction();
  else e->ignore();
}

void ListBoxView::dragMoveEvent(QDragMoveEvent* e) {
  if (box_.events.dragDrop && !droppedPaths(e->mimeData()).empty()) e->acceptProposedAction();
  else e->ignore();
}

void ListBoxView::dropEvent(QDropEvent* e) {
  std::vector<std::string> paths = droppedPaths(e->mimeData());
  if (paths.empty() || !box_.events.dragDrop) return e->ignore();
  int shift = shiftMask(e->modifiers());
  e->acceptProposedAction();
  dispatcher_.run([this, paths, shift] { box_.events.dragDrop(paths, shift); });
}

}  // namespace vx::view
