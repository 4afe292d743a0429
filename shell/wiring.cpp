#include "shell/wiring.h"

#include "decks/deck_controls_wiring.h"
#include "decks/transport_wiring.h"
#include "shell/player_events.h"
#include "shell/startup_wiring.h"
#include "songlist/wiring.h"

namespace vx::shell {

void wireMainForm(Program& p) {
  decks::wireTransport(p);
  decks::wireDeckControls(p);
  shell::wireStartup(p);
  shell::attachPlayerEvents(p);
  songlist::wireSongLists(p);
}

}  // namespace vx::shell
