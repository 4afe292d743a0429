#include "sampler/effect_dialogs.h"

#include <cmath>
#include <functional>

#include "sampler/effects.h"

namespace vx::sampler {

namespace {

using platform::EffectParameters;

// One slider: its control, label and the record field it shows.
struct SliderSpec {
  const char* name;
  const char* label;
  int lo, hi, small, large, ticks;
  std::function<float(const EffectParameters&)> get;
  std::function<void(EffectParameters&, float)> set;
};

// An option group or check box that sets a whole-number field.
struct ChoiceSpec {
  const char* frame;  // the group's caption ("" for a check box)
  std::vector<std::pair<const char*, const char*>> buttons;  // control name, caption
  std::vector<long> values;                                 // the field's value of each button
  std::function<long(const EffectParameters&)> get;
  std::function<void(EffectParameters&, long)> set;
};

struct DialogSpec {
  platform::EffectKind kind;
  std::vector<SliderSpec> sliders;
  ChoiceSpec choice;
};

template <class R, class F>
std::function<float(const EffectParameters&)> getter(F R::*field) {
  return [field](const EffectParameters& p) { return static_cast<float>(std::get<R>(p).*field); };
}
template <class R, class F>
std::function<void(EffectParameters&, float)> setter(F R::*field) {
  return [field](EffectParameters& p, float v) { std::get<R>(p).*field = static_cast<F>(v); };
}
#define FIELD(R, f) getter<R>(&R::f), setter<R>(&R::f)

template <class R>
ChoiceSpec modulationChoice(const char* triangle) {
  return {"Wave 形式",
          {{"optSin", "サイン波"}, {"optTriangle", triangle}},
          {platform::kWaveSine, platform::kWaveTriangle},
          [](const EffectParameters& p) { return std::get<R>(p).lWaveform; },
          [](EffectParameters& p, long v) { std::get<R>(p).lWaveform = v; }};
}

template <class R>
std::vector<SliderSpec> modulationSliders(int maxDelay, int delayLarge, int delayTicks, const char* depthLabel) {
  using M = platform::ModulationParameters;
  auto get = [](auto field) {
    return [field](const EffectParameters& p) { return static_cast<float>(static_cast<const M&>(std::get<R>(p)).*field); };
  };
  auto set = [](auto field) {
    return [field](EffectParameters& p, float v) {
      static_cast<M&>(std::get<R>(p)).*field = static_cast<std::remove_reference_t<decltype(std::declval<M>().*field)>>(v);
    };
  };
  return {{"sldFeedback", "フィードバック(FeedBack)", -99, 99, 1, 10, 10, get(&M::fFeedback), set(&M::fFeedback)},
          {"sldDelay", "ディレイ(Delay)", 0, maxDelay, 1, delayLarge, delayTicks, get(&M::fDelay), set(&M::fDelay)},
          {"sldDepth", depthLabel, 0, 100, 1, 5, 10, get(&M::fDepth), set(&M::fDepth)},
          {"sldWetDry", "ウェット/ドライ(Wet Dry Mix)", 0, 100, 5, 10, 10, get(&M::fWetDryMix), set(&M::fWetDryMix)},
          {"sldFreq", "周波数(Frequency)", 0, 10, 1, 5, 2, get(&M::fFrequency), set(&M::fFrequency)},
          {"sldPhase", "フェイズ(Phase)", 0, 4, 1, 2, 1, get(&M::lPhase), set(&M::lPhase)}};
}

const DialogSpec& specOf(int k) {
  using namespace platform;
  static const std::map<int, DialogSpec> specs = [] {
    std::map<int, DialogSpec> m;
    m[0] = {EffectKind::Echo,
            {{"sldFeedback", "フィードバック(FeedBack)", 0, 100, 1, 10, 10, FIELD(EchoParameters, fFeedback)},
             {"sldLeft", "左ディレイ(LeftDelay)", 1, 2000, 10, 100, 100, FIELD(EchoParameters, fLeftDelay)},
             {"sldRight", "右ディレイ(RightDelay)", 1, 2000, 10, 100, 100, FIELD(EchoParameters, fRightDelay)},
             {"sldWetDry", "ウェット/ドライ(Wet Dry Mix)", 0, 100, 5, 10, 10, FIELD(EchoParameters, fWetDryMix)}},
            {"",
             {{"chkPan", "パンのディレイをＭＡＸ"}},
             {1},
             [](const EffectParameters& p) { return std::get<EchoParameters>(p).lPanDelay; },
             [](EffectParameters& p, long v) { std::get<EchoParameters>(p).lPanDelay = v; }}};
    m[1] = {EffectKind::Chorus, modulationSliders<ChorusParameters>(20, 5, 2, "深さ（ｄｅｐｔｈ）"),
            modulationChoice<ChorusParameters>("三角波")};
    m[2] = {EffectKind::Flanger, modulationSliders<FlangerParameters>(4, 2, 1, "深さ（Depth）"),
            modulationChoice<FlangerParameters>("トライアングル")};
    m[3] = {EffectKind::Distortion,
            {{"sldEdge", "エッジ(Edge)", 0, 100, 1, 10, 5, FIELD(DistortionParameters, fEdge)},
             {"sldGain", "ゲイン(Gain)", -60, 0, 1, 10, 5, FIELD(DistortionParameters, fGain)},
             {"sldPostEQBand", "バンド", 100, 8000, 100, 500, 500, FIELD(DistortionParameters, fPostEQBandwidth)},
             {"sldPostEQCenter", "センターバンド", 100, 8000, 100, 500, 500,
              FIELD(DistortionParameters, fPostEQCenterFrequency)},
             {"sldPreLow", "ローパス(Prelow Pass Cutoff)", 100, 8000, 100, 500, 500,
              FIELD(DistortionParameters, fPreLowpassCutoff)}},
            {}};
    m[4] = {EffectKind::Compressor,
            {{"sldAttack", "アタック(Attack)", 1, 500, 5, 10, 33, FIELD(CompressorParameters, fAttack)},
             {"sldOutputGain", "ゲイン(Gain)", -60, 60, 2, 10, 10, FIELD(CompressorParameters, fGain)},
             {"sldDelay", "ディレイ(Pre-Delay)", 0, 4, 1, 1, 1, FIELD(CompressorParameters, fPredelay)},
             {"sldRatio", "レイシオ（Ratio）", 1, 100, 1, 10, 10, FIELD(CompressorParameters, fRatio)},
             {"sldRelease", "リリース（Release）", 50, 3000, 5, 10, 100, FIELD(CompressorParameters, fRelease)},
             {"sldThreshold", "開始点（Threshold）", -60, 0, 1, 10, 5, FIELD(CompressorParameters, fThreshold)}},
            {}};
    m[5] = {EffectKind::ParamEq,
            {{"sldBand", "バンド（Bandwidth）", 1, 36, 1, 4, 4, FIELD(ParamEqParameters, fBandwidth)},
             {"sldCenter", "センター（Center ）", 80, 16000, 100, 500, 1000, FIELD(ParamEqParameters, fCenter)},
             {"sldGain", "ゲイン（Gain）", -15, 15, 1, 5, 2, FIELD(ParamEqParameters, fGain)}},
            {}};
    m[7] = {EffectKind::Gargle,
            {{"sldRate", " Hz", 1, 1000, 10, 100, 100, FIELD(GargleParameters, lRateHz)}},
            {"Wave 形式",
             {{"optTriangle", "三角波"}, {"optSquare", "方形波"}},
             {kWaveTriangle, kWaveSquare},
             [](const EffectParameters& p) { return std::get<GargleParameters>(p).lWaveShape; },
             [](EffectParameters& p, long v) { std::get<GargleParameters>(p).lWaveShape = v; }}};
    return m;
  }();
  return specs.at(k);
}

constexpr double kRowHeight = 720, kWidth = 4200;

void buildDialog(form::Form& f, int k) {
  const DialogSpec& spec = specOf(k);
  f.caption = effectByIndex(k)->formCaption;
  double top = 120;
  for (const SliderSpec& s : spec.sliders) {
    auto& label = f.add<form::Label>(std::string("lbl") + (s.name + 3));
    label.move(120, top, 3840, 240);
    label.setCaption(s.label);
    auto& slider = f.add<form::Slider>(s.name);
    slider.move(120, top + 240, 3840, 420);
    slider.min = s.lo;
    slider.max = s.hi;
    slider.smallChange = s.small;
    slider.largeChange = s.large;
    slider.tickFrequency = s.ticks;
    top += kRowHeight;
  }
  const ChoiceSpec& c = spec.choice;
  if (!c.buttons.empty()) {
    if (c.frame[0]) {
      auto& frame = f.add<form::Label>("Frame1");
      frame.move(120, top, 3840, 660);
      frame.setCaption(c.frame);
      for (size_t i = 0; i < c.buttons.size(); ++i) {
        auto& o = f.add<form::OptionButton>(c.buttons[i].first);
        o.move(120 + 1800 * static_cast<double>(i), 300, 1680, 300);
        o.setCaption(c.buttons[i].second);
        o.setContainer("Frame1");
      }
      top += 780;
    } else {
      auto& check = f.add<form::CheckBox>(c.buttons[0].first);
      check.move(120, top, 3840, 300);
      check.setCaption(c.buttons[0].second);
      top += 420;
    }
  }
  auto& ok = f.add<form::Label>("cmdOK");
  ok.move(kWidth - 1320, top, 1080, 420);
  ok.setCaption("OK");
  f.width = kWidth;
  f.height = top + 600;
}

// The effect the dialog works on, fetched anew each time: null when its slot holds another
// buffer by now or the chain no longer has the effect.
platform::SoundEffect* dialogEffect(Program& p, int k) {
  SamplerState& s = p.sampler;
  platform::SoundBuffer* buffer = s.effectDialogBuffer[static_cast<size_t>(k)];
  if (!buffer || s.slotBuffer[static_cast<size_t>(s.effectDialogSlot[static_cast<size_t>(k)])].get() != buffer)
    return nullptr;
  const EffectInfo* e = effectByIndex(k);
  return buffer->effect(e->classId, 0, e->interfaceId);
}

// Sets a control's value as the classic control does, raising its event when the value changes.
void setSlider(Program& p, int k, form::Slider& slider, int v) {
  if (slider.value() == v) return;
  slider.setValue(v);
  applyParameters(p, k);
}

}  // namespace

form::Form& effectForm(SamplerState& s, int k) {
  form::Form* forms[8] = {&s.frmEcho, &s.frmChorus, &s.frmFlanger, &s.frmDistortion,
                          &s.frmCompressor, &s.frmParamEQ, nullptr, &s.frmGargle};
  return *forms[k == 6 ? 0 : k & 7];
}

void buildEffectDialogs(SamplerState& s) {
  for (int k : effectIndexes()) buildDialog(effectForm(s, k), k);
}

void applyParameters(Program& p, int k) {
  platform::SoundEffect* effect = dialogEffect(p, k);
  if (!effect) return;
  const DialogSpec& spec = specOf(k);
  form::Form& f = effectForm(p.sampler, k);
  EffectParameters record = platform::defaultParameters(spec.kind);
  for (const SliderSpec& s : spec.sliders) s.set(record, static_cast<float>(f.slider(s.name).value()));
  const ChoiceSpec& c = spec.choice;
  if (!c.buttons.empty()) {
    long value = 0;  // neither button set
    for (size_t i = 0; i < c.buttons.size(); ++i) {
      form::Control* control = f.find(c.buttons[i].first);
      bool on = false;
      if (auto* o = dynamic_cast<form::OptionButton*>(control)) on = o->value();
      if (auto* box = dynamic_cast<form::CheckBox*>(control)) on = box->value() == 1;
      if (on) value = c.values[i];
    }
    c.set(record, value);
  }
  effect->setParameters(record);
}

void showEffectDialog(Program& p, int k, int slot) {
  SamplerState& s = p.sampler;
  s.effectDialogSlot[static_cast<size_t>(k)] = slot;
  s.effectDialogBuffer[static_cast<size_t>(k)] = s.slotBuffer[static_cast<size_t>(slot)].get();
  platform::SoundEffect* effect = dialogEffect(p, k);
  if (!effect) return;
  const EffectParameters record = effect->parameters();
  const DialogSpec& spec = specOf(k);
  form::Form& f = effectForm(s, k);
  for (const SliderSpec& sl : spec.sliders)
    setSlider(p, k, f.slider(sl.name), static_cast<int>(std::nearbyint(sl.get(record))));
  const ChoiceSpec& c = spec.choice;
  const long value = c.buttons.empty() ? 0 : c.get(record);
  for (size_t i = 0; i < c.buttons.size(); ++i) {
    form::Control* control = f.find(c.buttons[i].first);
    const bool on = value == c.values[i];
    if (auto* o = dynamic_cast<form::OptionButton*>(control)) o->setValue(on);
    if (auto* box = dynamic_cast<form::CheckBox*>(control)) box->setValue(on ? 1 : 0);
  }
  applyParameters(p, k);
  f.visible = true;
  f.touch();
}

void wireEffectDialogs(Program& p) {
  for (int k : effectIndexes()) {
    form::Form& f = effectForm(p.sampler, k);
    const DialogSpec& spec = specOf(k);
    for (const SliderSpec& s : spec.sliders) f.slider(s.name).events.change = [&p, k] { applyParameters(p, k); };
    for (const auto& button : spec.choice.buttons) f.find(button.first)->events.click = [&p, k] { applyParameters(p, k); };
    f.label("cmdOK").events.click = [&p, k, &f] {
      applyParameters(p, k);
      f.visible = false;
      f.touch();
    };
  }
}

}  // namespace vx::sampler
