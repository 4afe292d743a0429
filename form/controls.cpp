#include "form/controls.h"

#include <algorithm>
#include <cmath>

namespace vx::form {

bool ListBox::setListIndex(int i) {
  if (i < -1 || i >= listCount()) return false;
  if (listIndex_ != i) {
    listIndex_ = i;
    touch();
  }
  return true;
}

std::string ListBox::item(int i) const {
  if (i < 0 || i >= listCount()) return {};
  return std::string(items_[static_cast<size_t>(i)]);
}

bool ListBox::setItem(int i, std::string_view text) {
  if (i < 0 || i >= listCount()) return false;
  items_.set(static_cast<size_t>(i), text);
  touch();
  return true;
}

void ListBox::addItem(std::string_view text) {
  items_.push_back(text);
  touch();
}

bool ListBox::insertItem(int i, std::string_view text) {
  if (i < 0 || i > listCount()) return false;
  items_.insert(static_cast<size_t>(i), text);
  if (listIndex_ >= i) ++listIndex_;
  touch();
  return true;
}

// Removing the selected entry leaves nothing selected, as the classic control does;
// removing one above it keeps the same entry selected.
bool ListBox::removeItem(int i) {
  if (i < 0 || i >= listCount()) return false;
  items_.erase(static_cast<size_t>(i));
  if (listIndex_ == i)
    listIndex_ = -1;
  else if (listIndex_ > i)
    --listIndex_;
  touch();
  return true;
}

void ListBox::swapItems(int i, int j) {
  items_.swap(static_cast<size_t>(i), static_cast<size_t>(j));
  touch();
}

void ListBox::clear() {
  items_.clear();
  listIndex_ = -1;
  touch();
}

void ListBox::setItems(ItemList items, int listIndex) {
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

void Knob::setValue(int v) {
  v = std::clamp(v, min_, max_);
  if (value_ != v) {
    value_ = v;
    touch();
  }
}

void Knob::setRange(int low, int middle, int high) {
  min_ = low;
  centre_ = std::clamp(middle, low, high);
  max_ = std::max(low, high);
  setValue(value_);
}

double Knob::position() const {
  if (value_ < centre_) return centre_ == min_ ? 0 : double(value_ - centre_) / (centre_ - min_);
  return max_ == centre_ ? 0 : double(value_ - centre_) / (max_ - centre_);
}

int Knob::valueAt(double position) const {
  position = std::clamp(position, -1.0, 1.0);
  double span = position < 0 ? centre_ - min_ : max_ - centre_;
  return centre_ + static_cast<int>(std::lround(position * span));
}

}  // namespace vx::form

namespace vx::form {

void Overview::setContent(std::vector<Column> columns, Marks marks) {
  columns_ = std::move(columns);
  marks_ = marks;
  ++content_;
  touch();
}

void Overview::setBeats(Beats beats) {
  if (beats == beats_) return;
  beats_ = beats;
  ++content_;
  touch();
}

std::vector<double> Overview::beatMarks(double pixels) const {
  constexpr int kBeatsPerBar = 4;
  std::vector<double> out;
  if (beats_.step <= 0 || pixels <= 0 || columns_.empty()) return out;
  double step = beats_.step;
  if (step * pixels < kMinBeatPixels) step *= kBeatsPerBar;
  if (step * pixels < kMinBeatPixels) return out;
  for (double n = 0, at = beats_.first; at <= 1; at = beats_.first + ++n * step) out.push_back(at);
  return out;
}

}  // namespace vx::form
