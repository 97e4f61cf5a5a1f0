#include "dynamics/air_brake.h"

#include "dynamics/brake_types.h"

#include "dynamics/fixed_point.h"
#include "sound_channels.h"

namespace ts {

namespace {

constexpr int64_t kPa(long double v) { return static_cast<int64_t>(v * kFixedScale); }

// Adds `kpa` (any real amount, may be negative) to a pressure, rounding the new sum.
void change(int64_t& p, long double kpa) { p = store(static_cast<long double>(p) + kpa * kFixedScale); }
void clamp(int64_t& p) {
    if (p < 0) p = 0;
}

void emergencyType0(const TrainData& t, AirBrake& air, long double up, long double down) {
    if (air.bcPressure < kPa(t.ebPressure)) {
        change(air.bcPressure, up / 9);
        change(air.mrPressure, -up / 99);
        change(air.sapPressure, -down / 90);
    }
    change(air.erPressure, -up / 18);
    clamp(air.sapPressure);
    clamp(air.erPressure);
}

}  // namespace

void automaticAirBrake(const TrainData& t, const Handles& h, AirBrake& air, bool emergency) {
    const long double up = t.brakeUp, down = t.brakeDown;
    const int N = h.effectiveBrakeNotch;
    if (emergency || N == -4) {
        emergencyType0(t, air, up, down);
        return;
    }
    if (N == 0) {
        if (air.bcPressure < air.erPressure) change(air.bcPressure, -down / 30);
        change(air.erPressure, down / 30 / 2.5L);
        clamp(air.bcPressure);
        if (air.erPressure > kPa(490))
            air.erPressure = kPa(490);
        else
            change(air.mrPressure, -up / 600);
    } else if (N == -1) {
        if (air.erPressure < kPa(490)) {
            change(air.erPressure, down / 30 / 2.5L);
            change(air.mrPressure, -up / 600);
        }
    } else if (N == -3) {
        if (air.bcPressure < kPa(t.ebPressure) && air.bcPressure < (kPa(490) - air.erPressure) * 2.5L) {
            change(air.bcPressure, up / 30);
            change(air.sapPressure, -up / 90);
        }
        change(air.erPressure, -up / 75);
        clamp(air.erPressure);
        clamp(air.sapPressure);
    }
}

void bandedRelease(int64_t& p, long double down, long double upper, long double lower) {
    if (p > kPa(upper)) change(p, -down / 30);
    if (p > kPa(lower) && p <= kPa(upper)) change(p, -down / 60);
    if (p <= kPa(lower)) change(p, -down / 120);
}

void electroPneumaticBrake(const TrainData& t, const Handles& h, AirBrake& air, bool emergency) {
    const long double up = t.brakeUp, down = t.brakeDown;
    const int n = h.brakeNotchCount;
    const int N = h.effectiveBrakeNotch;
    const long double eb = t.ebPressure;
    const int64_t H = kPa(eb - eb / n);
    auto emergencyRule = [&] {
        if (air.bcPressure < kPa(eb)) {
            change(air.bcPressure, up / 15);
            change(air.mrPressure, -up / 150);
        }
        change(air.erPressure, -up / 10);
        change(air.sapPressure, -up / 10);
        clamp(air.erPressure);
        clamp(air.sapPressure);
    };
    if (emergency || N == -n) {
        emergencyRule();
    } else if (-n < N && N < 0) {
        const long double T = n > 1 ? eb / (n - 1) * (-N) : eb;
        if (real(air.bcPressure) + 10 < T) {
            change(air.bcPressure, up / 30 / 1.5L);
            change(air.mrPressure, -up / 300);
        }
        if (real(air.sapPressure) + 10 < T) change(air.sapPressure, up / 30 / 1.2L);
        if (real(air.bcPressure) > T && air.erPressure >= H) change(air.bcPressure, -down / 30 / 1.5L);
        if (real(air.sapPressure) > T) change(air.sapPressure, -down / 30 / 1.2L);
        clamp(air.bcPressure);
        clamp(air.sapPressure);
    } else if (N == 0 && air.bcPressure > 0 && air.erPressure >= H) {
        bandedRelease(air.bcPressure, down, 200, 100);
        bandedRelease(air.sapPressure, down, 200, 50);
        clamp(air.bcPressure);
        clamp(air.sapPressure);
    }
    if (N >= -n + 1) {
        change(air.erPressure, down / 150);
        if (air.erPressure > kPa(500)) air.erPressure = kPa(500);
    }
}

void electroPneumaticBrakeWithPipe(const TrainData& t, const Handles& h, AirBrake& air, bool emergency) {
    const long double up = t.brakeUp, down = t.brakeDown;
    const int n = h.brakeNotchCount;
    const int N = h.effectiveBrakeNotch;
    const long double eb = t.ebPressure;
    if (emergency || N == -n) {
        if (air.bcPressure < kPa(eb)) change(air.bcPressure, up / 15);
    } else if (-n < N && N < 0) {
        const long double T = eb / n * (-N);
        if (real(air.bcPressure) + 10 < T) {
            change(air.bcPressure, up / 30 / 1.5L);
            change(air.mrPressure, -up / 300);
        }
        if (real(air.bcPressure) > T) change(air.bcPressure, -down / 30 / 1.5L);
        clamp(air.bcPressure);
    } else if (N == 0 && air.bcPressure > 0) {
        bandedRelease(air.bcPressure, down, 200, 100);
        clamp(air.bcPressure);
    }
}

void brakePressures(const TrainData& t, const Protection& p, const Handles& h, AirBrake& air) {
    const bool emergency = p.safetyEmergencyBrake == 1 || p.atsServiceBrake == 1;
    if (h.brakeNotchCount < 1) return;
    if (const auto rule = brakeTraits(t.brakeType).pressures) rule(t, h, air, emergency);
}

void brakeCylinderGauge(const TrainData& t, const Motion& m, AirBrake& air) {
    if (t.mc == 0) {
        air.bcGaugePressure = air.bcPressure;
    } else if (t.mc == 1) {
        const int64_t lose = int64_t(t.loseElec) * kFixedOne;
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
