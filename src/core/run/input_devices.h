// Input devices registered by their word with the command layer. A device's
// input is written to a recording as the line "WORD ARGUMENTS"; the drive
// script's parser takes the registered words, and a drive script, a replay
// or a live-link client hand the line back to the same translation that the
// device itself uses. So a new device is its adapter and one registration.
#pragma once
#include <string>

#include "controls/driver_commands.h"
#include "run.h"

namespace ts {

class DrivingRun;

struct InputDevice {
    std::string word;  // the script line's first word: letters, digits and '-'
    // Whether `arguments` are one well-formed input of the device.
    bool (*accepts)(const std::string& arguments) = nullptr;
    // The driver commands of one input, from the run as it stands.
    DriverInput (*translate)(const std::string& arguments, const Run& run) = nullptr;
};

// Adds a device, usually from a static initialiser in the device's own file
// (the file must be linked in: the window that opens the device uses it). A
// word already taken, by a device or by the script's own commands, or an
// entry without its functions is refused: false.
bool registerInputDevice(const InputDevice& device);
// The device registered under `word`, or null.
const InputDevice* findInputDevice(const std::string& word);

// One input of a registered device entering the run through the command
// layer: its line recorded and its commands dispatched. Arguments that the
// device does not accept are dropped (false), so that no recording holds a
// line its replay would refuse.
bool deviceInput(DrivingRun& run, const InputDevice& device, const std::string& arguments);

}  // namespace ts
