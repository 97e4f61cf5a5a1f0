#include "pictures.h"

#include <QCoreApplication>
#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <cmath>

namespace ts {

namespace {

QPixmap plate(int w, int h, const QColor& top, const QColor& bottom, const QString& text, int pixelSize) {
    QPixmap pm(w, h);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient g(0, 0, 0, h);
    g.setColorAt(0, top);
    g.setColorAt(1, bottom);
    QPainterPath path;
    path.addRoundedRect(QRectF(1, 1, w - 2, h - 2), h / 3.0, h / 3.0);
    p.fillPath(path, g);
    p.setPen(QPen(QColor(255, 255, 255, 200), 1.5));
    p.drawPath(path);
    QFont f("Noto Sans CJK JP");
    f.setPixelSize(pixelSize);
    f.setBold(true);
    p.setFont(f);
    p.setPen(QColor(0, 0, 0, 120));
    p.drawText(QRect(1, 1, w, h), Qt::AlignCenter, text);
    p.setPen(Qt::white);
    p.drawText(QRect(0, 0, w, h), Qt::AlignCenter, text);
    return pm;
}

}  // namespace

QPixmap trainButtonPicture(const QString& text, int width, int height) {
    return plate(width, height, QColor(40, 110, 190, 230), QColor(10, 40, 90, 230), text, 20);
}

QPixmap smallButtonPicture(const QString& text, int width, int height) {
    return plate(width, height, QColor(120, 120, 130, 230), QColor(40, 40, 50, 230), text, 13);
}

QPixmap loadingPicture() {
    return plate(313, 41, QColor(200, 120, 20, 240), QColor(120, 60, 0, 240),
                 QCoreApplication::translate("Pictures", "Loading…"), 20);
}

QPixmap backButtonPicture(double scale, qreal ratio) {
    const int side = int(std::lround(20 * scale * ratio));
    QPixmap pm(side, side);
    pm.setDevicePixelRatio(ratio);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    if (scale != 1) p.scale(scale, scale);
    p.setRenderHint(QPainter::Antialiasing);
    p.setBrush(QColor(90, 90, 100));
    p.setPen(QPen(Qt::white, 1));
    p.drawRoundedRect(QRectF(0.5, 0.5, 19, 19), 4, 4);
    p.setPen(QPen(Qt::white, 2));
    p.drawLine(QPointF(13, 5), QPointF(7, 10));
    p.drawLine(QPointF(7, 10), QPointF(13, 15));
    return pm;
}

}  // namespace ts
