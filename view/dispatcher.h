#pragma once
#include <functional>

namespace vx::view {

// Runs the program's event handlers: one at a time (a handler that opens a dialog holds the
// timers off until it returns), and brings every window up to date afterwards.
class Dispatcher {
 public:
  virtual ~Dispatcher() = default;
  virtual void run(const std::function<void()>& handler) = 0;
};

}  // namespace vx::view
