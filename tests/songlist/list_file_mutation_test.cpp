// Random damage to valid list files, a bounded number of times: the reader must never crash,
// and whatever it accepts must give seven columns of one length per deck.
#include <random>

#include "songlist/list_file.h"
#include "tests/songlist/songlist_fixture.h"

namespace vx::test {
namespace {

std::string validFile(std::mt19937& rng) {
  const auto a = blockLines(static_cast<int>(rng() % 4), "曲");
  const auto b = blockLines(static_cast<int>(rng() % 4), "歌");
  return crlfText(a) + crlfText(b);
}

void mutate(std::string& s, std::mt19937& rng) {
  const auto pick = [&](size_t n) { return n == 0 ? 0 : rng() % n; };
  switch (rng() % 6) {
    case 0: if (!s.empty()) s[pick(s.size())] = static_cast<char>(rng()); break;
    case 1: {
      constexpr std::string_view kBytes = "\r\n0-9.E \xFF\x8B";
      s.insert(pick(s.size() + 1), 1, kBytes[pick(kBytes.size())]);
    } break;
    case 2: if (!s.empty()) s.erase(pick(s.size()), 1 + pick(8)); break;
    case 3: s.resize(pick(s.size() + 1)); break;
    case 4: s.insert(pick(s.size() + 1), std::to_string(static_cast<int>(rng() % 70000) - 2)); break;
    default: { const size_t at = pick(s.size() + 1); s.insert(at, s.substr(at, pick(40))); } break;
  }
}

TEST(ListFileMutation, DamagedFilesAreRefusedOrReadInStep) {
  std::mt19937 rng(20240611);
  int accepted = 0;
  for (int round = 0; round < 4000; ++round) {
    std::string text = validFile(rng);
    const int edits = 1 + static_cast<int>(rng() % 4);
    for (int e = 0; e < edits; ++e) mutate(text, rng);
    const auto f = songlist::parseListFile(text);
    if (!f) continue;
    ++accepted;
    for (const auto& block : *f) {
      for (const auto& column : block) ASSERT_EQ(column.size(), block[songlist::Path].size()) << round;
      ASSERT_LE(block[songlist::Path].size(), static_cast<size_t>(songlist::kMaxSongs));
    }
  }
  // Some damage leaves a valid file (a changed title); the test must reach both outcomes.
  EXPECT_GT(accepted, 0);
  EXPECT_LT(accepted, 4000);
}

}  // namespace
}  // namespace vx::test
