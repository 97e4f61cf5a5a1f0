// "gamepad.txt" on arbitrary bytes: the reader skips what it cannot read and
// keeps every number within what a controller reports; what it read is
// written and read back the same; saving one controller's mapping into the
// file changes that controller only.
#include "controls/pad_file.h"
#include "fuzz_support.h"

using namespace ts;

namespace {

void checkBounds(const std::vector<PadMapping>& all) {
    for (const PadMapping& m : all) {
        if (m.guid.empty()) fuzz::fail("a section without a GUID");
        for (const AxisMapping& a : m.axes) {
            if (a.axis < 0 || a.axis > 255) fuzz::fail("an axis number beyond what SDL reports");
            if (a.min < -32768 || a.max > 32767 || a.max < -32768 || a.min > 32767 || a.min == a.max)
                fuzz::fail("an axis range beyond what SDL reports");
            if (a.centre && (*a.centre < -32768 || *a.centre > 32767)) fuzz::fail("a centre beyond the axis");
            (void)positionIndex(a, 0, 9, std::nullopt, 4);
        }
        for (const auto& [button, action] : m.buttons)
            if (button < 0 || button > hatButton(15, 3)) fuzz::fail("a button or hat number beyond the bound");
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    std::vector<std::string> problems;
    const std::vector<PadMapping> read = readPadMappings(text, &problems);
    for (const std::string& p : problems)
        if (!p.starts_with("gamepad.txt line ")) fuzz::fail("a problem that names no line: " + p);
    checkBounds(read);
    std::vector<std::string> again;
    if (readPadMappings(writePadMappings(read), &again) != read || !again.empty())
        fuzz::fail("what was read does not read back the same");
    if (read.empty()) return 0;
    // One controller changed and saved into the file: the others read as before.
    PadMapping changed = read.front();
    changed.buttons[size % 100] = changed.buttons[size % 100] == PadAction::Horn ? PadAction::Doors : PadAction::Horn;
    const std::string saved = replacePadMapping(text, changed);
    const std::vector<PadMapping> after = readPadMappings(saved);
    const PadMapping* mine = findPadMapping(after, changed.guid);
    if (!mine || *mine != changed) fuzz::fail("the saved mapping does not read back");
    for (const PadMapping& m : read) {
        if (m.guid == changed.guid) continue;
        const PadMapping* other = findPadMapping(after, m.guid);
        if (!other || *other != *findPadMapping(read, m.guid)) fuzz::fail("another controller's mapping changed");
    }
    if (replacePadMapping(saved, changed) != saved) fuzz::fail("saving the same mapping again changed the file");
    return 0;
}
