// The driving window's drawing surface: the driver's view at the top left and
// the panel pictures in their stacking order. Everything is placed in the
// window's 640 x 440 layout and drawn at the window's scale.
#pragma once
#include <QImage>
#include <QWidget>
#include <array>
#include <functional>
#include <unordered_map>
#include <vector>

#include "panel_model.h"
#include "run.h"

namespace ts {

class QtPictures;

constexpr int kCabWidth = 640;
constexpr int kCabHeight = 440;

class CabView;

// The timetable card, on a layer of its own above the window's labels: the
// card is made last at loading and lies over every other control.
class CardLayer : public QWidget {
public:
    explicit CardLayer(CabView& cab);

protected:
    void paintEvent(QPaintEvent*) override;

private:
    CabView& cab_;
};

class CabView : public QWidget {
    Q_OBJECT
    friend class CardLayer;

public:
    CabView(QtPictures& pictures, QWidget* parent = nullptr);

    // Takes what is to be drawn (called under the run's lock).
    void takeFrom(const Run& run, const PanelModel& panel);
    // The current driver's-view frame, and the next one mixed over it by `weight`
    // (smooth view); both at the size the view is shown at.
    void setView(const QImage& frame, const QImage& next = {}, double weight = 0);

    // 1 draws the layout as it is; 1.5, 2, ... draw it that much larger.
    void setScale(double scale);
    double scale() const { return scale_; }
    // A layout rectangle in this widget's pixels.
    QRect scaled(const QRect& r) const;
    // The view's size in device pixels (what a frame is converted to).
    QSize viewPixelSize() const;
    QSize frameSize() const { return view_.size(); }
    const QImage& shownView() const { return view_; }
    double weight() const { return weight_; }
    // Puts the card's layer above every child made so far (the labels, the back button).
    void raiseCard();
    // Told how long each paint of the widget took, in milliseconds (for measuring).
    std::function<void(double)> painted;

protected:
    void paintEvent(QPaintEvent*) override;

private:
    void drawAll();
    const ImageList& list(ImageSource s) const;
    // A picture at the drawn size, smoothly scaled once and kept.
    QImage atScale(const QImage& img);

    QtPictures& pictures_;
    std::vector<PanelItem> items_;
    ClockFace clock_;
    std::array<ImageList, 7> lists_;
    QImage view_, next_;
    double weight_ = 0;
    double scale_ = 1;
    qreal cachedRatio_ = 0;
    std::unordered_map<qint64, QImage> scaledPictures_;
    CardLayer* card_;
};

}  // namespace ts
