#include <string>
#include <vector>

#include "basic/convert.h"
#include "basic/textfile.h"
#include "shell/settings_file.h"
#include "songlist/list_block.h"
#include "songlist/song_list.h"

namespace vx::shell {

namespace {

std::string singleText(double v) {
  std::string text = basic::StrSingle(static_cast<float>(v));
  if (!text.empty() && text.front() == ' ') text.erase(0, 1);
  return text;
}

void addOptions(Program& p, std::vector<std::string>& lines) {
  const Settings& s = p.settings;
  auto flag = [&lines](bool b) { lines.push_back(basic::BoolText(b)); };
  auto mark = [&p, &flag](const char* menu) { flag(p.main.menu(menu).checked()); };
  auto number = [&lines](int v) { lines.push_back(std::to_string(v)); };
  flag(s.samplerShown);
  flag(s.songListShown);
  mark("autoplay2");
  mark("startup");
  mark("random");
  lines.push_back(singleText(p.main.top));
  lines.push_back(singleText(p.main.left));
  number(s.stutterInterval);
  flag(s.playOnSwitch);
  lines.push_back(s.skinName);
  lines.push_back(p.dialogInitialFolder);
  flag(s.samplerEnabled);
  number(s.initialTrim);
  number(s.gapTime);
  mark("autocrossfadeplay");
  mark("countdown");
  number(s.monitorDevice);
  flag(p.monitor.monitorOn);
  for (int pattern = 0; pattern < 3; ++pattern)
    for (int point = 0; point < 4; ++point) number(s.faderCurve[static_cast<size_t>(pattern + 3 * point)]);
  for (int time : s.faderTime) number(time);
  for (int kind : s.slotKind) number(kind);
  for (const std::string& path : s.slotPath) lines.push_back(path);
}

}  // namespace

void save1(Program& p, int deck, std::vector<std::string>& lines) {
  songlist::writeListBlock(songlist::SongList(p.main, deck),
                           [&lines](std::string_view line) { lines.emplace_back(line); });
}

std::vector<std::string> settingsLines(Program& p) {
  std::vector<std::string> lines;
  lines.reserve(static_cast<size_t>(64 + 7 * (songlist::SongList(p.main, 0).count() + songlist::SongList(p.main, 1).count())));
  save1(p, 0, lines);
  save1(p, 1, lines);
  lines.push_back(std::to_string(songlist::SongList(p.main, 0).selected()));
  lines.push_back(std::to_string(songlist::SongList(p.main, 1).selected()));
  addOptions(p, lines);
  return lines;
}

bool savest(Program& p) {
  std::string error;
  if (!basic::writeTextLinesAtomic(p.settingsPath, settingsLines(p), &error)) {
    if (p.ports.dialogs)
      p.ports.dialogs->messageBox({"現在の状態を保存できませんでした。\n" + error, "", platform::MsgButtons::OK,
                                   platform::MsgIcon::Critical});
    return false;
  }
  p.quitRequested = true;
  return true;
}

}  // namespace vx::shell
