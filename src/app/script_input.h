// A script's input commands given to a driving window, as the drive mode and
// a replay give them, and the short text a watched replay shows for each.
#pragma once
#include <string>

#include "data/train_data.h"
#include "drive_script.h"

namespace ts {

class TForm1;

// Start, close, jump, char, key, wheel, serial, the game controllers' and a
// registered device's input; other commands do nothing here.
void applyScriptInput(TForm1& form, const ScriptCommand& c);

// What an input does, for the replay's overlay line: "z — power up".
std::string describeInput(const ScriptCommand& c, HandleType handleType);

}  // namespace ts
