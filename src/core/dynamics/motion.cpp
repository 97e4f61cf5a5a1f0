#include "dynamics/motion.h"

#include <cstdlib>

#include "dynamics/fixed_point.h"

namespace ts {

int64_t speedAfter(const TrainData& t, const Motion& m, int64_t force) {
    // A train file without [Tons] has no mass to accelerate.
    if (t.trainTons <= 0) return m.speed;
    return store(static_cast<long double>(force) / (static_cast<long double>(t.trainTons) * 1000) * 3.6L / 30 *
                     kFixedScale +
                 m.speed);
}

void advanceFrames(Motion& m) {
    m.frameAccumulator = boundedAdd(m.frameAccumulator, std::llabs(store(real(m.speed))));
    if (m.frameAccumulator >= m.recordedSpeedKmh) {
        if (m.recordedSpeedKmh < 1) m.recordedSpeedKmh = 1;
        const int32_t frames = m.frameAccumulator / m.recordedSpeedKmh;
        m.frameAccumulator -= frames * m.recordedSpeedKmh;
        if (m.speed > 0) m.trainPosition = boundedAdd(m.trainPosition, frames);
        if (m.speed < 0) m.trainPosition = boundedAdd(m.trainPosition, -int64_t(frames));
    }
}

void updateRecordedSpeed(const RouteData& route, Motion& m) {
    for (const Speed_UnitData& row : route.speedUnitTable) {
        if (row.fromPosition > m.trainPosition || m.trainPosition > row.toPosition) continue;
        // A row of one frame has no slope to interpolate.
        if (row.fromPosition == row.toPosition) continue;
        const long double slope =
            static_cast<long double>(row.toSpeed - row.fromSpeed) / (row.toPosition - row.fromPosition);
        m.recordedSpeedKmh = storeInt(slope * (m.trainPosition - row.fromPosition) + row.fromSpeed);
    }
}

int ticksPerFrame(const RouteData& route) {
    // The loader keeps [FrameRate] within 1 .. 30; a route without it counts a tick per frame.
    return route.frameRate >= 1 && route.frameRate <= 30 ? 30 / route.frameRate : 1;
}

}  // namespace ts
