// MMTimer1Timer: the 33 ms simulation step. One tick counts as 1/30 s.
#include "driving_run.h"
#include "dynamics/adhesion.h"
#include "dynamics/air_brake.h"
#include "dynamics/fixed_point.h"
#include "dynamics/motion.h"
#include "dynamics/traction.h"
#include "panel_names.h"

namespace ts {

void DrivingRun::mmTimer1Timer() {
    Run& r = run_;
    // 1
    r.appliedForce = 0;
    r.resistanceForce = 0;
    // 2: traction only below the maximum speed and with the doors closed (door lamp lit)
    if (r.speed < int64_t(r.maxSpeed) * kFixedOne && r.doorLampLit == 1) {
        electricTraction(r, r, r);
        dieselTraction(r, r, r, r);
        powerDelay(r, r, r);
        applyReverser(r, r);
    }
    // 3 .. 6
    brakePressures(r, r, r, r);
    brakeCylinderGauge(r, r, r);
    brakeDelay(r, r, r);
    brakeForce(r, r, r);
    // 7: voltmeter
    if (r.lineVoltage != r.lineVoltageTarget) {
        if (r.lineVoltage > r.lineVoltageTarget) r.lineVoltage -= 5000;
        if (r.lineVoltage < r.lineVoltageTarget) r.lineVoltage += 5000;
    }
    // 8 .. 11
    updateAdhesion(r, r);
    gradientForce(r, r, r);
    panel_.wheel = slipAndSlide(r, r, r, r);
    startingResistance(r, r);
    runningResistance(r, r);
    // 12 .. 15
    holdPositionForce(r, r, r);
    r.speed = speedAfter(r, r, r.resistanceForce);
    const int64_t predicted = speedAfter(r, r, r.appliedForce);
    if (r.effectiveBrakeNotch < 0 && static_cast<long double>(r.speed) * predicted < 0) {
        r.speed = 0;
        r.appliedForce = 0;
    }
    r.speed = speedAfter(r, r, r.appliedForce);
    // 16
    advanceFrames(r);
    // 17: signal aspects
    updateSignalAspects();
    // 18, 19
    sampleTrainGradient(r, r, r, r);
    updateRecordedSpeed(r, r);
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
    if (r.clockTicks % ticksPerFrame(r) == 0) r.precedingTrainPosition = boundedAdd(r.precedingTrainPosition, 1);
    // 24
    if (r.speed != 0) r.stopDistance -= real(r.speed) / 1.08L;
}

}  // namespace ts
