// The driver's view between two frames: while the train runs slower than the
// recording, frame n and the next frame in the direction of travel are mixed
// by how far the train has come from n towards it.
#pragma once
#include <QImage>
#include <QRect>
#include <cstdint>

class QPainter;

namespace ts {

// Weight of the next frame, in [0, 1): 0 (frame n alone) when standing, at or
// above the recorded speed, or when blending is off. `accumulator` is the
// km/h not yet turned into frames; `speedKmh` the whole km/h added per tick.
double nextFrameWeight(int64_t speed, int32_t accumulator, int32_t recordedSpeedKmh, int64_t speedKmh);

// Draws `shown` into `target`, and over it `next` with the opacity `weight`
// when that is above 0.
void drawView(QPainter& p, const QRect& target, const QImage& shown, const QImage& next, double weight);

// The picture drawView makes, at the size of `shown` (for checking the mix).
QImage blendedView(const QImage& shown, const QImage& next, double weight);

}  // namespace ts
