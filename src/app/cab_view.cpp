#include "cab_view.h"

#include <QPainter>

#include "qt_pictures.h"

namespace ts {

namespace {
const char* const kCard = "staffImage";
}

CardLayer::CardLayer(QtPictures& pictures, QWidget* parent) : QWidget(parent), pictures_(pictures) {
    setObjectName("cardLayer");
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setGeometry(0, 0, 640, 440);
}

void CardLayer::setCard(const PanelItem* card) {
    const bool shown = card && card->visible && card->picture && card->left < 640;
    if (!shown && !shown_) return;
    if (shown && shown_ && card->left == card_.left && card->top == card_.top && card->picture == card_.picture) return;
    if (card) card_ = *card;
    shown_ = shown;
    update();
}

void CardLayer::paintEvent(QPaintEvent*) {
    if (!shown_) return;
    QPainter p(this);
    p.drawImage(QPoint(card_.left, card_.top),
                card_.transparent ? pictures_.transparentImage(*card_.picture) : pictures_.image(*card_.picture));
}

CabView::CabView(QtPictures& pictures, QWidget* parent)
    : QWidget(parent), pictures_(pictures), card_(new CardLayer(pictures, this)) {
    setObjectName("cab");
    setFixedSize(640, 440);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void CabView::raiseCard() { card_->raise(); }

void CabView::takeFrom(const Run& run, const PanelModel& panel) {
    items_ = panel.items;
    clock_ = panel.clock;
    lists_[size_t(ImageSource::Signal)] = run.SignalImageList;
    lists_[size_t(ImageSource::Sign)] = run.SignImageList;
    lists_[size_t(ImageSource::Other)] = run.OtherImageList;
    lists_[size_t(ImageSource::NotchP)] = run.NotchImageP;
    lists_[size_t(ImageSource::NotchB)] = run.NotchImageB;
    lists_[size_t(ImageSource::Gear)] = run.GearImageList;
    const PanelItem* card = nullptr;
    for (const PanelItem& item : items_)
        if (item.name == kCard) card = &item;
    card_->setCard(card);
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
        if (!item.visible || item.name == kCard) continue;
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
