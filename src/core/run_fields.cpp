#include <algorithm>

#include "run.h"

namespace ts {

namespace {

void routeFields(const Run& r, RunFieldVisitor& v) {
    v.text("lineName", r.lineName);
    v.integer("startPosition", r.startPosition);
    v.integer("frameRate", r.frameRate);
    v.integer("startTime", r.startTime);
    v.integer("signalSpeedYY", r.signalSpeedYY);
    v.integer("signalSpeedY", r.signalSpeedY);
    v.integer("signalSpeedYG", r.signalSpeedYG);
    v.integer("signalSpeedG", r.signalSpeedG);
    v.integer("preTimeTicks", r.preTimeTicks);
    v.integer("oneManOperation", r.oneManOperation);
    v.integer("soundDataCount", r.soundDataCount());
    v.integer("kankoCount", r.kankoCount);
    v.integer("announceCount", r.announceCount());
    v.integer("routeSoundCount", r.routeSoundCount());
    v.integer("dopplerCount", r.dopplerCount());
    v.integer("tunnelCount", r.tunnelCount());
    v.integer("stationCount", r.stationCount());
    v.integer("stopSoundCount", r.stopSoundCount());
    v.integer("signalCount", r.signalCount());
    v.integer("slopeCount", r.slopeCount());
    v.integer("signCount", r.signCount());
    v.integer("speedLimitCount", r.speedLimitCount());
    v.integer("speedCheckCount", r.speedCheckCount());
    v.integer("speedUnitCount", r.speedUnitCount());
    v.integer("otherImageCount", r.otherImageCount());
}

void trainFields(const Run& r, RunFieldVisitor& v) {
    v.integer("handleType", r.handleType);
    v.integer("brakeType", r.brakeType);
    v.integer("brakeNotchCount", r.brakeNotchCount);
    v.integer("powerNotchCount", r.powerNotchCount);
    v.integer("holdPositionEnabled", r.holdPositionEnabled);
    v.integer("brakeRate", r.brakeRate);
    v.integer("engineType", r.engineType);
    v.integer("carCount", r.carCount);
    v.integer("trainTons", r.trainTons);
    v.integer("mt", r.mt);
    v.integer("ebSetting", r.ebSetting);
    v.integer("maxSpeed", r.maxSpeed);
    v.integer("atsType", r.atsType);
    v.integer("engineCount", r.engineCount());
    v.integer("motorSoundCount", r.motorSoundCount());
    v.integer("driveSoundCount", r.driveSoundCount());
    v.integer("otherPanelCount", r.otherPanelCount());
}

}  // namespace

void visitRunFields(const Run& r, RunFieldVisitor& v) {
    v.text("trainCode", r.trainCode);
    v.integer("inputLocked", r.inputLocked);
    v.integer("viewJumpPending", r.viewJumpPending);
    routeFields(r, v);
    trainFields(r, v);
    v.integer("speed", r.speed);
    v.integer("trainPosition", r.trainPosition);
    v.integer("clockTicks", r.clockTicks);
    v.real("stopDistance", r.stopDistance);
    v.integer("trainGradient", r.trainGradient);
    v.integer("powerNotch", r.powerNotch);
    v.integer("effectivePowerNotch", r.effectivePowerNotch);
    v.integer("brakeNotch", r.brakeNotch);
    v.integer("effectiveBrakeNotch", r.effectiveBrakeNotch);
    v.integer("reverser", r.reverser);
    v.integer("precedingTrainPosition", r.precedingTrainPosition);
    v.integer("shownSignalAspect", r.shownSignalAspect);
    v.integer("pointGradient", r.pointGradient);
    v.integer("speedLimitSignShown", r.speedLimitSignShown);
    v.integer("doorsOpen", r.doorsOpen);
    v.integer("doorOpenCommand", r.doorOpenCommand);
    const int n = std::min(r.stationCount(), kStationFlags);
    v.flags("stationArrived", r.stationArrived.data(), n);
    v.flags("stationDepartureSoundPlayed", r.stationDepartureSoundPlayed.data(), n);
    v.flags("stationDeparted", r.stationDeparted.data(), n);
}

}  // namespace ts
