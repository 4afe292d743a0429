#pragma once
// The commands that act on controls: they raise the events the window would raise.
#include <string>

#include "core/program.h"
#include "script/script.h"

namespace vx::control {

using namespace vx::script;  // NOLINT: the layer speaks the script language's words

// down, up, move, click, dblclick on a control, or click on a window named alone. A
// double-click raises down, up, click, dblClick, up, as the window system delivers one.
// Returns false, raising nothing, when the control is hidden (or sits on a hidden panel)
// or disabled. ScriptError for an unknown control.
bool raiseMouse(Program& p, const Command& c);

// key, keydown, keyup: the main window's key handlers (a key is a key-down, then a key-up).
void raiseKey(Program& p, const Command& c);

// Files dropped on a control; false when it is hidden or disabled.
bool raiseDrop(Program& p, const Command& c);

// A menu entry's click; false when it or a menu above it is disabled. Menus are found on
// MainForm unless a form is named; hidden menus still work, as pop-up menus do.
bool raiseMenu(Program& p, const std::string& name);
// The desktop closes the window (its close box, Alt+F4, the end of the session): the form's
// close request, or the window simply hides when the form has none (the main window's
// absence of one ends the program).
void closeWindow(Program& p, const std::string& window);
// Another window takes the keyboard from this one.
void deactivateWindow(Program& p, const std::string& window);

// set REF.PROPERTY VALUE.
void setProperty(Program& p, const std::string& target, const Word& value);

}  // namespace vx::control
