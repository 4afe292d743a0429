#pragma once
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "form/controls.h"

namespace vx::form {

// A window: named controls and control arrays, plus the window's own caption, geometry
// (twips of the screen), visibility and key events.
class Form {
 public:
  explicit Form(std::string name) : name_(std::move(name)) {}
  virtual ~Form() = default;
  Form(const Form&) = delete;
  Form& operator=(const Form&) = delete;

  const std::string& name() const { return name_; }

  // Adds a control; a second control with the same name and index replaces nothing and throws.
  template <class T>
  T& add(const std::string& name, int index = -1) {
    auto c = std::make_unique<T>(name, index);
    T& ref = *c;
    insert(std::move(c));
    return ref;
  }
  Control* find(const std::string& name, int index = -1) const;
  template <class T>
  T* findAs(const std::string& name, int index = -1) const { return dynamic_cast<T*>(find(name, index)); }
  // Like findAs, but a missing control or a control of another kind is a programming error.
  template <class T>
  T& get(const std::string& name, int index = -1) const {
    T* c = findAs<T>(name, index);
    if (!c) missing(name, index);
    return *c;
  }
  const std::vector<Control*>& controls() const { return order_; }

  Label& label(const std::string& n, int i = -1) const { return get<Label>(n, i); }
  Picture& picture(const std::string& n, int i = -1) const { return get<Picture>(n, i); }
  ListBox& listBox(const std::string& n, int i = -1) const { return get<ListBox>(n, i); }
  MenuItem& menu(const std::string& n, int i = -1) const { return get<MenuItem>(n, i); }
  CheckBox& checkBox(const std::string& n, int i = -1) const { return get<CheckBox>(n, i); }
  Slider& slider(const std::string& n, int i = -1) const { return get<Slider>(n, i); }
  TextBox& textBox(const std::string& n, int i = -1) const { return get<TextBox>(n, i); }
  OptionButton& option(const std::string& n, int i = -1) const { return get<OptionButton>(n, i); }
  Timer& timer(const std::string& n, int i = -1) const { return get<Timer>(n, i); }

  // Window state.
  std::string caption;
  double left = 0, top = 0, width = 0, height = 0;  // twips
  bool visible = false;
  bool minimized = false;
  bool topmost = false;
  uint64_t revision() const { return revision_; }
  void touch() { ++revision_; }
  // The controls changed since the window last took them (the window's own state is not in it).
  ChangeList& changes() { return changes_; }
  const ChangeList& changes() const { return changes_; }

  // Window events.
  std::function<void(int keyCode, int shift)> keyDown, keyUp;
  std::function<void()> paint, resize, click;
  // The window lost the keyboard (another window became active).
  std::function<void()> deactivate;
  // Asked when the window is to be closed by the platform (window manager close).
  std::function<void()> queryClose;

 private:
  void insert(std::unique_ptr<Control> c);
  [[noreturn]] static void missing(const std::string& name, int index);
  std::string name_;
  std::map<std::pair<std::string, int>, std::unique_ptr<Control>> controls_;
  std::vector<Control*> order_;
  ChangeList changes_;
  uint64_t revision_ = 0;
};

// Parses a reference as the driver writes it: "Pause(0)", "topbar", "config.gyap",
// "sampcfg.volume(2)". Returns false when the text is not a reference.
struct ControlRef {
  std::string form;  // "" = MainForm
  std::string name;
  int index = -1;
};
bool parseControlRef(const std::string& text, ControlRef& out);

}  // namespace vx::form
