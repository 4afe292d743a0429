#pragma once
#include <string>
#include <vector>

#include "form/control.h"
#include "form/item_list.h"

namespace vx::form {

class Label : public Control {
 public:
  Label(std::string name, int index) : Control(ControlKind::Label, std::move(name), index) {}
  const std::string& caption() const { return caption_; }
  void setCaption(std::string c) { if (caption_ != c) { caption_ = std::move(c); touch(); } }
 private:
  std::string caption_;
};

// Image control: shows a picture file of the current skin, by file name only ("play2.bmp").
// The full path is resolved by whoever loads pictures (the skin loader); the model keeps the name.
class Picture : public Control {
 public:
  Picture(std::string name, int index) : Control(ControlKind::Picture, std::move(name), index) {}
  const std::string& picture() const { return picture_; }
  void setPicture(std::string p) { if (picture_ != p) { picture_ = std::move(p); touch(); } }
  bool autoSize() const { return autoSize_; }
  void setAutoSize(bool a) { autoSize_ = a; }
 private:
  std::string picture_;
  bool autoSize_ = false;
};

// A rotary knob of the DJ panel: a picture (the skin draws one per angle) with a whole-number
// setting. `centre` sits straight up; each half of the travel may span a different range
// (an equaliser's -26 dB .. 0 .. +6 dB), so `position` is -1 .. 0 .. 1 over the two halves.
class Knob : public Picture {
 public:
  Knob(std::string name, int index) : Picture(std::move(name), index) {}
  int value() const { return value_; }
  // Clamped to min..max.
  void setValue(int v);
  void setRange(int low, int middle, int high);
  int min() const { return min_; }
  int centre() const { return centre_; }
  int max() const { return max_; }
  double position() const;
  // The setting nearest to a position (clamped to -1 .. 1).
  int valueAt(double position) const;
 private:
  int value_ = 0, min_ = -100, centre_ = 0, max_ = 100;
};

// A song's overview drawn over its frame picture: the peak columns, the entry's marks and the
// playing position, each as a fraction 0..1 of the song (-1 = no such mark). `content` changes
// with the columns and marks only: the view redraws the whole overview then, and otherwise
// only the strip the position line left and entered.
class Overview : public Picture {
 public:
  struct Column {
    float low = 0, high = 0;  // full scale, -1..1
  };
  struct Marks {
    double cue = -1, start = -1, end = -1;
    bool operator==(const Marks&) const = default;
  };
  // The song's beat grid as fractions of the song: beats at first + n * step; step 0 = none.
  struct Beats {
    double first = 0, step = 0;
    bool operator==(const Beats&) const = default;
  };
  // Beats closer than this many pixels are marked only at every fourth (the bars); bars
  // closer still are not marked.
  static constexpr double kMinBeatPixels = 3;
  Overview(std::string name, int index) : Picture(std::move(name), index) {}
  const std::vector<Column>& columns() const { return columns_; }
  const Marks& marks() const { return marks_; }
  const Beats& beats() const { return beats_; }
  // Where beat marks go on an overview `pixels` wide, as fractions of the song, in order:
  // every beat, every bar, or none, by the room there is.
  std::vector<double> beatMarks(double pixels) const;
  double position() const { return position_; }
  long content() const { return content_; }
  // Empty columns: nothing is drawn but the frame.
  void setContent(std::vector<Column> columns, Marks marks);
  void setBeats(Beats beats);
  void setPosition(double fraction) { if (position_ != fraction) { position_ = fraction; touch(); } }
 private:
  std::vector<Column> columns_;
  Marks marks_;
  Beats beats_;
  double position_ = 0;
  long content_ = 0;
};

// A drawn line (the trim pointer): from (x1, y1) to (x2, y2) in form twips.
class Line : public Control {
 public:
  Line(std::string name, int index) : Control(ControlKind::Line, std::move(name), index) {}
  double x1 = 0, y1 = 0, x2 = 0, y2 = 0;
  long colour = -1;  // 0xRRGGBB; -1 = the window's text colour
  void set(double ax1, double ay1, double ax2, double ay2) { x1 = ax1; y1 = ay1; x2 = ax2; y2 = ay2; touch(); }
};

// List box: items and the selected index (-1 = none). Setting the index raises `change`
// like the classic click event does only when the caller asks for it (setListIndex's flag).
class ListBox : public Control {
 public:
  ListBox(std::string name, int index) : Control(ControlKind::ListBox, std::move(name), index) {}
  int listCount() const { return static_cast<int>(items_.size()); }
  int listIndex() const { return listIndex_; }
  // Out-of-range indexes other than -1 are refused (returns false) as the classic control raises an error.
  bool setListIndex(int i);
  std::string item(int i) const;  // "" for an index out of range
  bool setItem(int i, std::string_view text);
  void addItem(std::string_view text);
  bool insertItem(int i, std::string_view text);
  bool removeItem(int i);
  void clear();
  const ItemList& items() const { return items_; }
  void setItems(ItemList items, int listIndex);
  // Exchanges entries i and j, both within the list; the selection stays at its index.
  void swapItems(int i, int j);
  static constexpr int kMaxItems = 32767;
 private:
  ItemList items_;
  int listIndex_ = -1;
};

class Slider : public Control {
 public:
  Slider(std::string name, int index) : Control(ControlKind::Slider, std::move(name), index) {}
  int value() const { return value_; }
  void setValue(int v);
  int min = 0, max = 100;
  int smallChange = 1, largeChange = 5;  // arrow keys, page keys
  int tickFrequency = 0;                 // 0 = no ticks
 private:
  int value_ = 0;
};

class CheckBox : public Control {
 public:
  CheckBox(std::string name, int index) : Control(ControlKind::CheckBox, std::move(name), index) {}
  int value() const { return value_; }  // 0 unchecked, 1 checked
  void setValue(int v) { if (value_ != v) { value_ = v; touch(); } }
  const std::string& caption() const { return caption_; }
  void setCaption(std::string c) { caption_ = std::move(c); touch(); }
 private:
  int value_ = 0;
  std::string caption_;
};

class OptionButton : public Control {
 public:
  OptionButton(std::string name, int index) : Control(ControlKind::OptionButton, std::move(name), index) {}
  bool value() const { return value_; }
  void setValue(bool v) { if (value_ != v) { value_ = v; touch(); } }
  const std::string& caption() const { return caption_; }
  void setCaption(std::string c) { caption_ = std::move(c); touch(); }
 private:
  bool value_ = false;
  std::string caption_;
};

class TextBox : public Control {
 public:
  TextBox(std::string name, int index) : Control(ControlKind::TextBox, std::move(name), index) {}
  const std::string& text() const { return text_; }
  void setText(std::string t) { if (text_ != t) { text_ = std::move(t); touch(); } }
 private:
  std::string text_;
};

// Menu entry: caption, check mark, enabled and visible (from Control). `parent` names the
// menu it belongs to ("" for a top-level menu); the click event is the entry's action.
class MenuItem : public Control {
 public:
  MenuItem(std::string name, int index) : Control(ControlKind::Menu, std::move(name), index) {}
  const std::string& caption() const { return caption_; }
  void setCaption(std::string c) { caption_ = std::move(c); touch(); }
  bool checked() const { return checked_; }
  void setChecked(bool c) { if (checked_ != c) { checked_ = c; touch(); } }
  std::string parent;
 private:
  std::string caption_;
  bool checked_ = false;
};

// Timer: the event `click` is not used; `tick` is called by whoever owns the clock
// (the Qt event loop or the driver's virtual clock) every `interval` ms while enabled.
class Timer : public Control {
 public:
  Timer(std::string name, int index) : Control(ControlKind::Timer, std::move(name), index) {}
  int interval = 0;  // milliseconds
  std::function<void()> tick;
};

}  // namespace vx::form
