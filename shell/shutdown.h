#pragma once
// Ending the program: the close button (and the desktop's close) asks whether to keep the
// state; the menu command `end` ends at once without writing anything.
#include "core/program.h"

namespace vx::shell {

// "現在の状態を保存しますか？": Yes writes the settings and ends, No ends without writing,
// Cancel (or a failed write) leaves the program running.
void Formend_Click(Program& p);

// Ends without writing the settings: other windows closed, the sampler and the monitor
// library released.
void endWithoutSaving(Program& p);

// The close button, the desktop's close request and the menu command `end`.
void wireShutdown(Program& p);

}  // namespace vx::shell
