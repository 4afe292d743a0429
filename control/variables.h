#pragma once
// Program variables by name, for `@name` and `@name(index)` items.
#include <string>
#include <vector>

#include "core/program.h"
#include "script/value.h"

namespace vx::control {

using namespace vx::script;  // NOLINT: the layer speaks the script language's words

// The variable's value; index is -1 when the item has none. ScriptError for an unknown name,
// a missing, unexpected or out-of-range index.
Value readVariable(const Program& p, const std::string& name, int index);

// Every name the table knows, for messages and tests.
std::vector<std::string> variableNames();

}  // namespace vx::control
