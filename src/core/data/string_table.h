// "string.txt": display texts of handle positions and stations, and the
// captions of the driving window's menus.
#pragma once
#include <array>
#include <optional>
#include <string>

#include "data/diagnostics.h"
#include "devices/messages.h"

namespace ts {

enum HandleLabel {
    kForward,
    kNeutral,
    kReverse,
    kStop,
    kPass,
    kStop2,
    kNeut,
    kNeut2,
    kApply,
    kMaintain,
    kHold,
    kHold2,
    kEB,
    kHandleLabelCount
};

struct StringTable {
    std::array<std::string, kHandleLabelCount> handleLabelTexts;
    // Menu captions; unset when the file has no such key.
    std::optional<std::string> startCaption, moveCaption, displayCaption, helpCaption, controlCaption;
};

// Reads the file at `path`; any error shows "stringファイルに誤りがあります" and
// ends the program.
// With `diagnostics` a problem is recorded there instead of ending the program.
StringTable readStringTable(const std::string& path, MessageBoxes& boxes, Diagnostics* diagnostics = nullptr);

}  // namespace ts
