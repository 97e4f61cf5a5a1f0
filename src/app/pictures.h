// The pictures the program carries itself: the title screen's buttons, the
// loading picture and the driving window's back button.
#pragma once
#include <QPixmap>
#include <QString>

namespace ts {

QPixmap trainButtonPicture(const QString& text, int width = 313, int height = 41);
QPixmap smallButtonPicture(const QString& text, int width, int height);
QPixmap loadingPicture();
// The back button, drawn at `scale` times its 20 x 20 size for a screen of `ratio` device pixels per pixel.
QPixmap backButtonPicture(double scale = 1, qreal ratio = 1);

}  // namespace ts
