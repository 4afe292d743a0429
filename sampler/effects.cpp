#include "sampler/effects.h"

#include <algorithm>
#include <cctype>

#include "sampler/effect_dialogs.h"

namespace vx::sampler {

namespace {

const EffectInfo kEffects[] = {
    {0, "Echo", "echo", 32, "GUID_DSFX_STANDARD_ECHO", "IID_DirectSoundFXEcho", "frmEcho", "エコー設定"},
    {1, "Chorus", "chorus", 64, "GUID_DSFX_STANDARD_CHORUS", "IID_DirectSoundFXChorus", "frmChorus", "コーラス設定"},
    {2, "Flanger", "flanger", 128, "GUID_DSFX_STANDARD_FLANGER", "IID_DirectSoundFXFlanger", "frmFlanger", "フランジ設定"},
    {3, "Distortion", "distortion", 16, "GUID_DSFX_STANDARD_DISTORTION", "IID_DirectSoundFXDistortion", "frmDistortion",
     "ディストーション設定"},
    {4, "Compressor", "compressor", 256, "GUID_DSFX_STANDARD_COMPRESSOR", "IID_DirectSoundFXCompressor", "frmCompressor",
     "Compressor 設定"},
    {5, "ParamEQ", "parameq", 1024, "GUID_DSFX_STANDARD_PARAMEQ", "IID_DirectSoundFXParamEq", "frmParamEQ",
     "パラメータイコライザ設定"},
    {7, "Gargle", "gargle", 512, "GUID_DSFX_STANDARD_GARGLE", "IID_DirectSoundFXGargle", "frmGargle", "Ｇａｇｌｅ設定"},
};

// Result code texts of a set chain, by code 0..5.
constexpr const char* kResultTexts[6] = {" - Present", " - Hardware", " - Software", " - Unallocated", " - Failed",
                                         " - Unknown"};

form::ListBox& effectList(Program& p, int slot) { return p.main.listBox("lstUse", slot); }

void info(Program& p, const char* title, const char* text) {
  if (p.ports.dialogs) p.ports.dialogs->messageBox({text, title, platform::MsgButtons::OK, platform::MsgIcon::Information});
}

// Each entry becomes its name and the platform's result for it.
void rewriteEntries(form::ListBox& list, const std::vector<long>& codes) {
  for (int i = 0; i < list.listCount() && i < static_cast<int>(codes.size()); ++i) {
    const long code = codes[static_cast<size_t>(i)];
    if (code < 0 || code > 5) continue;
    const std::string& entry = list.item(i);
    list.setItem(i, entry.substr(0, entry.find(' ')) + kResultTexts[code]);
  }
}

void forgetChain(SamplerState& s, int slot) {
  s.appliedChainSignature[static_cast<size_t>(slot)] = 0;
  s.appliedChain[static_cast<size_t>(slot)].clear();
}

void clearBox(Program& p, int k) {
  SamplerState& s = p.sampler;
  const int slot = s.currentSlot;
  platform::SoundBuffer* buffer = s.slotBuffer[static_cast<size_t>(slot)].get();
  if (buffer && (buffer->status() & platform::kStatusPlaying)) {
    info(p, "ＷＡＶＥを再生中です。", "エフェクトを解除する前に再生を止めてください。");
    return;
  }
  s.sampcfg.label("efectcfg", k).setEnabled(false);
  form::ListBox& list = effectList(p, slot);
  if (list.listCount() == 0) {
    forgetChain(s, slot);
    return;
  }
  const EffectInfo* effect = effectByIndex(k);
  for (int i = 0; i < list.listCount(); ++i) {
    if (effect && entryKey(list.item(i)) == effect->key) {
      list.removeItem(i);
      return;
    }
  }
  forgetChain(s, slot);
}

}  // namespace

const EffectInfo* effectByIndex(int index) {
  for (const EffectInfo& e : kEffects)
    if (e.index == index) return &e;
  return nullptr;
}

const EffectInfo* effectByKey(const std::string& key) {
  for (const EffectInfo& e : kEffects)
    if (key == e.key) return &e;
  return nullptr;
}

const std::vector<int>& effectIndexes() {
  static const std::vector<int> indexes{0, 1, 2, 3, 4, 5, 7};
  return indexes;
}

const char* effectCaption(int index) {
  const EffectInfo* e = effectByIndex(index);
  return e ? e->caption : "";
}

std::string entryKey(std::string_view entry) {
  std::string key(entry.substr(0, entry.find(' ')));
  std::transform(key.begin(), key.end(), key.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return key;
}

long chainSignature(const form::ItemList& entries) {
  long sum = 0;
  for (size_t i = 0; i < entries.size(); ++i)
    if (const EffectInfo* e = effectByKey(entryKey(entries[i]))) sum += static_cast<long>(i) + e->code;
  return sum;
}

void listEffects(Program& p) {
  SamplerState& s = p.sampler;
  s.effectsListed = false;
  for (int k : effectIndexes()) {
    s.sampcfg.checkBox("Check1", k).setValue(0);
    s.sampcfg.label("efectcfg", k).setEnabled(false);
  }
  for (const std::string_view entry : effectList(p, s.currentSlot).items()) {
    if (const EffectInfo* e = effectByKey(entryKey(entry))) {
      s.sampcfg.checkBox("Check1", e->index).setValue(1);
      Check1_Click(p, e->index);
    }
  }
  s.effectsListed = true;
}

void Check1_Click(Program& p, int k) {
  SamplerState& s = p.sampler;
  if (s.sampcfg.checkBox("Check1", k).value() == 0) {
    clearBox(p, k);
    return;
  }
  s.sampcfg.label("efectcfg", k).setEnabled(true);
  if (s.effectsListed)
    if (const EffectInfo* e = effectByIndex(k)) effectList(p, s.currentSlot).addItem(std::string(e->caption) + " (Unallocated)");
}

bool applyEffectChain(Program& p, int slot, bool skipPlayingCheck) {
  SamplerState& s = p.sampler;
  platform::SoundBuffer* buffer = s.slotBuffer[static_cast<size_t>(slot)].get();
  if (!buffer) {
    info(p, "バッファがありません。", "エフェクトを選択する前にＷａｖｅファイルを選択してください。");
    return false;
  }
  if (!skipPlayingCheck && (buffer->status() & platform::kStatusPlaying)) {
    info(p, "再生中です。", "エフェクトを選択する前に再生を止めてください。");
    return false;
  }
  form::ListBox& list = effectList(p, slot);
  if (list.listCount() == 0) {
    platform::MsgResult answer =
        p.ports.dialogs ? p.ports.dialogs->messageBox({"エフェクトを消しますか?", "エフェクトなし", platform::MsgButtons::YesNo,
                                                       platform::MsgIcon::Question})
                        : platform::MsgResult::No;
    if (answer == platform::MsgResult::Yes) buffer->setEffects({}, nullptr);
    else info(p, "エフェクトがありません。", "エフェクトを選んでください。");
    return false;
  }
  std::vector<std::string> classes;
  for (const std::string_view entry : list.items()) {
    const EffectInfo* e = effectByKey(entryKey(entry));
    classes.push_back(e ? e->classId : "");
  }
  const long signature = chainSignature(list.items());
  long& applied = s.appliedChainSignature[static_cast<size_t>(slot)];
  // The sum does not see the order (Chorus, Echo sums as Echo, Chorus does), so the classes
  // themselves are compared too.
  std::vector<std::string>& appliedClasses = s.appliedChain[static_cast<size_t>(slot)];
  if (signature != applied || classes != appliedClasses) {
    std::vector<long> codes;
    platform::SoundResult result = buffer->setEffects(classes, &codes);
    if (result == platform::kSoundInvalidCall) {
      info(p, "再生中です。", "エフェクトを選択する前に再生を止めてください。");
      return false;
    }
    if (result != platform::kSoundOk && result != platform::kSoundIncomplete) {
      // Refused as a whole: the list and the signature stay as they were.
      if (p.ports.dialogs)
        p.ports.dialogs->messageBox({"このサンプラーにはエフェクトをかけられません。EFFECTER MODEで読み込み直してください。",
                                     "エフェクトを設定できません", platform::MsgButtons::OK, platform::MsgIcon::Critical});
      return false;
    }
    rewriteEntries(list, codes);
  }
  applied = signature;
  appliedClasses = classes;
  return true;
}

void openEffectDialog(Program& p, int slot) {
  if (!applyEffectChain(p, slot, true)) return;
  platform::SoundBuffer* buffer = p.sampler.slotBuffer[static_cast<size_t>(slot)].get();
  const EffectInfo* effect = effectByIndex(p.sampler.currentEffect);
  if (!buffer || !effect) return;
  for (const std::string_view entry : effectList(p, slot).items()) {
    if (entryKey(entry) != effect->key) continue;
    showEffectDialog(p, effect->index, slot);
    return;
  }
}

}  // namespace vx::sampler
