#pragma once
#include <array>

#include "form/form.h"

namespace vx::form {

// The seven parallel list boxes of a deck's song list, in the order of their columns.
inline constexpr std::array<const char*, 7> kSongColumns{"List1", "title1", "tempolis", "vollis",
                                                         "cuelis", "startlis", "endlis"};

// The main window with every control of its layout. Per-deck controls are arrays indexed by
// deck (0 = A, 1 = B).
class MainForm : public Form {
 public:
  MainForm();
  // A deck's song list boxes in kSongColumns' order, found once: every reading of a song list
  // (the main tick reads both on every run) starts here.
  const std::array<ListBox*, 7>& songColumns(int deck) const { return songColumns_.at(deck); }

 private:
  std::array<std::array<ListBox*, 7>, 2> songColumns_{};
};

// The splash window shown while the program starts: `Timer1` (2500 ms), `lblVersion`, `Image2`.
class SplashForm : public Form {
 public:
  SplashForm();
};

// The about window: `lblVersion`, `Image1` and the button `OK`.
class AboutForm : public Form {
 public:
  AboutForm();
};

}  // namespace vx::form
