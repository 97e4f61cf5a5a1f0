#include "dynamics/adhesion.h"

#include <algorithm>

#include "dynamics/fixed_point.h"

namespace ts {

namespace {
constexpr long double g = kGravity;
}

long double gradientCosine(const Adhesion& a) {
    const long double p = static_cast<long double>(a.trainGradient);
    return 1000.0L / std::sqrt((p * p + 1e14L) / 1e8L);
}

void updateAdhesion(const Motion& m, Adhesion& a) {
    const long double u = std::fabs(real(m.speed));
    a.adhesionCoefficient = store((0.05L * u + 1) / (0.1L * u + 1) * a.baseAdhesion);
}

void gradientForce(const TrainData& t, const Adhesion& a, Motion& m) {
    const long double p = real(a.trainGradient);
    const long double tons = real(t.trainTons);
    m.resistanceForce =
        store(-g * tons * 1000 * p / std::sqrt(p * p + 1000.0L * 1000.0L) * kFixedScale + m.resistanceForce);
}

const char* slipAndSlide(const TrainData& t, const Handles& h, const Adhesion& a, Motion& m) {
    const long double cosTheta = gradientCosine(a);
    const long double force = static_cast<long double>(m.appliedForce) * kFixedScale;
    const long double adhesion = static_cast<long double>(a.adhesionCoefficient);
    if (h.powerNotch >= 1 && force > cosTheta * adhesion * t.mt * 1000 * g) {
        m.appliedForce = store(adhesion / 2 * t.mt * 1000 * g / kFixedScale);
        return "Racing";
    }
    if (h.brakeNotch < 0 && -force > cosTheta * adhesion * t.trainTons * 1000 * g) {
        m.appliedForce = store(-adhesion * t.trainTons * 1000 * g / kFixedScale);
        return "Sliding";
    }
    return "Normal";
}

void startingResistance(const TrainData& t, Motion& m) {
    const long double u = std::fabs(real(m.speed));
    if (u >= 8) return;
    const long double tons = static_cast<long double>(t.trainTons);
    const long double rf = static_cast<long double>(m.resistanceForce) * kFixedScale;
    if (m.speed > 0) m.resistanceForce = store((-(80000.0L - m.speed) * g * tons + rf) / kFixedScale);
    if (m.speed < 0)
        m.resistanceForce =
            store(((80000.0L - std::fabs(static_cast<long double>(m.speed))) * g * tons + rf) / kFixedScale);
}

void runningResistance(const TrainData& t, Motion& m) {
    const long double u = std::fabs(real(m.speed));
    if (u <= 0.1L) return;
    const long double tons = real(t.trainTons);
    const long double R = g * ((1.32L + 0.0164L * u) * tons + (0.028L + 0.0078L * (t.carCount - 1)) * u * u);
    if (m.speed > 0) m.resistanceForce = store(m.resistanceForce - R * kFixedScale);
    if (m.speed < 0) m.resistanceForce = store(m.resistanceForce + R * kFixedScale);
}

void sampleTrainGradient(const TrainData& t, const Motion& m, const SignState& signs, Adhesion& a) {
    const int64_t mark = store(m.stopDistance / 100);
    if (mark % 20 != 0 || mark == a.gradientSampleMark) return;
    a.gradientSampleMark = mark;
    // The loader keeps [Cars] within 1 .. 20; a train file without it counts one car.
    const int cars = std::clamp(t.carCount, 1, kMaxCars);
    for (int i = cars - 1; i >= 1; --i) a.carGradients[size_t(i)] = a.carGradients[size_t(i - 1)];
    a.carGradients[0] = storeInt(real(signs.pointGradient));
    long double sum = 0;
    for (int i = 0; i < cars; ++i) sum += a.carGradients[size_t(i)];
    a.trainGradient = store(sum / cars * kFixedScale);
}

}  // namespace ts
