// The audio callback never allocates: every allocation made on the thread that renders is counted
// while both decks play with key lock, jump, bend the pitch across 1, switch key lock and play a
// song out to its end. The counter replaces malloc, so this binary is built apart from the other
// audio tests, and the sanitizers (which replace malloc themselves) skip it.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <random>
#include <thread>

#include "audio/decode/reader.h"
#include "audio/engine/deck_player.h"
#include "audio/engine/mixer.h"
#include "tests/audio/test_media.h"

#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
#define VX_COUNTING_MALLOC 0
#elif defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(thread_sanitizer)
#define VX_COUNTING_MALLOC 0
#endif
#endif
#ifndef VX_COUNTING_MALLOC
#define VX_COUNTING_MALLOC 1
#endif

namespace {
thread_local bool counting = false;
thread_local long allocations = 0;
}  // namespace

#if VX_COUNTING_MALLOC
extern "C" {
void* __libc_malloc(size_t);
void* __libc_calloc(size_t, size_t);
void* __libc_realloc(void*, size_t);
void* __libc_memalign(size_t, size_t);
void* malloc(size_t n) {
  if (counting) ++allocations;
  return __libc_malloc(n);
}
void* calloc(size_t a, size_t n) {
  if (counting) ++allocations;
  return __libc_calloc(a, n);
}
void* realloc(void* p, size_t n) {
  if (counting) ++allocations;
  return __libc_realloc(p, n);
}
void* aligned_alloc(size_t alignment, size_t n) {
  if (counting) ++allocations;
  return __libc_memalign(alignment, n);
}
void* memalign(size_t alignment, size_t n) {
  if (counting) ++allocations;
  return __libc_memalign(alignment, n);
}
int posix_memalign(void** p, size_t alignment, size_t n) {
  if (counting) ++allocations;
  *p = __libc_memalign(alignment, n);
  return *p ? 0 : 12;  // ENOMEM
}
}
#endif

namespace vx::audio {
namespace {

constexpr int kRate = 44100;
constexpr int kBlock = 256;

class CallbackAllocations : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!VX_COUNTING_MALLOC) GTEST_SKIP() << "the sanitizer's malloc is in place";
  }
  // Renders like a device callback; the reader gets a moment between blocks, as it would in real time.
  long renderCounted(int blocks) {
    long counted = 0;
    for (int i = 0; i < blocks; ++i) {
      allocations = 0;
      counting = true;
      mixer.render(buffer, kBlock);
      counting = false;
      counted += allocations;
      for (float x : buffer) loudest = std::max(loudest, std::fabs(x));
      std::this_thread::sleep_for(std::chrono::microseconds(300));
    }
    return counted;
  }
  testing::TempDir dir;
  Reader reader;
  Mixer mixer{2, kRate};
  float buffer[2 * kBlock] = {};
  float loudest = 0;  // that the decks were heard, not starved by the reader
};

TEST_F(CallbackAllocations, NoneWhileKeyLockStretchesJumpsAndEnds) {
  const std::string tone = dir.path("tone.wav"), shortSong = dir.path("short.wav");
  testing::writeWav(tone, kRate, 2, testing::sine(440, 0.5, kRate, 20 * kRate));
  testing::writeWav(shortSong, kRate, 2, testing::sine(330, 0.5, kRate, kRate / 2));
  DeckPlayer a(0, mixer, reader), b(1, mixer, reader);
  a.setFileName(tone);
  b.setFileName(shortSong);
  a.setRate(1.07);
  b.setRate(0.96);
  a.setKeyLock(true);
  b.setKeyLock(true);
  a.play();
  b.play();
  mixer.setImmediate(false);  // from here on, commands reach the voices inside render()
  EXPECT_EQ(renderCounted(400), 0) << "playing, and the short song to its end";
  EXPECT_GT(loudest, 0.3f);
  std::mt19937 random(5);
  std::uniform_real_distribution<double> knob(0.5, 2.0), place(0, 18);
  for (int round = 0; round < 40; ++round) {
    switch (round % 4) {
      case 0: a.setCurrentPosition(place(random)); break;
      case 1: a.setRate(round % 8 == 1 ? 1.0 : knob(random)); break;
      case 2: a.setKeyLock(round % 8 != 2); break;
      default: b.setCurrentPosition(0.1); b.play(); break;
    }
    a.deliverEvents();
    b.deliverEvents();
    EXPECT_EQ(renderCounted(20), 0) << "round " << round;
  }
}

}  // namespace
}  // namespace vx::audio
