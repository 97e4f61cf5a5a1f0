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

void addAcceleration(const TrainData& t, Motion& m, long double a) {
    const long double f = a / 3.6L * massTerm(t) + m.appliedForce;
    if (std::isfinite(f)) m.appliedForce = store(f);
}

void electricTraction(const TrainData& t, Motion& m, const Handles& h) {
    if (h.effectivePowerNotch < 1 || t.engineType != EngineType::Electric) return;
    if (h.effectivePowerNotch > t.notchRowCount || h.effectivePowerNotch > kNotchRows) return;
    const NotchRow& n = t.notchTable[size_t(h.effectivePowerNotch)];
    // A row that would divide by zero gives no traction.
    if (n.baseSpeed <= 0 || n.fadeFactor <= 0) return;
    const long double u = absKmh(m);
    const long double base = n.baseSpeed, fade = n.fadeSpeed;
    if (u < base) addAcceleration(t, m, u * (n.baseAccel - n.startAccel) / base + n.startAccel);
    if (base <= u && u < fade) addAcceleration(t, m, base * n.baseAccel / u);
    if (u >= fade && u > 0) {
        const long double constantPower = base * n.baseAccel / fade * fade;
        const long double a = constantPower / wholePower(n.fadeFactor, n.fadeSpeed) *
                              wholePower(n.fadeFactor, std::llround(std::nearbyintl(u))) / u;
        addAcceleration(t, m, a);
    }
}

void dieselTraction(const TrainData& t, Motion& m, Traction& tr, const Handles& h) {
    if (t.engineType != EngineType::Diesel) return;
    const int gears = t.engineCount();
    if (tr.gearShifting == 0 && gears > 0) {
        const long double u = absKmh(m);
        for (int i = 0; i < gears; ++i) {
            if (i != tr.currentGear) continue;
            const EngineRow& g = t.engineTable[size_t(i)];
            // The last gear has no gear above it to shift into.
            if (u > g.highSpeed && tr.currentGear + 1 < gears) tr.gearShifting = 1;
            if (std::fabs(real(m.speed) + 5) < g.lowSpeed && tr.currentGear > 0) tr.currentGear -= 1;
            break;
        }
        if (h.effectivePowerNotch >= 1 && t.powerNotchCount > 0) {
            const EngineRow& g = t.engineTable[size_t(tr.currentGear)];
            long double a;
            if (u < g.midSpeed)
                a = std::fabs(u - g.lowSpeed) * (g.midAccel - g.lowAccel) / (g.midSpeed - g.lowSpeed) + g.lowAccel;
            else
                a = std::fabs(u - g.midSpeed) * (g.highAccel - g.midAccel) / (g.highSpeed - g.midSpeed) + g.midAccel;
            const long double f =
                a * (tr.enginePitch / 100) / 3.6L * massTerm(t) / t.powerNotchCount * h.effectivePowerNotch +
                m.appliedForce;
            if (std::isfinite(f)) m.appliedForce = store(f);
        }
    }
    if (tr.gearShifting == 1) {
        tr.gearShiftTicks += 1;
        if (tr.gearShiftTicks >= 100) {
            tr.gearShiftTicks = 0;
            tr.gearShifting = 0;
            if (tr.currentGear + 1 < gears) tr.currentGear += 1;
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

void brakeForce(const TrainData& t, Motion& m, const AirBrake& air) {
    if (air.bcPressure <= 0 || t.ebPressure == 0) return;
    const long double brake =
        static_cast<long double>(t.brakeRate) * air.bcPressure / t.ebPressure / 3.6L * massTerm(t);
    const long double scale = 1e8L;
    if (m.speed > 0) m.appliedForce = store((m.appliedForce * scale - brake) / scale);
    if (m.speed < 0) m.appliedForce = store((m.appliedForce * scale + brake) / scale);
}

void holdPositionForce(Motion& m, const Adhesion& a, const Handles& h) {
    if (m.resistanceForce > 0 && h.holdPosition == 1 && a.trainGradient < 0)
        m.appliedForce = store(static_cast<long double>(m.appliedForce) - m.resistanceForce);
}

void dieselEngineModel(const TrainData& t, const Motion& m, Traction& tr, const Handles& h) {
    if (t.engineType != EngineType::Diesel) return;
    if (h.effectivePowerNotch != 0 && tr.gearShifting == 0) {
        if (tr.engineLevel < 95) tr.engineLevel += 5;
        if (tr.currentGear == 0 && t.powerNotchCount > 0) {
            if (tr.enginePitch < 96 && tr.enginePitch < 50 + 50.0L / t.powerNotchCount * h.effectivePowerNotch)
                tr.enginePitch += 4;
        }
        if (tr.currentGear > 0 && tr.currentGear < t.engineCount()) {
            const EngineRow& g = t.engineTable[size_t(tr.currentGear)];
            const long double band = g.highSpeed - g.lowSpeed;
            if (band != 0 && tr.enginePitch < 96 * (0.8L + 0.2L * (real(m.speed) - g.lowSpeed) / band))
                tr.enginePitch += 4;
        }
    }
    if (h.effectivePowerNotch == 0 || tr.gearShifting == 1) {
        if (tr.engineLevel > 3) tr.engineLevel -= 3;
        if (tr.enginePitch > 50) tr.enginePitch -= 2;
    }
}

}  // namespace ts
