#include "sampler/slots.h"

#include "basic/convert.h"
#include "core/storable.h"
#include "sampler/sampler.h"
#include "sampler/slot_dialog.h"
#include "songlist/song_list.h"
#include "recorder/other_windows.h"

namespace vx::sampler {

namespace {

constexpr long kKindFlags[4] = {0xB0, 0x290, 0xE0, 0x2C0};
constexpr const char* kCannotRead = "ファイルを読み込めません。";

void failure(Program& p, const std::string& text, const std::string& title = "読み込めません",
             platform::MsgIcon icon = platform::MsgIcon::Critical) {
  if (p.ports.dialogs) p.ports.dialogs->messageBox({text, title, platform::MsgButtons::OK, icon});
}

// The start folder of the sample dialog: the remembered one, else the system's media folder.
std::string startFolder(Program& p) {
  if (p.dialogInitialFolder.empty() && p.ports.shell) {
    std::string media = p.ports.shell->defaultMediaFolder();
    if (p.ports.shell->folderExists(media)) p.dialogInitialFolder = media;
  }
  return p.dialogInitialFolder;
}

std::string folderOf(const std::string& path) {
  auto slash = path.find_last_of('/');
  return slash == std::string::npos ? "" : path.substr(0, slash + 1);
}

// The file becomes the slot's pending sound: its label and path name it at once.
void takeFile(Program& p, int slot, const std::string& path) {
  p.sampler.pendingSampleFile = path;
  p.sampler.replacedPath = p.settings.slotPath[static_cast<size_t>(slot)];
  p.sampler.replacedKind = p.settings.slotKind[static_cast<size_t>(slot)];
  p.sampler.replacedLabel = p.main.label("Text1", slot).caption();
  p.settings.slotPath[static_cast<size_t>(slot)] = path;
  p.main.label("Text1", slot).setCaption(slotLabelText(slot, path));
}

// The refused file leaves the slot as it was: the sound it holds under its own name and kind.
void giveBack(Program& p, int slot) {
  const auto i = static_cast<size_t>(slot);
  p.settings.slotPath[i] = p.sampler.replacedPath;
  p.settings.slotKind[i] = p.sampler.replacedKind;
  p.main.label("Text1", slot).setCaption(p.sampler.replacedLabel);
}

void showSelectMode(Program& p, int slot) {
  p.sampler.currentSlot = slot;
  p.sampler.selectmode.visible = true;
  p.sampler.selectmode.touch();
}

void unloadSelectMode(Program& p) {
  p.sampler.selectmode.visible = false;
  p.sampler.selectmode.touch();
}

std::unique_ptr<platform::SoundBuffer> createBuffer(Program& p, const std::string& path, int kind,
                                                    platform::SoundResult& result) {
  if (!p.ports.sound || !p.startup.directSoundReady) {
    result = platform::kSoundNoDriver;
    return nullptr;
  }
  return p.ports.sound->createBufferFromFile(path, kindFlags(kind), result);
}

}  // namespace

long kindFlags(int kind) { return kKindFlags[kind & 3]; }

std::string slotLabelText(int slot, const std::string& path) {
  return basic::Str(slot + 1) + ":" + (path.empty() ? "" : songlist::fileTitle(path));
}

void closeOtherWindows(Program& p) { recorder::unloadOtherWindows(p); }

void loadSlotFromDialog(Program& p, int slot) {
  if (!p.ports.dialogs) return;
  platform::FileDialogSpec spec;
  spec.filter = "Wave Files (*.wav)|*.wav";
  spec.fileName = "";
  spec.initialDir = startFolder(p);
  auto chosen = p.ports.dialogs->openFile(spec);
  if (!chosen || chosen->empty() || !acceptStorable(p, *chosen)) return;
  p.lastFolders[2] = folderOf(*chosen);
  p.dialogInitialFolder = p.lastFolders[2];
  takeFile(p, slot, *chosen);
  auto& buffer = p.sampler.slotBuffer[static_cast<size_t>(slot)];
  if (buffer && buffer->status() == platform::kStatusPlaying) buffer->stop();
  closeOtherWindows(p);
  showSelectMode(p, slot);
}

void Text1_OLEDragDrop(Program& p, int slot, const std::vector<std::string>& paths) {
  if (paths.empty()) return;
  const std::string& path = paths.front();
  if (path.size() < 4 || path.compare(path.size() - 4, 4, ".wav") != 0) return;
  if (!acceptStorable(p, path)) return;
  takeFile(p, slot, path);
  showSelectMode(p, slot);
}

void Text1_RightDown(Program& p, int slot) {
  if (!slotLoaded(p, slot)) return;
  closeOtherWindows(p);
  openSlotSettings(p, slot);
}

void selectmode_Label1_Click(Program& p, int index) {
  SamplerState& s = p.sampler;
  const int slot = s.currentSlot;
  int kind = index == 0 ? 0 : 1;
  p.settings.slotKind[static_cast<size_t>(slot)] = kind;
  platform::SoundResult result = platform::kSoundOk;
  auto buffer = createBuffer(p, s.pendingSampleFile, kind, result);
  if (!buffer && result == platform::kSoundInvalidParam) {
    kind += 2;  // no 3D for this file: plain panning
    buffer = createBuffer(p, s.pendingSampleFile, kind, result);
    if (buffer) p.settings.slotKind[static_cast<size_t>(slot)] = kind;
    else result = platform::kSoundGeneric;  // the fallback's own failure has one message
  }
  unloadSelectMode(p);
  if (!buffer) {
    giveBack(p, slot);
    failure(p, result == platform::kSoundBufferTooSmall
                   ? "ﾌｧｲﾙの長さがエフェクトをかけるには短すぎます。もっと長いﾌｧｲﾙにしてください。"
                   : kCannotRead);
    return;
  }
  s.slotBuffer[static_cast<size_t>(slot)] = std::move(buffer);
  s.slotLooping[static_cast<size_t>(slot)] = 0;
  s.appliedChainSignature[static_cast<size_t>(slot)] = 0;
  s.appliedChain[static_cast<size_t>(slot)].clear();
}

void cmdStop_Click(Program& p, int slot) {
  auto& buffer = p.sampler.slotBuffer[static_cast<size_t>(slot)];
  if (!buffer) return;
  buffer->stop();
  buffer->setCurrentPosition(0);
}

void clssamp_Click(Program& p) {
  for (int i = 0; i < kSamplerSlots; ++i) {
    p.main.label("Text1", i).setCaption(slotLabelText(i, ""));
    p.settings.slotPath[static_cast<size_t>(i)] = "";
  }
}

void buildSelectMode(form::Form& f) {
  f.caption = "MODE SELECT";
  f.width = 3300;
  f.height = 1620;
  auto& title = f.add<form::Label>("Label2");
  title.move(120, 120, 3000, 300);
  title.setCaption("MODE SELECT");
  const char* modes[2] = {"   SAMPLER MODE", "  EFFECTER MODE"};
  for (int i = 0; i < 2; ++i) {
    auto& l = f.add<form::Label>("Label1", i);
    l.move(120, 540 + 480 * i, 3000, 420);
    l.setCaption(modes[i]);
  }
}

// ---- the entry points other subsystems call

void releaseSampler(Program& p) {
  for (auto& buffer : p.sampler.slotBuffer) {
    if (buffer && buffer->status() == platform::kStatusPlaying) buffer->stop();
    buffer.reset();
  }
  if (p.ports.sound) p.ports.sound->release();
}

bool loadSlotFile(Program& p, int slot, const std::string& path) {
  platform::SoundResult result = platform::kSoundOk;
  auto buffer = createBuffer(p, path, p.settings.slotKind[static_cast<size_t>(slot)], result);
  if (!buffer) return false;
  p.sampler.slotBuffer[static_cast<size_t>(slot)] = std::move(buffer);
  p.sampler.slotLooping[static_cast<size_t>(slot)] = 0;
  return true;
}

void cmdPlay_Click(Program& p, int slot) {
  SamplerState& s = p.sampler;
  auto i = static_cast<size_t>(slot);
  auto& buffer = s.slotBuffer[i];
  if (!buffer) return;
  if (s.slotSilencer[i] == 1)
    for (auto* player : p.ports.player)
      if (player) player->setMute(true);
  if (s.slotLooping[i] == -1 && s.slotLoop[i] == 1) {
    cmdStop_Click(p, slot);
    s.slotLooping[i] = 0;
    return;
  }
  buffer->setCurrentPosition(0);
  buffer->play(s.slotLoop[i]);
  if (s.slotLoop[i] == 1) s.slotLooping[i] = -1;
}

bool slotSilencer(const Program& p, int slot) { return p.sampler.slotSilencer[static_cast<size_t>(slot)] == 1; }

bool slotLoaded(const Program& p, int slot) { return p.sampler.slotBuffer[static_cast<size_t>(slot)] != nullptr; }

}  // namespace vx::sampler
