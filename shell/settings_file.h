#pragma once
// The settings file: both song lists, their selections, the menu options, the window position
// and every stored setting, one value a line in a fixed order. Read once at start-up, written
// once when the user ends the program and asks for the state to be kept.
#include <string>
#include <vector>

#include "core/program.h"
#include "songlist/list_block.h"

namespace vx::shell {

// Reads the settings file into the lists, decks, menus and settings. Never fails outward: at
// the first line that is missing or does not convert the reading stops, what was read stays,
// the user is told "Velvoxの状態を初期化します。" and the rest takes its defaults. A list block
// is taken whole or not at all.
void readSettings(Program& p);

// The defaults after a failed read (the message included).
void resetSettings(Program& p);

// Appends the deck's list block to the file's text.
void save1(Program& p, int deck, std::string& text);

// Every line of the settings file, as savest writes it.
std::vector<std::string> settingsLines(Program& p);

// Writes the settings file through a temporary file renamed over it and ends the program.
// A failed write leaves the earlier file whole, tells the user why and keeps the program
// running (false).
bool savest(Program& p);

// velvoxplus.ini beside the settings file: read at start-up (a damaged line is named in one
// message and otherwise ignored); written by savest and by the extended settings' OK. A failed
// write is told and keeps the values for the next try.
void readPlusSettings(Program& p);
bool savePlusSettings(Program& p);

}  // namespace vx::shell
