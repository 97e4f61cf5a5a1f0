#include "view_blend.h"

#include <QPainter>

#include <algorithm>

namespace ts {

double nextFrameWeight(int64_t speed, int32_t accumulator, int32_t recordedSpeedKmh, int64_t speedKmh) {
    if (speed == 0 || recordedSpeedKmh < 1 || speedKmh >= recordedSpeedKmh) return 0;
    if (accumulator <= 0) return 0;
    // The accumulator stays below the recorded speed between steps; a step
    // caught half way through is kept inside the range.
    return std::min(double(accumulator) / recordedSpeedKmh, 0.999);
}

void drawView(QPainter& p, const QRect& target, const QImage& shown, const QImage& next, double weight) {
    if (shown.isNull()) return;
    p.drawImage(target, shown);
    if (weight <= 0 || next.isNull()) return;
    p.save();
    p.setOpacity(weight);
    p.drawImage(target, next);
    p.restore();
}

QImage blendedView(const QImage& shown, const QImage& next, double weight) {
    QImage out(shown.size(), QImage::Format_RGB32);
    out.fill(Qt::black);
    QPainter p(&out);
    drawView(p, out.rect(), shown, next, weight);
    return out;
}

}  // namespace ts
