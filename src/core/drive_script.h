// The script of the headless drive mode: "@MS COMMAND [ARGUMENTS]" lines, or
// in a recording "@step N/M COMMAND" lines anchored to the steps that ran.
#pragma once
#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

namespace ts {

// The most steps one "run" line of a recording holds. The recorder writes the
// 33 ms and 100 ms steps in turn, a line at most 64 tokens, so a real line
// holds a few hundred; this is over half an hour of steps of one kind alone.
constexpr int64_t kMaxRunLineSteps = 65535;

// The largest notch count one wheel command takes.
constexpr int kMaxWheelNotches = 1000;

// One entry of a recording's "run" line: which timer's step or paint ran next.
struct StepToken {
    enum class Kind { Simulation, Presentation, Paint };
    Kind kind = Kind::Simulation;
    int count = 1;       // steps run in a row (a paint is always one)
    int32_t frame = -1;  // Paint: the frame painted when it was not the current one, else -1
};

struct ScriptCommand {
    enum class Kind {
        Start,
        Char,
        Key,
        Wheel,
        Serial,
        Jump,
        GoTo,
        Snapshot,
        Close,
        PadAxis,
        PadButton,
        PadConnect,
        PadDisconnect,
        // A device registered by its word (run/input_devices.h): text the word
        Device,
        // Recordings only
        Run,
        SoundStatus,
        Recording,
        Train,
        Data
    };
    int64_t ms = 0;
    Kind kind = Kind::Start;
    // Char: the character; Key: key name without modifiers; Serial, Snapshot, Train, Data: the text;
    // PadConnect: the controller's GUID (may be empty)
    std::string text;
    bool shift = false, ctrl = false, alt = false, mouse = false;
    // Wheel: notches, positive = up; Jump: station index; GoTo: frame; SoundStatus: channel; Recording: version;
    // PadAxis, PadButton: its number
    int amount = 1;
    int value = 0;          // PadAxis: the raw value; PadButton: 1 down, 0 up
    std::string arguments;  // Device: the line's arguments as the device wrote them
    // Step-anchored lines: the 33 ms and 100 ms steps run before this line.
    bool anchored = false;
    int64_t simulationSteps = 0, presentationSteps = 0;
    std::vector<StepToken> steps;  // Run
    int64_t call = 0;              // SoundStatus: the channel's status query this value starts at (from 1)
    int status = 0;                // SoundStatus: the value
    int line = 0;
};

struct ScriptError : std::runtime_error {
    ScriptError(int line, const std::string& what)
        : std::runtime_error("script line " + std::to_string(line) + ": " + what), line(line) {}
    int line;
};

struct ParsedScript {
    std::vector<ScriptCommand> commands;
    bool anchored = false;  // a recording: its lines are anchored to steps
    // A recording whose last line has no line end was cut off while being
    // written; that line is left out and named here (0: none).
    int cutLine = 0;
};

// Parses the whole script; throws ScriptError naming the first bad line.
ParsedScript parseScript(const std::string& text);
std::vector<ScriptCommand> parseDriveScript(const std::string& text);

bool isScriptKeyName(const std::string& name);
// The script's own command words, which no registered device may take.
bool isScriptCommandWord(const std::string& word);

// The script line of one input, without its time or anchor: "char z",
// "key shift+F8", "serial B2XXX" (bytes a line cannot hold as "serialhex ...").
std::string charCommand(char c);
std::string keyCommand(const std::string& keyName, bool shift, bool ctrl, bool alt, bool mouse);
std::string serialCommand(const std::string& message);

}  // namespace ts
