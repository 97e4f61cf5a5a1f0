#include "cab_view.h"

#include <QElapsedTimer>
#include <QPainter>
#include <cmath>

#include "devices/frame_source.h"
#include "qt_pictures.h"
#include "view_blend.h"

namespace ts {

CardLayer::CardLayer(CabView& cab) : QWidget(&cab), cab_(cab) {
    setObjectName("cardLayer");
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void CardLayer::paintEvent(QPaintEvent*) {
    for (const PanelItem& item : cab_.items_) {
        if (item.name != cn::staffImage || !item.visible || !item.picture || item.left >= kCabWidth) continue;
        QPainter p(this);
        const QRect r = cab_.scaled(QRect(item.left, item.top, item.width, item.height));
        p.drawImage(r.topLeft(), cab_.atScale(item.transparent ? cab_.pictures_.transparentImage(*item.picture)
                                                               : cab_.pictures_.image(*item.picture)));
    }
}

CabView::CabView(QtPictures& pictures, QWidget* parent)
    : QWidget(parent), pictures_(pictures), card_(new CardLayer(*this)) {
    setObjectName("cab");
    setFixedSize(kCabWidth, kCabHeight);
    card_->setGeometry(rect());
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void CabView::setScale(double scale) {
    if (scale == scale_) return;
    scale_ = scale;
    scaledPictures_.clear();
    setFixedSize(scaled(QRect(0, 0, kCabWidth, kCabHeight)).size());
    card_->setGeometry(rect());
    update();
}

QRect CabView::scaled(const QRect& r) const {
    if (scale_ == 1) return r;
    const int left = int(std::lround(r.left() * scale_)), top = int(std::lround(r.top() * scale_));
    const int right = int(std::lround((r.left() + r.width()) * scale_));
    const int bottom = int(std::lround((r.top() + r.height()) * scale_));
    return QRect(left, top, right - left, bottom - top);
}

QSize CabView::viewPixelSize() const {
    const QSize logical = scaled(QRect(0, 0, kViewWidth, kViewHeight)).size();
    const qreal ratio = devicePixelRatioF();
    return QSize(int(std::lround(logical.width() * ratio)), int(std::lround(logical.height() * ratio)));
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
    card_->update();
}

void CabView::setView(const QImage& frame, const QImage& next, double weight) {
    view_ = frame;
    next_ = next;
    weight_ = next.isNull() ? 0 : weight;
    update(scaled(QRect(0, 0, kViewWidth, kViewHeight)));
}

void CabView::raiseCard() { card_->raise(); }

const ImageList& CabView::list(ImageSource s) const { return lists_[size_t(s)]; }

QImage CabView::atScale(const QImage& img) {
    const qreal ratio = devicePixelRatioF();
    if (ratio != cachedRatio_) {
        scaledPictures_.clear();
        cachedRatio_ = ratio;
    }
    if (scale_ == 1 && ratio == 1) return img;
    auto [it, fresh] = scaledPictures_.try_emplace(img.cacheKey());
    if (fresh) {
        const QSize size(int(std::lround(img.width() * scale_ * ratio)),
                         int(std::lround(img.height() * scale_ * ratio)));
        it->second = img.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        it->second.setDevicePixelRatio(ratio);
    }
    return it->second;
}

void CabView::paintEvent(QPaintEvent*) {
    QElapsedTimer timer;
    if (painted) timer.start();
    drawAll();
    if (painted) painted(double(timer.nsecsElapsed()) / 1e6);
}

void CabView::drawAll() {
    QPainter p(this);
    p.fillRect(rect(), Qt::black);
    drawView(p, scaled(QRect(0, 0, kViewWidth, kViewHeight)), view_, next_, weight_);

    for (const PanelItem& item : items_) {
        if (!item.visible || item.name == cn::staffImage) continue;
        const QRect r = scaled(QRect(item.left, item.top, item.width, item.height));
        switch (item.kind) {
            case PanelItem::Kind::Picture:
                if (item.picture) {
                    p.drawImage(r.topLeft(), atScale(item.transparent ? pictures_.transparentImage(*item.picture)
                                                                      : pictures_.image(*item.picture)));
                } else if (item.name == cn::stopline.text) {
                    p.fillRect(r, QColor(255, 64, 64));
                }
                break;
            case PanelItem::Kind::Slot: {
                const ImageList& l = list(item.source);
                if (item.drawn && l.holds(*item.drawn)) {
                    const QImage img = atScale(pictures_.transparentImage(l.pictures[size_t(*item.drawn)]));
                    p.drawImage(scaled(QRect(item.left, item.top, l.width, l.height)), img);
                }
                break;
            }
            case PanelItem::Kind::Needle:
                if (item.picture) {
                    // Turned at the drawn size: the scaled picture is rotated, not a turned small one enlarged.
                    const QImage img = atScale(pictures_.transparentImage(*item.picture));
                    const QSizeF size = img.deviceIndependentSize();
                    p.save();
                    p.setClipRect(r);
                    p.setRenderHint(QPainter::SmoothPixmapTransform);
                    p.setRenderHint(QPainter::Antialiasing);
                    p.translate(r.x() + r.width() / 2.0, r.y() + r.height() / 2.0);
                    p.rotate(item.angle);
                    p.drawImage(QPointF(-size.width() / 2.0, -size.height() / 2.0), img);
                    p.restore();
                }
                break;
            case PanelItem::Kind::Clock:
                if (clock_.drawn) {
                    p.fillRect(r, palette().button());
                    p.save();
                    if (scale_ != 1) {
                        p.setRenderHint(QPainter::Antialiasing);
                        p.translate(r.topLeft());
                        p.scale(scale_, scale_);
                        p.translate(-item.left, -item.top);
                    }
                    const QRect l(item.left, item.top, item.width, item.height);
                    p.setPen(QPen(Qt::black, 1));
                    const QPoint c(l.x() + 25, l.y() + 25);
                    for (const auto& hand : {clock_.hour, clock_.minute, clock_.second})
                        p.drawLine(c, QPoint(l.x() + hand.first, l.y() + hand.second));
                    p.restore();
                }
                break;
        }
    }
}

}  // namespace ts
