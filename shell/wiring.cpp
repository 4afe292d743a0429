#include "shell/wiring.h"

#include "config/config.h"
#include "cues/cues_wiring.h"
#include "decks/deck_controls_wiring.h"
#include "decks/keylock.h"
#include "decks/transport_wiring.h"
#include "djpanel/dj_panel.h"
#include "keys/keys.h"
#include "mixer/mixer_wiring.h"
#include "play/play_wiring.h"
#include "recorder/recorder_window.h"
#include "sampler/sampler.h"
#include "shell/player_events.h"
#include "shell/shutdown.h"
#include "shell/startup_wiring.h"
#include "songlist/wiring.h"
#include "ui/skin_buttons.h"
#include "ui/window_wiring.h"

namespace vx::shell {

void wireMainForm(Program& p) {
  decks::wireTransport(p);
  decks::wireDeckControls(p);
  decks::wireKeyLock(p);
  mixer::wireMixer(p);
  shell::wireStartup(p);
  shell::attachPlayerEvents(p);
  shell::wireShutdown(p);
  keys::wireKeys(p);
  config::wireConfig(p);
  sampler::wireSampler(p);
  songlist::wireSongLists(p);
  recorder::wireRecorder(p);
  play::wirePlay(p);
  djpanel::wireDjPanel(p);
  cues::wireCues(p);
  ui::wireWindowModes(p);
  // Keep last: the press pictures chain onto the buttons' own handlers attached above.
  ui::wireSkinButtons(p);
}

}  // namespace vx::shell
