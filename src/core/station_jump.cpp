// StationClick: the jump to a station from the Move menu.
#include <cmath>
#include "panel_names.h"

#include "controls/handle_model.h"
#include "driving_run.h"
#include "dynamics/fixed_point.h"
#include "dynamics/motion.h"
#include "events/stations.h"

namespace ts {

void DrivingRun::StationClick(const std::string& itemName) {
    std::lock_guard lock(mutex_);
    Run& r = run_;
    int index = 0;
    for (int i = 0; i < r.stationCount(); ++i)
        if (itemName == "Sta" + std::to_string(i)) index = i;
    if (index >= r.stationCount()) return;  // a route without stations has no items
    record("jump " + std::to_string(index));

    r.viewJumpPending = 1;
    r.speed = 0;
    r.stationArrived.fill(0);
    r.stationDepartureSoundPlayed.fill(0);
    r.stationDeparted.fill(0);
    for (int ch = 0; ch < lowChannelCount(); ++ch) services_.sound.Channel(ch).Stop();
    r.doorsOpen = 0;
    showDoorLamp(r, panel_, true);

    const StationData& s = r.stationTable[size_t(index)];
    r.trainPosition = int32_t(std::nearbyint((double(s.stopFrom) + double(s.stopTo)) / 2.0));
    panel_.label(cn::Label4) = s.name;
    r.clockTicks = s.departureTime - 150;

    r.precedingTrainPosition =
        boundedAdd(int32_t(std::nearbyint((double(r.clockTicks) - r.startTime) / ticksPerFrame(r))),
                   int64_t(r.startPosition) + r.preTimeTicks);

    r.shownSignalAspect = 1000;
    r.pointGradient = 0;
    r.trainGradient = 0;
    r.speedLimitSignShown = 0;

    r.powerNotch = 0;
    r.effectivePowerNotch = 0;
    r.brakeNotch = -r.brakeNotchCount;
    r.effectiveBrakeNotch = -r.brakeNotchCount;
    r.stopDistance = 0;
    masconupdate(r, r, r, r, panel_);
}

}  // namespace ts
