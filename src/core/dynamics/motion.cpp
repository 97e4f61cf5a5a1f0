#include "dynamics/motion.h"

#include <cstdlib>

#include "dynamics/fixed_point.h"

namespace ts {

int64_t speedAfter(const Run& r, int64_t force) {
    // A train file without [Tons] has no mass to accelerate.
    if (r.trainTons <= 0) return r.speed;
    return store(static_cast<long double>(force) / (static_cast<long double>(r.trainTons) * 1000) * 3.6L / 30 * kFixedScale +
                 r.speed);
}

void advanceFrames(Run& r) {
    r.frameAccumulator = boundedAdd(r.frameAccumulator, std::llabs(store(real(r.speed))));
    if (r.frameAccumulator >= r.recordedSpeedKmh) {
        if (r.recordedSpeedKmh < 1) r.recordedSpeedKmh = 1;
        const int32_t frames = r.frameAccumulator / r.recordedSpeedKmh;
        r.frameAccumulator -= frames * r.recordedSpeedKmh;
        if (r.speed > 0) r.trainPosition = boundedAdd(r.trainPosition, frames);
        if (r.speed < 0) r.trainPosition = boundedAdd(r.trainPosition, -int64_t(frames));
    }
}

void updateRecordedSpeed(Run& r) {
    for (const Speed_UnitData& row : r.speedUnitTable) {
        if (row.fromPosition > r.trainPosition || r.trainPosition > row.toPosition) continue;
        // A row of one frame has no slope to interpolate.
        if (row.fromPosition == row.toPosition) continue;
        const long double slope = static_cast<long double>(row.toSpeed - row.fromSpeed) / (row.toPosition - row.fromPosition);
        r.recordedSpeedKmh = storeInt(slope * (r.trainPosition - row.fromPosition) + row.fromSpeed);
    }
}

int ticksPerFrame(const Run& r) {
    // The loader keeps [FrameRate] within 1 .. 30; a route without it counts a tick per frame.
    return r.frameRate >= 1 && r.frameRate <= 30 ? 30 / r.frameRate : 1;
}

}  // namespace ts
