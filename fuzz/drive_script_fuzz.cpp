// The drive-script parser on arbitrary text: either commands in time order
// within their bounds, or one error that names a line of the script.
#include "drive_script.h"
#include "fuzz_support.h"

using namespace ts;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    std::vector<ScriptCommand> commands;
    try {
        commands = parseDriveScript(text);
    } catch (const ScriptError& e) {
        const std::string what = e.what();
        if (e.line < 1 || !what.starts_with("script line " + std::to_string(e.line) + ": "))
            fuzz::fail("an error that names no line: " + what);
        return 0;
    }
    int64_t last = 0;
    for (const auto& c : commands) {
        if (c.ms < last) fuzz::fail("commands out of time order");
        last = c.ms;
        if (c.kind == ScriptCommand::Kind::Wheel &&
            (c.amount == 0 || c.amount > kMaxWheelNotches || c.amount < -kMaxWheelNotches))
            fuzz::fail("a wheel count beyond the bound");
        if (c.kind == ScriptCommand::Kind::Jump && c.amount < 0) fuzz::fail("a negative station index");
        if (c.kind == ScriptCommand::Kind::Key && !isScriptKeyName(c.text)) fuzz::fail("an unknown key accepted");
    }
    return 0;
}
