#pragma once
// A list box of a form as a real list widget. The items come from the model through a list
// model (fast with thousands of entries); presses, double-clicks and drops go to the control's
// events the way the classic list box raised them: a left press selects the entry under the
// mouse before the press is reported, a right press leaves the selection alone.
#include <QAbstractListModel>
#include <QListView>

#include "form/controls.h"
#include "view/dispatcher.h"

namespace vx::view {

class ListBoxModel : public QAbstractListModel {
 public:
  explicit ListBoxModel(const form::ListBox& box, QObject* parent = nullptr) : QAbstractListModel(parent), box_(box) {}
  int rowCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  // Takes the items again when the control changed; true when it did.
  bool refresh();

 private:
  const form::ListBox& box_;
  form::ItemList shown_;
};

class ListBoxView : public QListView {
 public:
  ListBoxView(form::ListBox& box, Dispatcher& dispatcher, QWidget* parent);
  form::ListBox& box() { return box_; }
  void setLook(const QFont& font, const QColor& text, const QColor& back);
  // Items, selection and enabled state from the control.
  void sync();

 protected:
  void mousePressEvent(QMouseEvent* e) override;
  void mouseMoveEvent(QMouseEvent* e) override;
  void mouseReleaseEvent(QMouseEvent* e) override;
  void mouseDoubleClickEvent(QMouseEvent* e) override;
  void keyPressEvent(QKeyEvent* e) override;
  void dragEnterEvent(QDragEnterEvent* e) override;
  void dragMoveEvent(QDragMoveEvent* e) override;
  void dropEvent(QDropEvent* e) override;

 private:
  form::MouseEvent mouseEvent(QMouseEvent* e, form::MouseButton button) const;
  void press(QMouseEvent* e);
  form::ListBox& box_;
  Dispatcher& dispatcher_;
  ListBoxModel model_;
  uint64_t seenRevision_ = ~uint64_t{0};
  int shownIndex_ = -2;
  bool pressed_ = false;
};

}  // namespace vx::view
