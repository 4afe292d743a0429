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

void addOptions(Program& p, const songlist::LineSink& line) {
  const Settings& s = p.settings;
  auto flag = [&line](bool b) { line(basic::BoolText(b)); };
  auto mark = [&p, &flag](const char* menu) { flag(p.main.menu(menu).checked()); };
  auto number = [&line](int v) { line(std::to_string(v)); };
  flag(s.samplerShown);
  flag(s.songListShown);
  mark("autoplay2");
  mark("startup");
  mark("random");
  line(singleText(p.main.top));
  line(singleText(p.main.left));
  number(s.stutterInterval);
  flag(s.playOnSwitch);
  line(s.skinName);
  line(p.dialogInitialFolder);
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
  for (const std::string& path : s.slotPath) line(path);
}

// Every line of the file, in order.
void writeSettings(Program& p, const songlist::LineSink& line) {
  save1(p, 0, line);
  save1(p, 1, line);
  line(std::to_string(songlist::SongList(p.main, 0).selected()));
  line(std::to_string(songlist::SongList(p.main, 1).selected()));
  addOptions(p, line);
}

// The whole file as one text, grown once.
std::string settingsText(Program& p) {
  size_t size = 4096;
  for (int deck = 0; deck < 2; ++deck) {
    const songlist::SongList list(p.main, deck);
    for (int c = 0; c < songlist::kColumns; ++c)
      for (const auto& item : list.column(static_cast<songlist::Column>(c)).items()) size += item.size() + 2;
  }
  std::string text;
  text.reserve(size);
  writeSettings(p, [&text](std::string_view line) {
    text += line;
    text += "\r\n";
  });
  return text;
}

}  // namespace

void save1(Program& p, int deck, const songlist::LineSink& line) { songlist::writeListBlock(songlist::SongList(p.main, deck), line); }

std::vector<std::string> settingsLines(Program& p) {
  std::vector<std::string> lines;
  writeSettings(p, [&lines](std::string_view line) { lines.emplace_back(line); });
  return lines;
}

bool savest(Program& p) {
  std::string error;
  // Handed over as one line holding all the others: the writer adds the last line end itself.
  std::vector<std::string> text{settingsText(p)};
  text.front().resize(text.front().size() - 2);
  if (!basic::writeTextLinesAtomic(p.settingsPath, text, &error)) {
    if (p.ports.dialogs)
      p.ports.dialogs->messageBox({"現在の状態を保存できませんでした。\n" + error, "", platform::MsgButtons::OK,
                                   platform::MsgIcon::Critical});
    return false;
  }
  p.quitRequested = true;
  return true;
}

}  // namespace vx::shell
