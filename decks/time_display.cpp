#include "decks/time_display.h"

#include <cmath>
#include <string>

#include "basic/convert.h"
#include "decks/marquee.h"
#include "songlist/song_list.h"

namespace vx::decks {

namespace {

using basic::Format;
using basic::Int;

// Format(v, pattern) for a pattern of zeros, written directly for the whole numbers of a time
// display (the display is written on every tick); a negative one goes through Format.
std::string zeroPadded(double whole, const char* pattern) {
  if (whole < 0 || whole >= 1e9) return Format(whole, pattern);
  std::string digits = std::to_string(static_cast<long long>(whole));
  const size_t width = std::char_traits<char>::length(pattern);
  if (digits.size() < width) digits.insert(0, width - digits.size(), '0');
  return digits;
}

// Minutes and seconds of a whole number of seconds, with integer division and remainder that
// keep the sign of the seconds as the classic operators do.
std::string minutesSeconds(double wholeSeconds, const char* separator) {
  auto s = static_cast<long long>(wholeSeconds);
  return zeroPadded(static_cast<double>(s / 60), "00") + separator + zeroPadded(static_cast<double>(s % 60), "00");
}

void scrollInto(form::Label& label, const std::string& name, int& marqueeTick, int window, int limit) {
  std::string text;
  if (scrollTitle(name, marqueeTick, window, limit, text)) label.setCaption(text);
}

}  // namespace

std::string deckTitle(Program& p, int deck) {
  const songlist::SongList list(p.main, deck);
  if (list.hasSelection(songlist::Title)) return list.selectedValue(songlist::Title);
  return p.ports.player[deck] ? songlist::fileTitle(p.player(deck).fileName()) : std::string();
}

void timecounter(Program& p, int deck) {
  auto& player = p.player(deck);
  bool countdown = p.tickControls.countdown.checked();
  // Seconds and milliseconds come from two readings of the position, as the display always did.
  auto shown = [&] { return countdown ? player.duration() - player.currentPosition() : player.currentPosition(); };
  double s = Int(shown());
  double ms = Int(1000 * (shown() - s));
  if (!std::isfinite(s) || !std::isfinite(ms) || std::fabs(s) > 1e15) return;
  p.tickControls.deck.at(deck).time.setCaption(minutesSeconds(s, "'") + "''" + zeroPadded(ms, "000"));
}

void scrollFileName(Program& p, int deck, const std::string& name) {
  scrollInto(p.tickControls.deck.at(deck).fileName, name, p.deck[deck].marqueeTick, 19, 16);
}

void fontroll(Program& p, int deck) {
  scrollInto(p.tickControls.deck.at(deck).time, deckTitle(p, deck), p.deck[deck].marqueeTick, 11, 8);
}

void minimumdisplay(Program& p) {
  int deck = p.lastPlayedDeck;
  if (deck < 0 || deck > 1) return;
  double s = Int(p.player(deck).currentPosition());
  if (!std::isfinite(s) || std::fabs(s) > 1e15) return;
  std::string time = minutesSeconds(s, ":");
  if (p.window.barMode && !p.window.miniMode) p.main.label("bartime").setCaption(time);
  std::string name = deckTitle(p, deck);
  if (p.window.miniMode) {
    std::string caption = time + "  " + name;
    if (p.main.caption != caption) {
      p.main.caption = caption;
      p.main.touch();
    }
    return;
  }
  scrollInto(p.main.label("topbar"), name, p.deck[deck].marqueeTick, 13, 10);
}

}  // namespace vx::decks
