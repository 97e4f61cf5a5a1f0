#include <algorithm>
#include <vector>

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
    v.integer("presentationTicks", r.presentationTicks);
    v.integer("shownGear", r.shownGear);
    v.integer("speed", r.speed);
    v.integer("trainPosition", r.trainPosition);
    v.integer("frameAccumulator", r.frameAccumulator);
    v.integer("recordedSpeedKmh", r.recordedSpeedKmh);
    v.integer("appliedForce", r.appliedForce);
    v.integer("resistanceForce", r.resistanceForce);
    v.integer("clockTicks", r.clockTicks);
    v.real("stopDistance", r.stopDistance);
    v.integer("paintFrame", r.paintFrame);
    v.integer("lastPaintedFrame", r.lastPaintedFrame);
    v.integer("lineVoltage", r.lineVoltage);
    v.integer("motorCurrent", r.motorCurrent);
    v.integer("powerDelayTicks", r.powerDelayTicks);
    v.integer("gearShiftTicks", r.gearShiftTicks);
    v.integer("brakeDelayTicks", r.brakeDelayTicks);
    v.integer("currentGear", r.currentGear);
    v.integer("gearShifting", r.gearShifting);
    v.real("enginePitch", r.enginePitch);
    v.real("engineLevel", r.engineLevel);
    v.integer("adhesionCoefficient", r.adhesionCoefficient);
    v.integer("trainGradient", r.trainGradient);
    v.integer("gradientSampleMark", r.gradientSampleMark);
    v.integer("erPressure", r.erPressure);
    v.integer("sapPressure", r.sapPressure);
    v.integer("mrPressure", r.mrPressure);
    v.integer("bcGaugePressure", r.bcGaugePressure);
    v.integer("compressorRunning", r.compressorRunning);
    v.integer("powerNotch", r.powerNotch);
    v.integer("effectivePowerNotch", r.effectivePowerNotch);
    v.integer("brakeNotch", r.brakeNotch);
    v.integer("effectiveBrakeNotch", r.effectiveBrakeNotch);
    v.integer("reverser", r.reverser);
    v.integer("holdPosition", r.holdPosition);
    v.integer("holdExitLatch", r.holdExitLatch);
    v.integer("powerHandleMoved", r.powerHandleMoved);
    v.integer("brakeHandleMoved", r.brakeHandleMoved);
    v.integer("keypadInverted", r.keypadInverted);
    v.integer("recordedSpeedMode", r.recordedSpeedMode);
    v.integer("staffShown", r.staffShown);
    v.integer("safetyEmergencyBrake", r.safetyEmergencyBrake);
    v.integer("atsServiceBrake", r.atsServiceBrake);
    v.integer("atsBellRinging", r.atsBellRinging);
    v.integer("atsChimePending", r.atsChimePending);
    v.integer("atsConfirmed", r.atsConfirmed);
    v.integer("atsBellTicks", r.atsBellTicks);
    v.integer("atsAlarmState", r.atsAlarmState);
    v.integer("atsAlarmTarget", r.atsAlarmTarget);
    v.integer("atcBrakeHolding", r.atcBrakeHolding);
    v.integer("nextSignalAspect", r.nextSignalAspect);
    v.integer("ebDeviceIdleTicks", r.ebDeviceIdleTicks);
    v.integer("bcPressure", r.bcPressure);
    v.integer("precedingTrainPosition", r.precedingTrainPosition);
    v.integer("shownSignalAspect", r.shownSignalAspect);
    v.integer("pointGradient", r.pointGradient);
    v.integer("speedLimitSignShown", r.speedLimitSignShown);
    v.integer("shownSpeedLimit", r.shownSpeedLimit);
    v.integer("activeSpeedLimit", r.activeSpeedLimit);
    v.integer("signCallIndex", r.signCallIndex);
    v.integer("doorsOpen", r.doorsOpen);
    v.integer("doorOpenCommand", r.doorOpenCommand);
    const int n = std::min(r.stationCount(), kStationFlags);
    v.flags("routeSoundStarted", r.routeSoundStarted.data(), int(r.routeSoundStarted.size()));
    v.real("driveLevelLow", r.driveLevelLow);
    v.real("driveLevelHigh", r.driveLevelHigh);
    v.real("motorMasterLevel", r.motorMasterLevel);
    std::vector<int32_t> aspects;
    for (const auto& s : r.signalTable) aspects.push_back(s.aspect);
    v.integers("signalAspects", aspects.data(), int(aspects.size()));
    v.flags("stationArrived", r.stationArrived.data(), n);
    v.flags("stationDepartureSoundPlayed", r.stationDepartureSoundPlayed.data(), n);
    v.flags("stationDeparted", r.stationDeparted.data(), n);
}

}  // namespace ts

namespace ts {

void CarriedOver::into(Run& r) const {
    r.keypadInverted = keypadInverted;
    r.recordedSpeedMode = recordedSpeedMode;
    r.holdPosition = holdPosition;
    r.holdExitLatch = holdExitLatch;
}

void CarriedOver::from(const Run& r) {
    keypadInverted = r.keypadInverted;
    recordedSpeedMode = r.recordedSpeedMode;
    holdPosition = r.holdPosition;
    holdExitLatch = r.holdExitLatch;
}

CarriedOver& carriedOver() {
    static CarriedOver state;
    return state;
}

}  // namespace ts
