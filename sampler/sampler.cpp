#include "sampler/sampler.h"

#include "sampler/effect_dialogs.h"
#include "sampler/slot_dialog.h"
#include "sampler/slots.h"

namespace vx::sampler {

void wireSampler(Program& p) {
  SamplerState& s = p.sampler;
  if (!s.selectmode.find("Label1", 0)) {
    buildSelectMode(s.selectmode);
    buildSlotDialog(s.sampcfg);
    buildEffectDialogs(s);
  }
  for (int slot = 0; slot < kSamplerSlots; ++slot) {
    form::Label& label = p.main.label("Text1", slot);
    label.events.mouseDown = [&p, slot](const form::MouseEvent& e) {
      if (e.button == form::MouseButton::Right) Text1_RightDown(p, slot);
      else loadSlotFromDialog(p, slot);
    };
    label.events.dragDrop = [&p, slot](const std::vector<std::string>& paths, int) { Text1_OLEDragDrop(p, slot, paths); };
    p.main.menu("s", slot).events.click = [&p, slot] { loadSlotFromDialog(p, slot); };
  }
  p.main.menu("clssamp").events.click = [&p] { clssamp_Click(p); };
  for (int i = 0; i < 2; ++i) s.selectmode.label("Label1", i).events.click = [&p, i] { selectmode_Label1_Click(p, i); };
  wireSlotDialog(p);
  wireEffectDialogs(p);
}

}  // namespace vx::sampler
