// One game controller as the run sees it: its mapping, whether it is
// connected, and where each mapped lever stands. Turns axis values and button
// presses into driver commands; touched on the user-interface thread only.
#pragma once
#include <map>
#include <optional>
#include <string>

#include "controls/driver_commands.h"
#include "controls/pad_mapping.h"

namespace ts {

// The train's handle ranges the levers are divided into.
struct HandleRanges {
    HandleType handleType = HandleType::Combined;
    int power = 0, brake = 0;
    bool hold = false;
};
HandleRanges handleRanges(const TrainData& train, int brakeNotchCount);

class GamePad {
public:
    // A controller that connects never moves a handle by itself: the first
    // value each lever reports only tells where it stands.
    void connect(const PadMapping& mapping);
    // The handles stay where they are.
    void disconnect();
    bool connected() const { return connected_; }
    const PadMapping& mapping() const { return mapping_; }

    // An axis moved; commands only when its lever reached another position.
    DriverInput axis(int axis, int value, const HandleRanges& ranges);
    // A button or hat direction went down (`down`) or up.
    DriverInput button(int button, bool down, const HandleRanges& ranges) const;

    // Where the lever of a mapped axis stands (its position index), if known.
    std::optional<int> leverIndex(int axis) const;

private:
    PadMapping mapping_;
    bool connected_ = false;
    std::map<int, int> index_;  // position index per mapped axis
};

// The commands of one action, as the keyboard's key for it gives them.
DriverInput commandsForPadAction(PadAction action, const HandleRanges& ranges);

}  // namespace ts
