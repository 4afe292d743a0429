#include "core/titled_dialogs.h"

namespace vx {

platform::MsgResult TitledDialogs::messageBox(const platform::MessageBoxSpec& spec) {
  if (!spec.title.empty()) return inner_.messageBox(spec);
  platform::MessageBoxSpec titled = spec;
  titled.title = kProgramName;
  return inner_.messageBox(titled);
}

}  // namespace vx
