// The script of the headless drive mode: "@MS COMMAND [ARGUMENTS]" lines.
#pragma once
#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

namespace ts {

// The largest notch count one wheel command takes.
constexpr int kMaxWheelNotches = 1000;

struct ScriptCommand {
    enum class Kind { Start, Char, Key, Wheel, Serial, Jump, Snapshot, Close, PadAxis, PadButton, PadConnect, PadDisconnect };
    int64_t ms = 0;
    Kind kind = Kind::Start;
    std::string text;  // Char: the character; Key: key name without modifiers; Serial, Snapshot: the text;
                       // PadConnect: the controller's GUID (may be empty)
    bool shift = false, ctrl = false, alt = false;
    int amount = 1;  // Wheel: notches, positive = up; Jump: station index; PadAxis, PadButton: its number
    int value = 0;   // PadAxis: the raw value; PadButton: 1 down, 0 up
    int line = 0;
};

struct ScriptError : std::runtime_error {
    ScriptError(int line, const std::string& what)
        : std::runtime_error("script line " + std::to_string(line) + ": " + what), line(line) {}
    int line;
};

// Parses the whole script; throws ScriptError naming the first bad line.
std::vector<ScriptCommand> parseDriveScript(const std::string& text);

bool isScriptKeyName(const std::string& name);

}  // namespace ts
