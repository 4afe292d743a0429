#pragma once
// The sampler's slots (sound, options, the effect chain last set) and its windows: the mode
// choice, the slot dialog and the seven effect dialogs. Slot kind and path live in Settings.
#include <array>
#include <memory>
#include <string>
#include <vector>

#include "form/form.h"
#include "platform/sound_device.h"

namespace vx {

constexpr int kSamplerSlots = 8;
// Effect dialogs by the slot dialog's effect index (index 6 is unused).
constexpr int kEffectIndexes = 8;

struct SamplerState {
  std::array<std::unique_ptr<platform::SoundBuffer>, kSamplerSlots> slotBuffer;
  std::array<int, kSamplerSlots> slotLoop{};      // 1 = the trigger plays looped
  std::array<int, kSamplerSlots> slotSilencer{};  // 1 = the decks are muted while the key is held
  std::array<int, kSamplerSlots> slotLooping{};   // -1 while a looped play started by a trigger runs
  int currentSlot = 0;
  std::string pendingSampleFile;
  // The slot's path, kind and label before the pending file took its place: a file whose buffer
  // cannot be made gives them back, so the settings never name a sound the next start cannot load.
  std::string replacedPath;
  int replacedKind = 0;
  std::string replacedLabel;
  // The signature of the chain last set, one per slot: a list on one slot is never taken as
  // already set because another slot's chain had the same signature.
  std::array<long, kSamplerSlots> appliedChainSignature{};
  std::array<std::vector<std::string>, kSamplerSlots> appliedChain;  // its effect classes, in order
  int currentEffect = 0;
  // Slot dialog.
  bool effectsListed = false;
  bool padDragging = false;
  float sourceOffsetX = 0, sourceOffsetZ = 0;
  // Each open effect dialog's slot and the buffer whose effect it works on (null: none).
  std::array<int, kEffectIndexes> effectDialogSlot{};
  std::array<platform::SoundBuffer*, kEffectIndexes> effectDialogBuffer{};

  form::Form selectmode{"selectmode"};
  form::Form sampcfg{"sampcfg"};
  form::Form frmEcho{"frmEcho"}, frmChorus{"frmChorus"}, frmFlanger{"frmFlanger"}, frmDistortion{"frmDistortion"},
      frmCompressor{"frmCompressor"}, frmParamEQ{"frmParamEQ"}, frmGargle{"frmGargle"};
};

}  // namespace vx
