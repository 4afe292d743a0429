#include "form/controls.h"

#include <algorithm>

namespace vx::form {

namespace {
const std::string kEmpty;
}

bool ListBox::setListIndex(int i) {
  if (i < -1 || i >= listCount()) return false;
  if (listIndex_ != i) {
    listIndex_ = i;
    touch();
  }
  return true;
}

const std::string& ListBox::item(int i) const {
  if (i < 0 || i >= listCount()) return kEmpty;
  return items_[static_cast<size_t>(i)];
}

bool ListBox::setItem(int i, std::string text) {
  if (i < 0 || i >= listCount()) return false;
  items_[static_cast<size_t>(i)] = std::move(text);
  touch();
  return true;
}

void ListBox::addItem(std::string text) {
  items_.push_back(std::move(text));
  touch();
}

bool ListBox::insertItem(int i, std::string text) {
  if (i < 0 || i > listCount()) return false;
  items_.insert(items_.begin() + i, std::move(text));
  if (listIndex_ >= i) ++listIndex_;
  touch();
  return true;
}

// Removing the selected entry leaves nothing selected, as the classic control does;
// removing one above it keeps the same entry selected.
bool ListBox::removeItem(int i) {
  if (i < 0 || i >= listCount()) return false;
  items_.erase(items_.begin() + i);
  if (listIndex_ == i)
    listIndex_ = -1;
  else if (listIndex_ > i)
    --listIndex_;
  touch();
  return true;
}

void ListBox::clear() {
  items_.clear();
  listIndex_ = -1;
  touch();
}

void ListBox::setItems(std::vector<std::string> items, int listIndex) {
  items_ = std::move(items);
  listIndex_ = (listIndex >= -1 && listIndex < listCount()) ? listIndex : -1;
  touch();
}

void Slider::setValue(int v) {
  v = std::clamp(v, std::min(min, max), std::max(min, max));
  if (value_ != v) {
    value_ = v;
    touch();
  }
}

}  // namespace vx::form
