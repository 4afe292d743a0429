#pragma once
// What each control of the configuration dialog writes.
#include <optional>
#include <string_view>

#include "core/program.h"

namespace vx::config {

// The number at the start of a switching-time text as the dialog reads it: leading blanks
// skipped, reading stops at the first character that cannot continue the number, no number
// gives 0.
double leadingNumber(std::string_view text);

// Pattern button i: the sliders, the time and the graph show pattern i, which "記憶" writes.
void patern_Click(Program& p, int i);
// "記憶": the four curve points and the switching time into the dialog's pattern. A time below 1
// becomes 100 and one above 32767 is refused (the old time stays), each after "値が不正です。";
// the box then shows the time that holds.
void fdrec_Click(Program& p);
void chkmonitor_Click(Program& p);
void List1_Click(Program& p);
void sampoff_Click(Program& p);
void Command1_Click(Program& p, int slot);

void wireConfigHandlers(Program& p);

}  // namespace vx::config
