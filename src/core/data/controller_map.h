// "mascon.txt": the messages a hardware controller sends, one per handle
// position, in file order.
#pragma once
#include <string>
#include <vector>

#include "data/diagnostics.h"
#include "devices/messages.h"

namespace ts {

constexpr int kControllerCodeSlots = 26;

// Lines up to the first line starting with "#", at most 26 (later lines are
// ignored). A missing file shows "mascon.txtが見つかりません" and ends the program.
// With `diagnostics` a missing file is recorded there instead of ending the program.
std::vector<std::string> readControllerMap(const std::string& path, MessageBoxes& boxes,
                                           Diagnostics* diagnostics = nullptr);

}  // namespace ts
