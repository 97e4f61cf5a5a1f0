// The driving window's drawing surface: the driver's view at the top left and
// the panel pictures in their stacking order.
#pragma once
#include <QImage>
#include <QWidget>
#include <array>
#include <vector>

#include "panel_model.h"
#include "run.h"

namespace ts {

class QtPictures;

// The timetable card, on a layer of its own above the window's labels: the
// card is made last at loading and lies over every other control.
class CardLayer : public QWidget {
    Q_OBJECT
public:
    CardLayer(QtPictures& pictures, QWidget* parent);
    void setCard(const PanelItem* card);

protected:
    void paintEvent(QPaintEvent*) override;

private:
    QtPictures& pictures_;
    PanelItem card_;
    bool shown_ = false;
};

class CabView : public QWidget {
    Q_OBJECT
public:
    CabView(QtPictures& pictures, QWidget* parent = nullptr);
    // Puts the card's layer above the controls made on the view so far.
    void raiseCard();

    // Takes what is to be drawn (called under the run's lock).
    void takeFrom(const Run& run, const PanelModel& panel);
    // The current driver's-view frame (480 x 240).
    void setView(const QImage& frame);

protected:
    void paintEvent(QPaintEvent*) override;

private:
    const ImageList& list(ImageSource s) const;

    QtPictures& pictures_;
    std::vector<PanelItem> items_;
    ClockFace clock_;
    std::array<ImageList, 7> lists_;
    QImage view_;
    CardLayer* card_;
};

}  // namespace ts
