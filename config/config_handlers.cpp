#include "config/config_handlers.h"

#include <string>

#include "basic/convert.h"
#include "config/config.h"
#include "config/curve_graph.h"
#include "config/volume_control.h"
#include "mixer/volume_law.h"
#include "sampler/sampler.h"
#include "songlist/list_block.h"
#include "recorder/other_windows.h"
#include "ui/window_modes.h"

namespace vx::config {

namespace {

constexpr int kTimeWhenInvalid = 100;
constexpr int kTimeMax = 32767;

form::Slider& curveSlider(Program& p, int k) { return p.config.slider("fdSlider" + std::to_string(k)); }

void invalidValue(Program& p) {
  if (p.ports.dialogs) p.ports.dialogs->messageBox({"値が不正です。", "", platform::MsgButtons::OK, platform::MsgIcon::None});
}

// After a refused entry the box shows the time that holds.
void showTime(Program& p, int time) { p.config.textBox("Text1").setText(std::to_string(time)); }

// The options of one control array form one group.
void selectInGroup(Program& p, const char* name, int index) {
  for (int i = 0; i < 3; ++i)
    if (auto* o = p.config.findAs<form::OptionButton>(name, i)) o->setValue(i == index);
}

void onOption(Program& p, const char* name, int count, void (*apply)(Program&, int)) {
  for (int i = 0; i < count; ++i)
    p.config.option(name, i).events.click = [&p, name, i, apply] {
      selectInGroup(p, name, i);
      apply(p, i);
    };
}

void wireSliders(Program& p) {
  form::Form& f = p.config;
  f.slider("gyap").events.change = [&p] { p.settings.gapTime = p.config.slider("gyap").value(); };
  f.slider("slsarch").events.change = [&p] { p.settings.stutterInterval = p.config.slider("slsarch").value(); };
  f.slider("strim").events.change = [&p] { p.settings.initialTrim = p.config.slider("strim").value(); };
  for (int k = 0; k < 4; ++k) curveSlider(p, k).events.change = [&p, k] { fdSlider_Scroll(p, k); };
}

void wireChecks(Program& p) {
  form::Form& f = p.config;
  f.checkBox("chkmonitor").events.click = [&p] { chkmonitor_Click(p); };
  f.checkBox("sampoff").events.click = [&p] { sampoff_Click(p); };
  f.checkBox("autorecstart").events.click = [&p] {
    p.recorder.autoRecordStart = p.config.checkBox("autorecstart").value() == 1;
  };
  f.checkBox("cueswitch").events.click = [&p] { p.settings.playOnSwitch = p.config.checkBox("cueswitch").value() == 1; };
}

void wireOptions(Program& p) {
  onOption(p, "stereo", 2, [](Program& q, int i) { q.recorder.recordMono = i == 0; });
  onOption(p, "bit", 2, [](Program& q, int i) { q.recorder.recordBits = i == 0; });
  onOption(p, "bitrate", 3, [](Program& q, int i) { q.recorder.recordRate = 2 - i; });
  onOption(p, "patern", 3, patern_Click);
}

}  // namespace

double leadingNumber(std::string_view text) {
  const size_t start = text.find_first_not_of(" \t");
  if (start == std::string_view::npos) return 0;
  text.remove_prefix(start);
  size_t end = text.find_first_not_of("+-0123456789.eEdD");
  if (end == std::string_view::npos) end = text.size();
  // The longest start that is a number: "12.5ms" -> 12.5, "3e" -> 3.
  for (; end > 0; --end)
    if (songlist::isNumberText(text.substr(0, end))) return basic::Val(text.substr(0, end));
  return 0;
}

void patern_Click(Program& p, int i) {
  p.configPattern = i;
  for (int k = 0; k < 4; ++k) curveSlider(p, k).setValue(p.settings.faderCurve[static_cast<size_t>(i + 3 * k)]);
  p.config.textBox("Text1").setText(std::to_string(p.settings.faderTime[static_cast<size_t>(i)]));
  linedraw(p);
}

void fdrec_Click(Program& p) {
  const int pattern = p.configPattern;
  for (int k = 0; k < 4; ++k) p.settings.faderCurve[static_cast<size_t>(pattern + 3 * k)] = curveSlider(p, k).value();
  int& time = p.settings.faderTime[static_cast<size_t>(pattern)];
  const double entered = leadingNumber(p.config.textBox("Text1").text());
  if (entered >= kTimeMax + 0.5) {
    invalidValue(p);
    showTime(p, time);
  } else {
    time = basic::CInt(entered < -32768 ? 0 : entered);
    if (time < 1) {
      invalidValue(p);
      time = kTimeWhenInvalid;
      showTime(p, time);
    }
  }
  mixer::volcontrol(p);
}

void chkmonitor_Click(Program& p) {
  platform::MonitorLibrary* monitor = p.ports.monitor;
  if (p.config.checkBox("chkmonitor").value() == 1) {
    if (p.monitor.monitorOn && monitor) {
      monitor->stop();
      monitor->free();
    }
    p.monitor.monitorOn = false;
    return;
  }
  if (monitor) {
    monitor->init();
    monitor->setFftWindow(0);
    monitor->setWaveOutDeviceId(p.settings.monitorDevice);
  }
  p.monitor.monitorOn = true;
}

void List1_Click(Program& p) {
  const int device = p.config.listBox("List1").listIndex();
  if (device < 0) return;
  if (p.ports.monitor) p.ports.monitor->setWaveOutDeviceId(device);
  p.settings.monitorDevice = device;
  p.config.label("Label11").setCaption(monitorDeviceLabel(p));
}

void sampoff_Click(Program& p) {
  if (p.config.checkBox("sampoff").value() == 1) {
    p.settings.samplerEnabled = false;
    p.settings.samplerShown = false;
    ui::layoutWindow(p);
  } else {
    p.settings.samplerEnabled = true;
  }
}

void Command1_Click(Program& p, int slot) {
  if (!sampler::slotLoaded(p, slot)) return;
  recorder::unloadOtherWindows(p);
  sampler::openSlotSettings(p, slot);
}

void wireConfigHandlers(Program& p) {
  wireSliders(p);
  wireChecks(p);
  wireOptions(p);
  form::Form& f = p.config;
  f.label("fdrec").events.click = [&p] { fdrec_Click(p); };
  f.listBox("List1").events.click = [&p] { List1_Click(p); };
  f.label("startvolcon").events.click = [&p] { startVolumeControl(p); };
  for (int i = 0; i < 8; ++i) f.label("Command1", i).events.click = [&p, i] { Command1_Click(p, i); };
}

}  // namespace vx::config
