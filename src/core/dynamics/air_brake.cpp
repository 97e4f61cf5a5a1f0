#include "dynamics/air_brake.h"

#include "dynamics/brake_types.h"

#include "controls/handle_model.h"
#include "dynamics/fixed_point.h"

namespace ts {

namespace {

constexpr int64_t kPa(long double v) { return static_cast<int64_t>(v * 10000); }

// Adds `kpa` (any real amount, may be negative) to a pressure, rounding the new sum.
void change(int64_t& p, long double kpa) { p = store(static_cast<long double>(p) + kpa * kFixedScale); }
void clamp(int64_t& p) {
    if (p < 0) p = 0;
}

void emergencyType0(Run& r, long double up, long double down) {
    if (r.bcPressure < kPa(r.ebPressure)) {
        change(r.bcPressure, up / 9);
        change(r.mrPressure, -up / 99);
        change(r.sapPressure, -down / 90);
    }
    change(r.erPressure, -up / 18);
    clamp(r.sapPressure);
    clamp(r.erPressure);
}

}  // namespace

void automaticAirBrake(Run& r, bool emergency) {
    const long double up = r.brakeUp, down = r.brakeDown;
    const int N = r.effectiveBrakeNotch;
    if (emergency || N == -4) {
        emergencyType0(r, up, down);
        return;
    }
    if (N == 0) {
        if (r.bcPressure < r.erPressure) change(r.bcPressure, -down / 30);
        change(r.erPressure, down / 30 / 2.5L);
        clamp(r.bcPressure);
        if (r.erPressure > kPa(490)) r.erPressure = kPa(490);
        else change(r.mrPressure, -up / 600);
    } else if (N == -1) {
        if (r.erPressure < kPa(490)) {
            change(r.erPressure, down / 30 / 2.5L);
            change(r.mrPressure, -up / 600);
        }
    } else if (N == -3) {
        if (r.bcPressure < kPa(r.ebPressure) &&
            r.bcPressure < (kPa(490) - r.erPressure) * 2.5L) {
            change(r.bcPressure, up / 30);
            change(r.sapPressure, -up / 90);
        }
        change(r.erPressure, -up / 75);
        clamp(r.erPressure);
        clamp(r.sapPressure);
    }
}

void bandedRelease(int64_t& p, long double down, long double upper, long double lower) {
    if (p > kPa(upper)) change(p, -down / 30);
    if (p > kPa(lower) && p <= kPa(upper)) change(p, -down / 60);
    if (p <= kPa(lower)) change(p, -down / 120);
}

void electroPneumaticBrake(Run& r, bool emergency) {
    const long double up = r.brakeUp, down = r.brakeDown;
    const int n = r.brakeNotchCount;
    const int N = r.effectiveBrakeNotch;
    const long double eb = r.ebPressure;
    const int64_t H = kPa(eb - eb / n);
    auto emergencyRule = [&] {
        if (r.bcPressure < kPa(eb)) {
            change(r.bcPressure, up / 15);
            change(r.mrPressure, -up / 150);
        }
        change(r.erPressure, -up / 10);
        change(r.sapPressure, -up / 10);
        clamp(r.erPressure);
        clamp(r.sapPressure);
    };
    if (emergency || N == -n) {
        emergencyRule();
    } else if (-n < N && N < 0) {
        const long double T = n > 1 ? eb / (n - 1) * (-N) : eb;
        if (real(r.bcPressure) + 10 < T) {
            change(r.bcPressure, up / 30 / 1.5L);
            change(r.mrPressure, -up / 300);
        }
        if (real(r.sapPressure) + 10 < T) change(r.sapPressure, up / 30 / 1.2L);
        if (real(r.bcPressure) > T && r.erPressure >= H) change(r.bcPressure, -down / 30 / 1.5L);
        if (real(r.sapPressure) > T) change(r.sapPressure, -down / 30 / 1.2L);
        clamp(r.bcPressure);
        clamp(r.sapPressure);
    } else if (N == 0 && r.bcPressure > 0 && r.erPressure >= H) {
        bandedRelease(r.bcPressure, down, 200, 100);
        bandedRelease(r.sapPressure, down, 200, 50);
        clamp(r.bcPressure);
        clamp(r.sapPressure);
    }
    if (N >= -n + 1) {
        change(r.erPressure, down / 150);
        if (r.erPressure > kPa(500)) r.erPressure = kPa(500);
    }
}

void electroPneumaticBrakeWithPipe(Run& r, bool emergency) {
    const long double up = r.brakeUp, down = r.brakeDown;
    const int n = r.brakeNotchCount;
    const int N = r.effectiveBrakeNotch;
    const long double eb = r.ebPressure;
    if (emergency || N == -n) {
        if (r.bcPressure < kPa(eb)) change(r.bcPressure, up / 15);
    } else if (-n < N && N < 0) {
        const long double T = eb / n * (-N);
        if (real(r.bcPressure) + 10 < T) {
            change(r.bcPressure, up / 30 / 1.5L);
            change(r.mrPressure, -up / 300);
        }
        if (real(r.bcPressure) > T) change(r.bcPressure, -down / 30 / 1.5L);
        clamp(r.bcPressure);
    } else if (N == 0 && r.bcPressure > 0) {
        bandedRelease(r.bcPressure, down, 200, 100);
        clamp(r.bcPressure);
    }
}

void brakePressures(Run& r) {
    const bool emergency = r.safetyEmergencyBrake == 1 || r.atsServiceBrake == 1;
    if (r.brakeNotchCount < 1) return;
    if (const auto rule = brakeTraits(r.brakeType).pressures) rule(r, emergency);
}

void brakeCylinderGauge(const TrainData& t, const Motion& m, AirBrake& air) {
    if (t.mc == 0) {
        air.bcGaugePressure = air.bcPressure;
    } else if (t.mc == 1) {
        const int64_t lose = int64_t(t.loseElec) * 10000;
        if (m.speed >= lose && (m.speed == lose || air.bcPressure >= kPa(50))) {
            air.bcGaugePressure = kPa(50);
        } else {
            const long double step = t.brakeUp / 30.0L / 1.5L;
            if (air.bcGaugePressure < air.bcPressure) change(air.bcGaugePressure, step);
            if (air.bcGaugePressure > air.bcPressure) change(air.bcGaugePressure, -step);
        }
    }
}

void compressor(const TrainData& t, AirBrake& air, TDDSD& sound) {
    if (air.mrPressure < kPa(t.lowAirPressure)) {
        if (air.compressorRunning == 0) {
            restart(sound, t.soundCpStart);
            restartLooping(sound, t.soundCpCnt);
        }
        air.compressorRunning = 1;
    }
    if (air.compressorRunning == 1 && air.mrPressure >= kPa(t.highAirPressure)) {
        restart(sound, t.soundCpEnd);
        sound.Channel(t.soundCpCnt).Stop();
        air.compressorRunning = 0;
    }
    if (air.compressorRunning == 1) air.mrPressure += 3000;
}

}  // namespace ts
