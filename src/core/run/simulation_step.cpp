// MMTimer1Timer: the 33 ms simulation step. One tick counts as 1/30 s.
#include "dynamics/adhesion.h"
#include "dynamics/air_brake.h"
#include "dynamics/fixed_point.h"
#include "dynamics/motion.h"
#include "dynamics/traction.h"
#include "panel_names.h"
#include "run/driving_run.h"
#include "run/run_parts.h"

namespace ts {

void DrivingRun::mmTimer1Timer() {
    Run& r = run_;
    const RunParts s = partsOf(r);
    // 1
    r.appliedForce = 0;
    r.resistanceForce = 0;
    // 2: traction only below the maximum speed and with the doors closed (door lamp lit)
    if (r.speed < int64_t(r.maxSpeed) * kFixedOne && r.doorLampLit == 1) {
        electricTraction(s.train, s.motion, s.handles);
        dieselTraction(s.train, s.motion, s.traction, s.handles);
        powerDelay(s.train, s.traction, s.handles);
        applyReverser(s.handles, s.motion);
    }
    // 3 .. 6
    brakePressures(s.train, s.protection, s.handles, s.air);
    brakeCylinderGauge(s.train, s.motion, s.air);
    brakeDelay(s.train, s.traction, s.handles);
    brakeForce(s.train, s.motion, s.air);
    // 7: voltmeter
    if (r.lineVoltage != r.lineVoltageTarget) {
        if (r.lineVoltage > r.lineVoltageTarget) r.lineVoltage -= 5000;
        if (r.lineVoltage < r.lineVoltageTarget) r.lineVoltage += 5000;
    }
    // 8 .. 11
    updateAdhesion(s.motion, s.adhesion);
    gradientForce(s.train, s.adhesion, s.motion);
    panel_.wheel = slipAndSlide(s.train, s.handles, s.adhesion, s.motion);
    startingResistance(s.train, s.motion);
    runningResistance(s.train, s.motion);
    // 12 .. 15
    holdPositionForce(s.motion, s.adhesion, s.handles);
    r.speed = speedAfter(s.train, s.motion, r.resistanceForce);
    const int64_t predicted = speedAfter(s.train, s.motion, r.appliedForce);
    if (r.effectiveBrakeNotch < 0 && static_cast<long double>(r.speed) * predicted < 0) {
        r.speed = 0;
        r.appliedForce = 0;
    }
    r.speed = speedAfter(s.train, s.motion, r.appliedForce);
    // 16
    advanceFrames(s.motion);
    // 17: signal aspects
    updateSignalAspects();
    // 18, 19
    sampleTrainGradient(s.train, s.motion, s.signs, s.adhesion);
    updateRecordedSpeed(s.route, s.motion);
    // 20 .. 22
    r.clockTicks = boundedAdd(r.clockTicks, 1);
    if (r.recordedSpeedMode == 1) r.speed = int64_t(r.recordedSpeedKmh) * kFixedOne;
    const bool newFrame = r.paintFrame != r.trainPosition;
    r.paintFrame = r.trainPosition;
    if (newFrame) {
        ++framesRequested_;
        services_.host.frameAdvanced();
    }
    // 23: the preceding train's clock
    if (r.clockTicks % ticksPerFrame(s.route) == 0) r.precedingTrainPosition = boundedAdd(r.precedingTrainPosition, 1);
    // 24
    if (r.speed != 0) r.stopDistance -= real(r.speed) / 1.08L;
}

}  // namespace ts
