#include "sampler/slot_dialog.h"

#include <cmath>

#include "basic/convert.h"
#include "sampler/effects.h"
#include "sampler/sampler.h"
#include "sampler/slots.h"

namespace vx::sampler {

namespace {

constexpr double kPi = 3.141;  // as the dialog's formulas have it
constexpr double kWide = 8200, kNarrow = 5200, kHeight = 3420;
constexpr double kEffectsShown = 720, kEffectsHidden = 4300;
constexpr double kTwipsPerUnit = 50;
// Half the size of a pad marker. The markers' formula takes 10, which is under a pixel on today's
// screens; at 120 twips (8 pixels) a DJ can see where the sound is and where it points.
constexpr double kMarker = 120;
constexpr const char* kNotes[8] = {"1: ド", "2: レ", "3: ミ", "4: ファ", "5: ソ", "6: ラ", "7: シ", "8: ド"};
constexpr double kScale[6] = {1.122, 1.26, 1.335, 1.498, 1.682, 1.888};

form::Form& dialog(Program& p) { return p.sampler.sampcfg; }

platform::SoundBuffer* currentBuffer(Program& p) {
  return p.sampler.slotBuffer[static_cast<size_t>(p.sampler.currentSlot)].get();
}

// The 3D controls of the current slot's buffer; null for a buffer made without them (the sound
// keyboard's buffers on a slot of a 3D kind): the dialog then only draws.
platform::SoundBuffer3D* spatial(Program& p) {
  platform::SoundBuffer* b = currentBuffer(p);
  return b ? b->spatial() : nullptr;
}

void applyPosition(Program& p) {
  if (platform::SoundBuffer3D* s = spatial(p))
    s->setPosition(static_cast<float>(p.sampler.sourceOffsetX / kTwipsPerUnit), 0,
                   static_cast<float>(p.sampler.sourceOffsetZ / kTwipsPerUnit));
}

void DrawTriangle(Program& p, int first, long colour, double x, double z, double angle) {
  const double f = (angle - 90) * kPi / 180;
  auto corner = [&](double a, double& cx, double& cz) {
    cx = basic::CInt(x + kMarker * std::sin(a));
    cz = basic::CInt(z + kMarker * std::cos(a));
  };
  double tx, tz, ax, az, bx, bz;
  corner(f, tx, tz);
  corner(f + kPi / 1.3, ax, az);
  corner(f - kPi / 1.3, bx, bz);
  form::Form& d = dialog(p);
  for (int i = 0; i < 3; ++i) d.get<form::Line>("padLine", first + i).colour = colour;
  d.get<form::Line>("padLine", first).set(tx, tz, ax, az);
  d.get<form::Line>("padLine", first + 1).set(tx, tz, bx, bz);
  d.get<form::Line>("padLine", first + 2).set(ax, az, bx, bz);
}

void addLabel(form::Form& f, const char* name, int index, double l, double t, double w, double h, const char* text,
              const std::string& container = "") {
  auto& c = f.add<form::Label>(name, index);
  c.move(l, t, w, h);
  c.setCaption(text);
  c.setContainer(container);
}

void addSlider(form::Form& f, const char* name, double l, double t, double w, double h, int lo, int hi, int small,
               int large, int ticks) {
  auto& s = f.add<form::Slider>(name);
  s.move(l, t, w, h);
  s.min = lo;
  s.max = hi;
  s.smallChange = small;
  s.largeChange = large;
  s.tickFrequency = ticks;
}

void addCheck(form::Form& f, const char* name, int index, double l, double t, double w, const char* text,
              const std::string& container = "") {
  auto& c = f.add<form::CheckBox>(name, index);
  c.move(l, t, w, 300);
  c.setCaption(text);
  c.setContainer(container);
}

void layoutByKind(Program& p, int kind) {
  form::Form& d = dialog(p);
  d.width = kind == 0 || kind == 1 ? kWide : kNarrow;
  d.height = kHeight;
  const bool effects = kind == 1 || kind == 3;
  d.label("Frame1").setTop(effects ? kEffectsShown : kEffectsHidden);
  // The effects frame covers the tempo and the sound keyboard; what it covers is not drawn.
  for (form::Control* c : d.controls()) {
    if (c->container() == "Frame1") c->touch();  // placed anew with their frame
    if (c->name() == "tempo" || c->name() == "Label4" || c->name() == "Frame2" || c->container() == "Frame2")
      c->setVisible(!effects);
  }
  d.touch();
}

}  // namespace

void buildSlotDialog(form::Form& f) {
  f.caption = "   サンプラー設定";
  f.width = kWide;
  f.height = kHeight;
  addLabel(f, "Label3", -1, 120, 120, 1200, 300, "SAMPLER 1");
  addCheck(f, "chkLoop", 0, 120, 480, 1150, "Loop ");
  addCheck(f, "chksilent", -1, 120, 840, 1150, "Silencer");
  addLabel(f, "Label1", -1, 120, 1200, 1150, 300, "Ｖｏｌｕｍｅ");
  addSlider(f, "volume", 360, 1500, 480, 1800, 0, 100, 1, 5, 10);
  addLabel(f, "Label4", -1, 1380, 120, 900, 300, "Tempo");
  addSlider(f, "tempo", 1380, 360, 3660, 420, 100, 100000, 100, 1000, 10000);
  addLabel(f, "Frame2", -1, 1380, 960, 3660, 1560, "音源キーボード機能");
  addLabel(f, "keyboad", -1, 240, 300, 1800, 420, "音源キーボード", "Frame2");
  addLabel(f, "Label5", -1, 240, 840, 3300, 600, "音源キーボードを使用するには上のﾊﾞｰで低いドの周波数を決めてください", "Frame2");
  addLabel(f, "Frame1", -1, 1380, kEffectsHidden, 3660, 2100, "エフェクト");
  for (int k : effectIndexes()) {
    const int row = k == 7 ? 6 : k;
    const double col = row % 2 == 0 ? 0 : 1800, top = 300 + 420 * (row / 2);
    addCheck(f, "Check1", k, 120 + col, top, 1290, effectCaption(k), "Frame1");
    addLabel(f, "efectcfg", k, 1410 + col, top - 30, 390, 360, "設定", "Frame1");
    f.label("efectcfg", k).setEnabled(false);
  }
  addLabel(f, "Label7", -1, 5280, 120, 2655, 240, "3D EFFECT");
  addLabel(f, "picDraw", -1, 5280, 360, 2655, 2415, "");
  for (int i = 0; i < 6; ++i) f.add<form::Line>("padLine", i).setContainer("picDraw");
  addLabel(f, "Label8", -1, 5280, 2880, 600, 300, "Angle");
  addSlider(f, "scrlangle", 5880, 2880, 2055, 300, -270, 90, 1, 5, 0);
  f.slider("scrlangle").setValue(-90);
  addLabel(f, "Command1", -1, 3960, 2880, 1020, 420, "OK");
}

void sampcfg_Load(Program& p) {
  SamplerState& s = p.sampler;
  form::Form& d = dialog(p);
  const int slot = s.currentSlot;
  const int kind = p.settings.slotKind[static_cast<size_t>(slot)];
  d.label("Label3").setCaption("SAMPLER " + basic::CStr(slot + 1));
  d.checkBox("chkLoop", 0).setValue(s.slotLoop[static_cast<size_t>(slot)]);
  d.checkBox("chksilent").setValue(s.slotSilencer[static_cast<size_t>(slot)]);
  layoutByKind(p, kind);
  platform::SoundBuffer* buffer = currentBuffer(p);
  if (buffer) d.slider("volume").setValue(static_cast<int>(std::sqrt(static_cast<double>(-buffer->volume()))));
  if (buffer && (kind == 0 || kind == 2)) d.slider("tempo").setValue(static_cast<int>(buffer->frequency()));
  listEffects(p);
  if (kind == 0 || kind == 1) {
    s.sourceOffsetX = 0;
    s.sourceOffsetZ = 5;
    // The 3D settings are not remembered: an angle left from the last opening (of any slot)
    // would otherwise turn this slot's cone.
    d.slider("scrlangle").setValue(-90);
    scrlangle_Change(p);
  }
}

void openSlotSettings(Program& p, int slot) {
  if (!slotLoaded(p, slot)) return;
  p.sampler.currentSlot = slot;
  closeOtherWindows(p);
  sampcfg_Load(p);
  p.sampler.sampcfg.visible = true;
  p.sampler.sampcfg.touch();
}

void volume_Change(Program& p) {
  const int v = dialog(p).slider("volume").value();
  if (platform::SoundBuffer* b = currentBuffer(p)) b->setVolume(-(v * v));
}

void tempo_MouseUp(Program& p) {
  if (platform::SoundBuffer* b = currentBuffer(p)) b->setFrequency(dialog(p).slider("tempo").value());
}

void scrlangle_Change(Program& p) {
  const double r = dialog(p).slider("scrlangle").value() * kPi / 180;
  const double x = 5 * std::cos(r), z = 5 * std::sin(r);
  DrawPositions(p);
  if (!p.startup.directSoundReady) return;
  platform::SoundBuffer3D* s = spatial(p);
  if (!s) return;
  s->setConeAngles(0, 100);
  s->setConeOutsideVolume(-400);
  applyPosition(p);
  s->setConeOrientation(static_cast<float>(x), 0, static_cast<float>(z));
}

void UpdatePosition(Program& p, double x, double z) {
  const form::Control& pad = dialog(p).label("picDraw");
  p.sampler.sourceOffsetX = static_cast<float>(x - pad.width() / 2);
  p.sampler.sourceOffsetZ = static_cast<float>(z - pad.height() / 2);
  DrawPositions(p);
  applyPosition(p);
}

void picDraw_MouseDown(Program& p, const form::MouseEvent& e) {
  if (e.button != form::MouseButton::Left) return;
  UpdatePosition(p, e.x, e.y);
  p.sampler.padDragging = true;
}

void picDraw_MouseMove(Program& p, const form::MouseEvent& e) {
  if (!p.sampler.padDragging || e.button != form::MouseButton::Left) return;
  const form::Control& pad = dialog(p).label("picDraw");
  if (e.x < 0 || e.y < 0 || e.x > pad.width() || e.y > pad.height()) return;
  UpdatePosition(p, e.x, e.y);
}

void DrawPositions(Program& p) {
  const form::Control& pad = dialog(p).label("picDraw");
  const double cx = basic::CInt(pad.width() / 2), cz = basic::CInt(pad.height() / 2);
  DrawTriangle(p, 0, 0xC0C0C0, cx, cz, 90);
  DrawTriangle(p, 3, 0xE60000, cx + basic::CInt(p.sampler.sourceOffsetX), cz + basic::CInt(p.sampler.sourceOffsetZ),
               dialog(p).slider("scrlangle").value());
}

void keyboad_Click(Program& p) {
  SamplerState& s = p.sampler;
  const std::string& file = s.pendingSampleFile;
  std::array<std::unique_ptr<platform::SoundBuffer>, kSamplerSlots> made;
  platform::SoundResult result = platform::kSoundNoDriver;
  for (auto& b : made) {
    if (!file.empty() && p.ports.sound && p.startup.directSoundReady)
      b = p.ports.sound->createBufferFromFile(file, kindFlags(2), result);
    if (!b) {
      // Every slot keeps its sound: the keyboard is made whole or not at all.
      if (p.ports.dialogs)
        p.ports.dialogs->messageBox({file.empty() ? "音源キーボードにするﾌｧｲﾙがありません。先にｻﾝﾌﾟﾗｰにWAVEﾌｧｲﾙを読み込んでください。"
                                                  : "ファイルを読み込めません。",
                                     "読み込めません", platform::MsgButtons::OK, platform::MsgIcon::Critical});
      return;
    }
  }
  const long t = dialog(p).slider("tempo").value();
  for (int i = 0; i < kSamplerSlots; ++i) {
    long hz = t;
    if (i >= 1 && i <= 6) hz = static_cast<long>(std::floor(static_cast<double>(t) * kScale[i - 1]));
    if (i == 7) hz = 2 * t;
    made[static_cast<size_t>(i)]->setFrequency(std::min(hz, platform::kFrequencyMax));
    s.slotBuffer[static_cast<size_t>(i)] = std::move(made[static_cast<size_t>(i)]);
    s.slotLooping[static_cast<size_t>(i)] = 0;
    p.main.label("Text1", i).setCaption(kNotes[i]);
  }
}

void Command1_Click(Program& p) {
  if (p.main.listBox("lstUse", p.sampler.currentSlot).listCount() > 0) applyEffectChain(p, p.sampler.currentSlot, false);
  p.sampler.sampcfg.visible = false;
  p.sampler.sampcfg.touch();
}

void wireSlotDialog(Program& p) {
  form::Form& d = dialog(p);
  d.slider("volume").events.change = [&p] { volume_Change(p); };
  d.slider("tempo").events.mouseUp = [&p](const form::MouseEvent&) { tempo_MouseUp(p); };
  d.slider("scrlangle").events.change = [&p] { scrlangle_Change(p); };
  d.checkBox("chkLoop", 0).events.click = [&p] {
    p.sampler.slotLoop[static_cast<size_t>(p.sampler.currentSlot)] = dialog(p).checkBox("chkLoop", 0).value();
  };
  d.checkBox("chksilent").events.click = [&p] {
    p.sampler.slotSilencer[static_cast<size_t>(p.sampler.currentSlot)] = dialog(p).checkBox("chksilent").value();
  };
  form::Label& pad = d.label("picDraw");
  pad.events.mouseDown = [&p](const form::MouseEvent& e) { picDraw_MouseDown(p, e); };
  pad.events.mouseMove = [&p](const form::MouseEvent& e) { picDraw_MouseMove(p, e); };
  pad.events.mouseUp = [&p](const form::MouseEvent&) { p.sampler.padDragging = false; };
  d.label("keyboad").events.click = [&p] { keyboad_Click(p); };
  d.label("Command1").events.click = [&p] { Command1_Click(p); };
  for (int k : effectIndexes()) {
    d.checkBox("Check1", k).events.click = [&p, k] { Check1_Click(p, k); };
    d.label("efectcfg", k).events.click = [&p, k] {
      p.sampler.currentEffect = k;
      openEffectDialog(p, p.sampler.currentSlot);
    };
  }
}

}  // namespace vx::sampler
