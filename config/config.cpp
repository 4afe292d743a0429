#include "config/config.h"

#include "config/config_handlers.h"
#include "config/config_layout.h"
#include "config/curve_graph.h"
#include "form/layout.h"

namespace vx::config {

namespace {

constexpr const char* kSlotCaptions[8] = {"１", "２", "３", "４", "５", "６", "７", "８"};
constexpr const char* kDefaultDevice = "既定のデバイス";

void setRanges(form::Form& f) {
  f.slider("gyap").max = 100;
  f.slider("strim").max = 40;
  f.slider("slsarch").max = 10;
  for (int k = 0; k < 4; ++k) f.slider("fdSlider" + std::to_string(k)).max = 500;
}

// The curve sliders start at the layout's values, the curve of pattern A.
void setCurveLayoutValues(form::Form& f) {
  const int values[4] = {500, 500, 0, 0};
  for (int k = 0; k < 4; ++k) f.slider("fdSlider" + std::to_string(k)).setValue(values[k]);
}

void ensureBuilt(Program& p) {
  if (!p.config.find("gyap")) buildConfig(p.config);
}

void selectOption(Program& p, const char* name, int index) {
  for (int i = 0; i < 3; ++i)
    if (auto* o = p.config.findAs<form::OptionButton>(name, i)) o->setValue(i == index);
}

void fillDevices(Program& p) {
  form::ListBox& list = p.config.listBox("List1");
  list.setItems(p.ports.waveOut ? p.ports.waveOut->deviceNames() : std::vector<std::string>{}, -1);
  p.config.label("Label11").setCaption(monitorDeviceLabel(p));
}

// The dialog's state from the settings, in the classic load order. The curve sliders keep the
// values they have until a pattern button is pressed.
void loadConfig(Program& p) {
  form::Form& f = p.config;
  p.configPattern = 0;
  selectOption(p, "patern", 0);
  f.textBox("Text1").setText(std::to_string(p.settings.faderTime[0]));
  f.slider("slsarch").setValue(p.settings.stutterInterval);
  f.slider("strim").setValue(p.settings.initialTrim);
  f.slider("gyap").setValue(p.settings.gapTime);
  selectOption(p, "bit", p.recorder.recordBits ? 0 : 1);
  selectOption(p, "stereo", p.recorder.recordMono ? 0 : 1);
  selectOption(p, "bitrate", 2 - p.recorder.recordRate);
  f.checkBox("autorecstart").setValue(p.recorder.autoRecordStart ? 1 : 0);
  f.checkBox("cueswitch").setValue(p.settings.playOnSwitch ? 1 : 0);
  f.checkBox("sampoff").setValue(p.settings.samplerEnabled ? 0 : 1);
  f.checkBox("chkmonitor").setValue(p.monitor.monitorOn ? 0 : 1);
  fillDevices(p);
}

}  // namespace

void buildConfig(form::Form& f) {
  form::loadLayout(f, kConfigLayout);
  f.caption = "Velvoxの設定";
  f.width = kConfigWidth;
  f.height = kConfigHeight;
  setRanges(f);
  setCurveLayoutValues(f);
}

std::string monitorDeviceLabel(const Program& p) {
  const form::ListBox* list = p.config.findAs<form::ListBox>("List1");
  const int device = p.settings.monitorDevice;
  if (!list || device < 0 || device >= list->listCount()) return kDefaultDevice;
  return list->item(device);
}

void openConfig(Program& p) {
  ensureBuilt(p);
  if (!p.config.visible) {
    setCurveLayoutValues(p.config);
    linedraw(p);
    loadConfig(p);
  }
  p.config.visible = true;
  p.config.touch();
}

void resetSlotButtons(Program& p) {
  ensureBuilt(p);
  for (int i = 0; i < 8; ++i) {
    form::Label& button = p.config.label("Command1", i);
    button.setCaption(kSlotCaptions[i]);
    button.setEnabled(false);
  }
}

void wireConfig(Program& p) {
  ensureBuilt(p);
  linedraw(p);
  p.main.menu("setting").events.click = [&p] { openConfig(p); };
  wireConfigHandlers(p);
}

}  // namespace vx::config
