#pragma once
// The effect picks of a slot (its hidden list `lstUse`), the chain built from them and set on
// the slot's buffer, and the opening of an effect's parameter dialog.
#include <string>
#include <vector>

#include "core/program.h"

namespace vx::sampler {

struct EffectInfo {
  int index;                // of the slot dialog's check box array
  const char* caption;      // "Echo"
  const char* key;          // "echo"
  long code;                // signature code
  const char* classId;      // "GUID_DSFX_STANDARD_ECHO"
  const char* interfaceId;  // "IID_DirectSoundFXEcho"
  const char* form;         // "frmEcho"
  const char* formCaption;  // "エコー設定"
};

// The seven effects by check box index (0..5 and 7); null for index 6 or any other.
const EffectInfo* effectByIndex(int index);
const EffectInfo* effectByKey(const std::string& key);
const std::vector<int>& effectIndexes();
const char* effectCaption(int index);
// An entry's key: the text before its first blank, lower-cased.
std::string entryKey(std::string_view entry);
// The signature of a list: the sum over entries i of (i + the entry's code), unknown keys adding
// nothing.
long chainSignature(const form::ItemList& entries);

// Ticks the boxes of the current slot's listed effects while the slot dialog loads.
void listEffects(Program& p);
// The slot dialog's effect box `k` clicked (ticked or cleared).
void Check1_Click(Program& p, int k);
// Sets the chain of the slot's list on its buffer; true when it is in place.
bool applyEffectChain(Program& p, int slot, bool skipPlayingCheck);
// Opens the parameter dialog of effect `currentEffect` on the slot's buffer.
void openEffectDialog(Program& p, int slot);

}  // namespace vx::sampler
