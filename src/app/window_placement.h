// Where a window the driver opens comes up: inside the available area of the
// screen its opener is on, over that opener, and no larger than that area.
#pragma once
#include <QRect>

QT_BEGIN_NAMESPACE
class QScreen;
class QWidget;
QT_END_NAMESPACE

namespace ts {

// `rect` moved (and, when it cannot fit, shrunk) to lie wholly inside `area`.
QRect fitInside(QRect rect, const QRect& area);
// The screen `w` stands on (its centre's), or the primary screen.
QScreen* screenOf(const QWidget* w);
// Sizes and moves the top-level `w` over the centre of `opener` (the screen's
// centre without one), inside the screen's available area; then shows it
// above its opener.
void showOver(QWidget* w, const QWidget* opener);

}  // namespace ts
