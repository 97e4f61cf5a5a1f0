// One line of the drive-mode trace: the run's state and what the driving
// window shows at one instant, as a JSON object.
#pragma once
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "panel_model.h"
#include "run.h"
#include "devices/sound_op.h"

namespace ts {

struct WindowState {
    bool visible = false;
    std::string caption;
};

struct TraceMoment {
    int64_t t = 0;
    std::string event;   // "loaded", "step" or "end"
    std::string reason;  // for "end"
    std::map<std::string, WindowState> windows;
    std::vector<SoundOp> sounds;
    std::vector<std::string> messages;
    bool valueDisplayShown = false;
};

std::string traceLine(const TraceMoment& m, const Run& run, const PanelModel& panel);

}  // namespace ts
