#pragma once
// Models of the window controls. The logic reads and writes only these models; the view draws
// them and the scenario driver drives them. Nothing here knows about Qt or sound.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace vx::form {

enum class MouseButton { None = 0, Left = 1, Right = 2, Middle = 4 };
// Shift state as the classic handlers receive it: bit 0 Shift, bit 1 Ctrl, bit 2 Alt.
enum ShiftMask : int { ShiftKey = 1, CtrlKey = 2, AltKey = 4 };

struct MouseEvent {
  MouseButton button = MouseButton::Left;
  int shift = 0;
  double x = 0;  // twips, relative to the control's top-left corner
  double y = 0;
};

// Event handlers a subsystem attaches to a control, named after the classic events.
// Every handler is optional; raising an event without a handler does nothing.
struct ControlEvents {
  std::function<void(const MouseEvent&)> mouseDown, mouseMove, mouseUp;
  std::function<void()> click, dblClick, change;
  std::function<void(const std::vector<std::string>& paths, int shift)> dragDrop;
  // Key events reach the control with the Windows virtual-key code and the shift mask.
  std::function<void(int keyCode, int shift)> keyDown, keyUp;
};

enum class ControlKind { Label, Picture, ListBox, Slider, CheckBox, OptionButton, TextBox, Menu, Timer, Line, ComboBox, Frame };

const char* kindName(ControlKind kind);

class Control;

// The controls of one form that changed since its window last looked, each listed once, in the
// order of their first change. The window takes the list after every handler and visits only
// those controls; a form nobody draws keeps at most one entry per control.
class ChangeList {
 public:
  // Every change noted, repeated ones included: a count that stands still means nothing changed.
  uint64_t count() const { return count_; }
  bool empty() const { return list_.empty(); }
  // Moves the listed controls into `out` (its old entries dropped) and starts a new list. The
  // buffers are exchanged, so a window that keeps `out` takes without allocating.
  void take(std::vector<Control*>& out);

 private:
  friend class Control;
  void note(Control& c);
  std::vector<Control*> list_;
  uint64_t count_ = 0;
};

// Common part of all controls. Geometry is in twips of the form, exactly as the formulas need it.
// Every change through a setter bumps `revision` and lists the control in its form's changes, so
// the view visits and repaints only what changed.
class Control {
 public:
  Control(ControlKind kind, std::string name, int index) : kind_(kind), name_(std::move(name)), index_(index) {}
  virtual ~Control() = default;
  Control(const Control&) = delete;
  Control& operator=(const Control&) = delete;

  ControlKind kind() const { return kind_; }
  const std::string& name() const { return name_; }
  int index() const { return index_; }  // -1 when the control is not part of an array
  std::string ref() const;              // "Pause(0)" or "topbar"

  double left() const { return left_; }
  double top() const { return top_; }
  double width() const { return width_; }
  double height() const { return height_; }
  void setLeft(double v) { if (left_ != v) { left_ = v; touch(); } }
  void setTop(double v) { if (top_ != v) { top_ = v; touch(); } }
  void setWidth(double v) { if (width_ != v) { width_ = v; touch(); } }
  void setHeight(double v) { if (height_ != v) { height_ = v; touch(); } }
  void move(double left, double top, double width, double height);

  bool visible() const { return visible_; }
  void setVisible(bool v) { if (visible_ != v) { visible_ = v; touch(); } }
  bool enabled() const { return enabled_; }
  void setEnabled(bool v) { if (enabled_ != v) { enabled_ = v; touch(); } }

  const std::string& container() const { return container_; }  // name of the panel it sits on, "" = form
  void setContainer(std::string c) { container_ = std::move(c); }
  const std::string& tooltip() const { return tooltip_; }
  void setTooltip(std::string t) { tooltip_ = std::move(t); }

  // Text look, where the program sets one (fonts and colours of a skin); the defaults mean
  // "as the window draws it". Colours are 0x00BBGGRR. A setter that refuses the value returns
  // false and leaves the control as it was, as the classic control raises an error.
  const std::string& fontName() const { return fontName_; }
  bool setFontName(std::string n);
  double fontSize() const { return fontSize_; }  // points; 0 = the window's default
  bool setFontSize(double points);
  long foreColor() const { return foreColor_; }  // -1 = the window's default
  bool setForeColor(long colour);
  long backColor() const { return backColor_; }
  bool setBackColor(long colour);
  static constexpr double kMaxFontSize = 2160;

  uint64_t revision() const { return revision_; }
  void touch() {
    ++revision_;
    if (changes_) changes_->note(*this);
  }
  // Where touch() lists the control: its form's list (set when the form adds it).
  void listChangesIn(ChangeList* changes) { changes_ = changes; }

  ControlEvents events;

 private:
  ControlKind kind_;
  std::string name_;
  int index_;
  double left_ = 0, top_ = 0, width_ = 0, height_ = 0;
  bool visible_ = true, enabled_ = true;
  std::string container_, tooltip_;
  std::string fontName_;
  double fontSize_ = 0;
  long foreColor_ = -1, backColor_ = -1;
  uint64_t revision_ = 0;
  ChangeList* changes_ = nullptr;
  bool listed_ = false;  // in changes_ now
  friend class ChangeList;
};

}  // namespace vx::form
