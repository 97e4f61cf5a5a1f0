#include "dynamics/adhesion.h"

#include <algorithm>

#include "dynamics/fixed_point.h"

namespace ts {

namespace {
constexpr long double g = 9.8L;
}

long double gradientCosine(const Run& r) {
    const long double p = static_cast<long double>(r.trainGradient);
    return 1000.0L / std::sqrt((p * p + 1e14L) / 1e8L);
}

void updateAdhesion(Run& r) {
    const long double u = std::fabs(real(r.speed));
    r.adhesionCoefficient = store((0.05L * u + 1) / (0.1L * u + 1) * r.baseAdhesion);
}

void gradientForce(Run& r) {
    const long double p = real(r.trainGradient);
    const long double tons = real(r.trainTons);
    r.resistanceForce = store(-g * tons * 1000 * p / std::sqrt(p * p + 1000.0L * 1000.0L) * kFixedScale + r.resistanceForce);
}

const char* slipAndSlide(Run& r) {
    const long double cosTheta = gradientCosine(r);
    const long double force = static_cast<long double>(r.appliedForce) * kFixedScale;
    const long double adhesion = static_cast<long double>(r.adhesionCoefficient);
    if (r.powerNotch >= 1 && force > cosTheta * adhesion * r.mt * 1000 * g) {
        r.appliedForce = store(adhesion / 2 * r.mt * 1000 * g / kFixedScale);
        return "Racing";
    }
    if (r.brakeNotch < 0 && -force > cosTheta * adhesion * r.trainTons * 1000 * g) {
        r.appliedForce = store(-adhesion * r.trainTons * 1000 * g / kFixedScale);
        return "Sliding";
    }
    return "Normal";
}

void startingResistance(Run& r) {
    const long double u = std::fabs(real(r.speed));
    if (u >= 8) return;
    const long double tons = static_cast<long double>(r.trainTons);
    const long double rf = static_cast<long double>(r.resistanceForce) * kFixedScale;
    if (r.speed > 0) r.resistanceForce = store((-(80000.0L - r.speed) * g * tons + rf) / kFixedScale);
    if (r.speed < 0) r.resistanceForce = store(((80000.0L - std::fabs(static_cast<long double>(r.speed))) * g * tons + rf) / kFixedScale);
}

void runningResistance(Run& r) {
    const long double u = std::fabs(real(r.speed));
    if (u <= 0.1L) return;
    const long double tons = real(r.trainTons);
    const long double R = g * ((1.32L + 0.0164L * u) * tons + (0.028L + 0.0078L * (r.carCount - 1)) * u * u);
    if (r.speed > 0) r.resistanceForce = store(r.resistanceForce - R * kFixedScale);
    if (r.speed < 0) r.resistanceForce = store(r.resistanceForce + R * kFixedScale);
}

void sampleTrainGradient(Run& r) {
    const int64_t mark = store(r.stopDistance / 100);
    if (mark % 20 != 0 || mark == r.gradientSampleMark) return;
    r.gradientSampleMark = mark;
    // The loader keeps [Cars] within 1 .. 20; a train file without it counts one car.
    const int cars = std::clamp(r.carCount, 1, kMaxCars);
    for (int i = cars - 1; i >= 1; --i) r.carGradients[size_t(i)] = r.carGradients[size_t(i - 1)];
    r.carGradients[0] = storeInt(real(r.pointGradient));
    long double sum = 0;
    for (int i = 0; i < cars; ++i) sum += r.carGradients[size_t(i)];
    r.trainGradient = store(sum / cars * kFixedScale);
}

}  // namespace ts
