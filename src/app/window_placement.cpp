#include "window_placement.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include <algorithm>

namespace ts {

QRect fitInside(QRect rect, const QRect& area) {
    if (area.isEmpty()) return rect;
    rect.setWidth(std::min(rect.width(), area.width()));
    rect.setHeight(std::min(rect.height(), area.height()));
    rect.moveLeft(std::clamp(rect.left(), area.left(), area.right() - rect.width() + 1));
    rect.moveTop(std::clamp(rect.top(), area.top(), area.bottom() - rect.height() + 1));
    return rect;
}

QScreen* screenOf(const QWidget* w) {
    if (w) {
        if (QScreen* s = QGuiApplication::screenAt(w->frameGeometry().center())) return s;
        if (QScreen* s = w->screen()) return s;
    }
    return QGuiApplication::primaryScreen();
}

void showOver(QWidget* w, const QWidget* opener) {
    QScreen* screen = screenOf(opener && opener->isVisible() ? opener : nullptr);
    const QRect area = screen ? screen->availableGeometry() : QRect();
    // The frame the window manager adds is not known before the first show:
    // leave room for a title bar and a border.
    const QMargins frame(8, 32, 8, 8);
    QRect want(QPoint(0, 0), w->size().grownBy(frame));
    want.moveCenter(opener && opener->isVisible() ? opener->frameGeometry().center() : area.center());
    const QRect got = fitInside(want, area).marginsRemoved(frame);
    w->resize(got.size());
    w->move(got.topLeft() - QPoint(frame.left(), frame.top()));
    if (w->isHidden()) w->show();
    w->raise();
    w->activateWindow();
}

}  // namespace ts
