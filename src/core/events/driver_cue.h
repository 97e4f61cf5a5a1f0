// What the run says only by sound, for a line the window shows while it
// lasts: the departure melody, the doors, the call-out's answer. Read from
// the run's state alone (asking the sound device would enter recordings).
#pragma once
#include <string>
#include <vector>

#include "events/codes.h"
#include "panel_model.h"

#include "run.h"

namespace ts {

enum class DoorCue {
    None,
    Melody,         // the departure melody plays; the doors close when it ends (one-man: the driver closes them)
    CloseTheDoors,  // one-man: the melody has ended, the driver may close the doors
    DoorsClosing,   // the doors are closing
};

DoorCue doorCue(const RouteData& route, const StationState& st);

// What the call-out key calls out: the channels whose waves it plays, and
// what they say.
struct CallOut {
    enum Kind { Nothing, Sign, SpeedLimit, Signal } kind = Nothing;
    std::vector<int> channels;
    int limitKmh = 0;                         // SpeedLimit: the limit called
    AspectClass aspect = AspectClass::Other;  // Signal
    std::string signalText;                   // Signal: the signal label's text as shown
};

CallOut callOutFor(const Run& r, const PanelModel& panel);

}  // namespace ts
