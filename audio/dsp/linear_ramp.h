#pragma once
// A value that glides to its target in a straight line over a fixed number of frames, one step
// per frame, and then holds it exactly. Engine thread.
namespace vx::audio::dsp {

class LinearRamp {
 public:
  // The glide's length; from the next setTarget() on.
  void setFrames(int frames) { frames_ = frames > 0 ? frames : 1; }
  void jump(double v) {
    value_ = target_ = v;
    left_ = 0;
  }
  void setTarget(double v) {
    if (v == target_ && left_ == 0 && value_ == v) return;
    target_ = v;
    left_ = frames_;
    step_ = (target_ - value_) / frames_;
  }
  double next() {
    if (left_ > 0 && --left_ > 0) value_ += step_;
    else value_ = target_;
    return value_;
  }
  double value() const { return value_; }
  double target() const { return target_; }
  bool moving() const { return left_ > 0; }

 private:
  double value_ = 0, target_ = 0, step_ = 0;
  int left_ = 0;
  int frames_ = 1;
};

}  // namespace vx::audio::dsp
