// The chart of the editor's dialogs that propose a recorded speed (the GPS
// import, the speed from the video): the route's curve as it is, grey and
// dashed, with the proposed one over it, in km/h against frames.
#pragma once
#include <QChartView>
#include <functional>

class QLineSeries;

namespace ts::editor {

class SpeedChart : public QChartView {
    Q_OBJECT
public:
    // `proposed`: the name of the proposed curve in the legend.
    SpeedChart(const QString& proposed, QWidget* parent);

    QLineSeries* now() const { return now_; }
    QLineSeries* proposed() const { return proposed_; }
    // A further series on the same axes, drawn over the curves.
    QLineSeries* addSeries(const QString& name, const QPen& pen);
    // Both curves over frames 0 to `frames`, sampled at about a point a pixel,
    // and the axes fitted to them.
    void showCurves(int frames, const std::function<int(int)>& now, const std::function<int(int)>& proposed);

private:
    QLineSeries* now_;
    QLineSeries* proposed_;
};

}  // namespace ts::editor
