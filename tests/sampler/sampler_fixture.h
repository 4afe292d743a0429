#pragma once
// A program on the fakes with a sound device and a few described sample files.
#include <gtest/gtest.h>

#include "sampler/sampler.h"
#include "tests/support/test_program.h"

namespace vx::test {

class SamplerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    t.sound.create();
    t.p.startup.directSoundReady = true;
    t.sound.files["/s/mono.wav"] = {1, 44100, 44100};
    t.sound.files["/s/stereo.wav"] = {2, 44100, 44100};
    t.sound.files["/s/short.wav"] = {1, 44100, 4410};
    t.sound.files["/s/other.wav"] = {1, 22050, 22050};
  }
  // Loads `path` into `slot` through the open dialog and picks mode `mode` (0 sampler, 1 effecter).
  void load(int slot, const std::string& path, int mode) {
    t.dialogs.openAnswers.push_back(path);
    t.form().label("Text1", slot).events.mouseDown({});
    ASSERT_TRUE(t.p.sampler.selectmode.visible);
    t.p.sampler.selectmode.label("Label1", mode).events.click();
  }
  FakeSoundBuffer* buffer(int slot) {
    return dynamic_cast<FakeSoundBuffer*>(t.p.sampler.slotBuffer[static_cast<size_t>(slot)].get());
  }
  void key(int code, bool down) {
    auto& f = t.form();
    if (down) f.keyDown(code, 0);
    else f.keyUp(code, 0);
  }

  TestProgram t;
};

}  // namespace vx::test
