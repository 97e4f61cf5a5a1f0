// The jumps that stand the train elsewhere: to a station from the Move menu,
// and to any frame (the editor's test drive).
#include <algorithm>
#include <cmath>
#include <limits>
#include "panel_names.h"

#include "controls/handle_model.h"
#include "dynamics/fixed_point.h"
#include "dynamics/motion.h"
#include "events/codes.h"
#include "events/stations.h"
#include "run/driving_run.h"

namespace ts {

void DrivingRun::StationClick(const std::string& itemName) {
    std::lock_guard lock(mutex_);
    const Run& r = run_;
    int index = 0;
    for (int i = 0; i < r.stationCount(); ++i)
        if (itemName == "Sta" + std::to_string(i)) index = i;
    if (index >= r.stationCount()) return;  // a route without stations has no items
    record("jump " + std::to_string(index));

    const StationData& s = r.stationTable[size_t(index)];
    panel_.label(cn::Label4) = s.name;
    standAt(int32_t(std::nearbyint((double(s.stopFrom) + double(s.stopTo)) / 2.0)), int64_t(s.departureTime) - 150);
}

void DrivingRun::jumpToFrame(int32_t frame) {
    std::lock_guard lock(mutex_);
    record("goto " + std::to_string(frame));
    const Run& r = run_;
    // The reader refuses an end of the line below zero; the bounds stay in order whatever the data.
    frame = std::clamp(frame, int32_t(0), std::max(int32_t(0), int32_t(r.lineEnd())));
    // The time the recorded ride passed the frame: the preceding train and
    // the signals then stand as the video shows them.
    const int64_t clock = int64_t(r.startTime) + (int64_t(frame) - r.startPosition) * ticksPerFrame(r);
    standAt(frame, std::clamp<int64_t>(clock, 0, std::numeric_limits<int32_t>::max()));
}

void DrivingRun::standAt(int32_t position, int64_t clock) {
    Run& r = run_;
    r.viewJumpPending = 1;
    r.speed = 0;
    r.stationArrived.fill(0);
    r.stationDepartureSoundPlayed.fill(0);
    r.stationDeparted.fill(0);
    for (int ch = 0; ch < lowChannelCount(); ++ch) services_.sound.Channel(ch).Stop();
    r.doorsOpen = 0;
    showDoorLamp(r, panel_, true);

    r.trainPosition = position;
    r.clockTicks = int32_t(clock);

    r.precedingTrainPosition =
        boundedAdd(int32_t(std::nearbyint((double(r.clockTicks) - r.startTime) / ticksPerFrame(r))),
                   int64_t(r.startPosition) + r.preTimeTicks);

    r.shownSignalAspect = kAspectUnknown;
    r.pointGradient = 0;
    r.trainGradient = 0;
    r.speedLimitSignShown = 0;

    r.powerNotch = 0;
    r.effectivePowerNotch = 0;
    r.brakeNotch = -r.brakeNotchCount;
    r.effectiveBrakeNotch = -r.brakeNotchCount;
    r.stopDistance = 0;
    refreshHandleReadouts();
}

}  // namespace ts
