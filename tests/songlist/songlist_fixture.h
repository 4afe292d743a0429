#pragma once
// Shared helpers of the song-list tests: a wired program on fakes, lists filled with entries
// whose every value tells which song it belongs to, and checks that the seven lists agree.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "songlist/song_list.h"
#include "tests/support/test_program.h"

namespace vx::test {

// Entry i of a list made by fillList: every value names the song, the numbers differ per song.
inline songlist::SongEntry songEntry(const std::string& name, int i) {
  return {"/music/" + name + ".mp3", name + ".mp3", std::to_string(90 + i), std::to_string(2000 + i),
          std::to_string(i) + ".5", std::to_string(i) + ".25", std::to_string(100 + i)};
}

// The list block of songs prefix0, prefix1, ...: the count, then column after column.
inline std::vector<std::string> blockLines(int n, const std::string& prefix = "s") {
  std::vector<std::string> lines{std::to_string(n)};
  for (int c = 0; c < songlist::kColumns; ++c)
    for (int i = 0; i < n; ++i) {
      const auto e = songEntry(prefix + std::to_string(i), i);
      const std::string* v[] = {&e.path, &e.title, &e.tempo, &e.trim, &e.cue, &e.start, &e.end};
      lines.push_back(*v[c]);
    }
  return lines;
}

// Lines as a file holds them, each ended by CR LF.
inline std::string crlfText(const std::vector<std::string>& lines) {
  std::string text;
  for (const auto& l : lines) text += l + "\r\n";
  return text;
}

class SongListTest : public ::testing::Test {
 protected:
  TestProgram t;
  Program& p = t.p;

  songlist::SongList list(int deck) { return songlist::SongList(p.main, deck); }

  // Appends songs named prefix0, prefix1, ... and selects nothing.
  void fillList(int deck, int n, const std::string& prefix = "s") {
    auto l = list(deck);
    for (int i = 0; i < n; ++i) ASSERT_TRUE(l.append(songEntry(prefix + std::to_string(i), i)));
    l.select(-1);
  }

  std::vector<std::string> titles(int deck) { return list(deck).column(songlist::Title).items().strings(); }

  // The selected index of each of the seven lists, in column order.
  std::vector<int> selections(int deck) {
    std::vector<int> s;
    for (int c = 0; c < songlist::kColumns; ++c) s.push_back(list(deck).column(songlist::Column(c)).listIndex());
    return s;
  }

  static std::vector<int> all(int i) { return std::vector<int>(songlist::kColumns, i); }

  // Every entry made by fillList still carries all of its own values: the seven lists are in step.
  void expectInStep(int deck) {
    auto l = list(deck);
    for (int c = 0; c < songlist::kColumns; ++c)
      ASSERT_EQ(l.column(songlist::Column(c)).listCount(), l.count()) << songlist::kColumnNames[c];
    for (int i = 0; i < l.count(); ++i) {
      const auto e = l.entry(i);
      const std::string name = e.title.substr(0, e.title.size() - 4);
      const auto expected = songEntry(name, std::stoi(name.substr(name.find_first_of("0123456789"))));
      EXPECT_EQ(e.path, expected.path) << "entry " << i;
      EXPECT_EQ(e.tempo + e.trim + "|" + e.cue + e.start + e.end,
                expected.tempo + expected.trim + "|" + expected.cue + expected.start + expected.end)
          << "entry " << i;
    }
  }
};

}  // namespace vx::test
