#include "cab_view.h"

#include <QPainter>

#include "qt_pictures.h"

namespace ts {

CabView::CabView(QtPictures& pictures, QWidget* parent) : QWidget(parent), pictures_(pictures) {
    setObjectName("cab");
    setFixedSize(640, 440);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void CabView::takeFrom(const Run& run, const PanelModel& panel) {
    items_ = panel.items;
    clock_ = panel.clock;
    lists_[size_t(ImageSource::Signal)] = run.SignalImageList;
    lists_[size_t(ImageSource::Sign)] = run.SignImageList;
    lists_[size_t(ImageSource::Other)] = run.OtherImageList;
    lists_[size_t(ImageSource::NotchP)] = run.NotchImageP;
    lists_[size_t(ImageSource::NotchB)] = run.NotchImageB;
    lists_[size_t(ImageSource::Gear)] = run.GearImageList;
    update();
}

void CabView::setView(const QImage& frame) {
    view_ = frame;
    update(0, 0, 480, 240);
}

const ImageList& CabView::list(ImageSource s) const { return lists_[size_t(s)]; }

void CabView::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), Qt::black);
    if (!view_.isNull()) p.drawImage(QRect(0, 0, 480, 240), view_);

    for (const PanelItem& item : items_) {
        if (!item.visible) continue;
        const QRect r(item.left, item.top, item.width, item.height);
        switch (item.kind) {
            case PanelItem::Kind::Picture:
                if (item.picture) {
                    p.drawImage(r.topLeft(), item.transparent ? pictures_.transparentImage(*item.picture)
                                                              : pictures_.image(*item.picture));
                } else if (item.name == "stopline") {
                    p.fillRect(r, QColor(255, 64, 64));
                }
                break;
            case PanelItem::Kind::Slot: {
                const ImageList& l = list(item.source);
                if (item.drawn && l.holds(*item.drawn)) {
                    const QImage img = pictures_.transparentImage(l.pictures[size_t(*item.drawn)]);
                    p.drawImage(QRect(item.left, item.top, l.width, l.height), img);
                }
                break;
            }
            case PanelItem::Kind::Needle:
                if (item.picture) {
                    const QImage img = pictures_.transparentImage(*item.picture);
                    p.save();
                    p.setClipRect(r);
                    p.setRenderHint(QPainter::SmoothPixmapTransform);
                    p.setRenderHint(QPainter::Antialiasing);
                    p.translate(r.x() + r.width() / 2.0, r.y() + r.height() / 2.0);
                    p.rotate(item.angle);
                    p.drawImage(QPointF(-img.width() / 2.0, -img.height() / 2.0), img);
                    p.restore();
                }
                break;
            case PanelItem::Kind::Clock:
                if (clock_.drawn) {
                    p.fillRect(r, palette().button());
                    p.setPen(QPen(Qt::black, 1));
                    const QPoint c(r.x() + 25, r.y() + 25);
                    for (const auto& hand : {clock_.hour, clock_.minute, clock_.second})
                        p.drawLine(c, QPoint(r.x() + hand.first, r.y() + hand.second));
                }
                break;
        }
    }
}

}  // namespace ts
