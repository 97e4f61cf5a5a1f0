// Drawn pictures of the demo data set: title, cab panels, gauges and needles,
// lamps, notch and gear indicators, signal and sign lists, timetable cards.
#pragma once
#include <QImage>
#include <QString>
#include <vector>

#include "line.h"

namespace demo {

QImage titlePicture();
// The panel below the view; `tunnel` gives the darker panel shown in tunnels.
QImage panelPicture(bool electric, bool tunnel);
QImage clockDial();  // 50 x 50, transparent: rim and hour marks of the analogue clock
QImage needlePicture(int size, QColor colour);
QImage lamp(const QString& text, QColor on, int w = 44, int h = 20);
QImage notchIndicator(const QString& text, QColor colour);
QImage signalPicture(int index);  // 50 x 100, image index of the signal table
QImage signPicture(int index);    // 50 x 50: stop, up, down, limits 15 .. 120
QImage otherSign(int index);      // 100 x 50
QImage timetableCard(const Line& line);

}  // namespace demo
