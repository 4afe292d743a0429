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

// Every line of the file, in order, each with CR LF.
void writeSettings(Program& p, std::string& text) {
  save1(p, 0, text);
  save1(p, 1, text);
  const songlist::LineSink line = [&text](std::string_view l) { text.append(l).append("\r\n"); };
  line(std::to_string(songlist::SongList(p.main, 0).selected()));
  line(std::to_string(songlist::SongList(p.main, 1).selected()));
  addOptions(p, line);
}

// The whole file as one text, grown once.
std::string settingsText(Program& p) {
  std::string text;
  text.reserve(4096 + songlist::listBlockSize(songlist::SongList(p.main, 0)) +
               songlist::listBlockSize(songlist::SongList(p.main, 1)));
  writeSettings(p, text);
  return text;
}

}  // namespace

void save1(Program& p, int deck, std::string& text) { songlist::writeListBlock(songlist::SongList(p.main, deck), text); }

std::vector<std::string> settingsLines(Program& p) {
  const std::string text = settingsText(p);
  std::vector<std::string> lines;
  basic::LineSplitter in(text);
  for (std::string line; in.next(line);) lines.push_back(std::move(line));
  return lines;
}

bool savest(Program& p) {
  std::string error;
  if (!basic::writeTextAtomic(p.settingsPath, settingsText(p), &error)) {
    if (p.ports.dialogs)
      p.ports.dialogs->messageBox({"現在の状態を保存できませんでした。\n" + error, "", platform::MsgButtons::OK,
                                   platform::MsgIcon::Critical});
    return false;
  }
  savePlusSettings(p);
  p.quitRequested = true;
  return true;
}

void readPlusSettings(Program& p) {
  std::vector<std::string> messages;
  const auto slash = p.settingsPath.rfind('/');
  p.plus.load(slash == std::string::npos ? std::string() : p.settingsPath.substr(0, slash + 1) + "velvoxplus.ini",
              messages);
  if (messages.empty() || !p.ports.dialogs) return;
  std::string text = "拡張設定のファイルに読めない行があります。";
  for (size_t i = 0; i < messages.size() && i < 5; ++i) text += "\n" + messages[i];
  p.ports.dialogs->messageBox({text, "", platform::MsgButtons::OK, platform::MsgIcon::Warning});
}

bool savePlusSettings(Program& p) {
  std::string error;
  if (p.plus.save(&error)) return true;
  if (p.ports.dialogs)
    p.ports.dialogs->messageBox({"拡張設定を保存できませんでした。\n" + error, "", platform::MsgButtons::OK,
                                 platform::MsgIcon::Critical});
  return false;
}

}  // namespace vx::shell
