// One line of the drive-mode trace: the run's state and what the driving
// window shows at one instant, as a JSON object.
#pragma once
#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "devices/sound_op.h"
#include "panel_model.h"
#include "run.h"

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
    // The detailed text of each message, in their order; written only when one has any.
    std::vector<std::string> messageDetails;
    bool valueDisplayShown = false;
    std::string hint;  // the window's release hint line; written only while one shows
};

// Writes trace lines one after another. It keeps the panel items sorted by
// name between lines: the items of a run do not change, only their state.
class TraceWriter {
public:
    std::string line(const TraceMoment& m, const Run& run, const PanelModel& panel);

private:
    // Named items by name; of several with one name, the last in stacking order.
    std::vector<std::pair<std::string_view, const PanelItem*>> named_;
    const PanelItem* itemsSeen_ = nullptr;
    size_t itemCount_ = 0;
};

std::string traceLine(const TraceMoment& m, const Run& run, const PanelModel& panel);

}  // namespace ts
