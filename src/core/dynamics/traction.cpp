#include "dynamics/traction.h"

#include <cstdlib>

#include "dynamics/fixed_point.h"

namespace ts {

namespace {

long double absKmh(const Motion& m) { return std::fabs(real(m.speed)); }
long double massTerm(const TrainData& t) { return static_cast<long double>(t.trainTons) * 1000.0L; }

// x^n by repeated multiplication (n a whole number, possibly negative).
long double wholePower(long double x, long long n) {
    long double p = 1;
    for (long long i = 0; i < std::llabs(n); ++i) p *= x;
    return n < 0 ? 1 / p : p;
}

}  // namespace

void addAcceleration(Run& r, long double a) {
    const long double f = a / 3.6L * massTerm(r) + r.appliedForce;
    if (std::isfinite(f)) r.appliedForce = store(f);
}

void electricTraction(Run& r) {
    if (r.effectivePowerNotch < 1 || r.engineType != 1) return;
    if (r.effectivePowerNotch > r.notchRowCount || r.effectivePowerNotch > kNotchRows) return;
    const NotchRow& n = r.notchTable[size_t(r.effectivePowerNotch)];
    // A row that would divide by zero gives no traction.
    if (n.baseSpeed <= 0 || n.fadeFactor <= 0) return;
    const long double u = absKmh(r);
    const long double base = n.baseSpeed, fade = n.fadeSpeed;
    if (u < base) addAcceleration(r, u * (n.baseAccel - n.startAccel) / base + n.startAccel);
    if (base <= u && u < fade) addAcceleration(r, base * n.baseAccel / u);
    if (u >= fade && u > 0) {
        const long double constantPower = base * n.baseAccel / fade * fade;
        const long double a = constantPower / wholePower(n.fadeFactor, n.fadeSpeed) *
                              wholePower(n.fadeFactor, std::llround(std::nearbyintl(u))) / u;
        addAcceleration(r, a);
    }
}

void dieselTraction(Run& r) {
    if (r.engineType != 0) return;
    const int gears = r.engineCount();
    if (r.gearShifting == 0 && gears > 0) {
        const long double u = absKmh(r);
        for (int i = 0; i < gears; ++i) {
            if (i != r.currentGear) continue;
            const EngineRow& g = r.engineTable[size_t(i)];
            // The last gear has no gear above it to shift into.
            if (u > g.highSpeed && r.currentGear + 1 < gears) r.gearShifting = 1;
            if (std::fabs(real(r.speed) + 5) < g.lowSpeed && r.currentGear > 0) r.currentGear -= 1;
            break;
        }
        if (r.effectivePowerNotch >= 1 && r.powerNotchCount > 0) {
            const EngineRow& g = r.engineTable[size_t(r.currentGear)];
            long double a;
            if (u < g.midSpeed)
                a = std::fabs(u - g.lowSpeed) * (g.midAccel - g.lowAccel) / (g.midSpeed - g.lowSpeed) + g.lowAccel;
            else
                a = std::fabs(u - g.midSpeed) * (g.highAccel - g.midAccel) / (g.highSpeed - g.midSpeed) + g.midAccel;
            const long double f = a * (r.enginePitch / 100) / 3.6L * massTerm(r) / r.powerNotchCount *
                                      r.effectivePowerNotch + r.appliedForce;
            if (std::isfinite(f)) r.appliedForce = store(f);
        }
    }
    if (r.gearShifting == 1) {
        r.gearShiftTicks += 1;
        if (r.gearShiftTicks >= 100) {
            r.gearShiftTicks = 0;
            r.gearShifting = 0;
            if (r.currentGear + 1 < gears) r.currentGear += 1;
        }
    }
}

void powerDelay(const TrainData& t, Traction& tr, Handles& h) {
    if (h.powerHandleMoved != 1) return;
    tr.powerDelayTicks += 1;
    if (tr.powerDelayTicks >= std::max(t.powerDelay, 1)) {
        tr.powerDelayTicks = 0;
        h.powerHandleMoved = 0;
        h.effectivePowerNotch = h.powerNotch;
    }
}

void applyReverser(const Handles& h, Motion& m) {
    if (h.reverser == 0) m.appliedForce = 0;
    if (h.reverser == -1) m.appliedForce = -m.appliedForce;
}

void brakeDelay(const TrainData& t, Traction& tr, Handles& h) {
    if (h.brakeHandleMoved != 1) return;
    tr.brakeDelayTicks += 1;
    if (tr.brakeDelayTicks >= std::max(t.brakeDelay, 1)) {
        tr.brakeDelayTicks = 0;
        h.brakeHandleMoved = 0;
        h.effectiveBrakeNotch = h.brakeNotch;
    }
}

void brakeForce(Run& r) {
    if (r.bcPressure <= 0 || r.ebPressure == 0) return;
    const long double brake = static_cast<long double>(r.brakeRate) * r.bcPressure / r.ebPressure / 3.6L * massTerm(r);
    const long double scale = 1e8L;
    if (r.speed > 0) r.appliedForce = store((r.appliedForce * scale - brake) / scale);
    if (r.speed < 0) r.appliedForce = store((r.appliedForce * scale + brake) / scale);
}

void holdPositionForce(Motion& m, const Adhesion& a, const Handles& h) {
    if (m.resistanceForce > 0 && h.holdPosition == 1 && a.trainGradient < 0)
        m.appliedForce = store(static_cast<long double>(m.appliedForce) - m.resistanceForce);
}

void dieselEngineModel(Run& r) {
    if (r.engineType != 0) return;
    if (r.effectivePowerNotch != 0 && r.gearShifting == 0) {
        if (r.engineLevel < 95) r.engineLevel += 5;
        if (r.currentGear == 0 && r.powerNotchCount > 0) {
            if (r.enginePitch < 96 && r.enginePitch < 50 + 50.0L / r.powerNotchCount * r.effectivePowerNotch)
                r.enginePitch += 4;
        }
        if (r.currentGear > 0 && r.currentGear < r.engineCount()) {
            const EngineRow& g = r.engineTable[size_t(r.currentGear)];
            const long double band = g.highSpeed - g.lowSpeed;
            if (band != 0 && r.enginePitch < 96 * (0.8L + 0.2L * (real(r.speed) - g.lowSpeed) / band)) r.enginePitch += 4;
        }
    }
    if (r.effectivePowerNotch == 0 || r.gearShifting == 1) {
        if (r.engineLevel > 3) r.engineLevel -= 3;
        if (r.enginePitch > 50) r.enginePitch -= 2;
    }
}

}  // namespace ts
