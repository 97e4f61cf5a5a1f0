// The editor's "Speed from the video…": the video's motion analysed in the
// background (progress, cancel; kept beside the video), the recorded speed
// fitted to the route's distance marks or stations' distances, previewed over
// the route's own curve with the standstills found, and taken as one undo step.
#pragma once
#include <QDialog>
#include <atomic>
#include <memory>
#include <optional>
#include <thread>

#include "edit/route_document.h"
#include "motion/motion_shape.h"
#include "motion/speed_from_motion.h"

class QDoubleSpinBox;
class QLabel;
class QLineSeries;
class QProgressBar;
class QPushButton;
class QSpinBox;

namespace ts::editor {

class SpeedChart;

class SpeedVideoDialog : public QDialog {
    Q_OBJECT
public:
    // `videoPath`: the route's video as the editor opened it.
    SpeedVideoDialog(edit::RouteDocument& doc, const QString& videoPath, QWidget* parent = nullptr);
    ~SpeedVideoDialog() override;

    // Starts the analysis (or reads the cache) in the background.
    void analyse();
    void cancelAnalysis();
    bool analysing() const { return worker_.joinable() && !finished_; }
    bool analysed() const { return shape_.has_value(); }
    // The known speed used when the route has fewer than two marks.
    void setKnownSpeed(int frame, double kmh);
    // Fits the speed and shows it; false (and the problem shown) when refused.
    bool preview();
    void apply();

    QString problem() const;
    QString summary() const;
    QLineSeries* nowSeries() const;
    QLineSeries* videoSeries() const;
    QLineSeries* standSeries() const { return stands_; }
    QPushButton* applyButton() const { return apply_; }
    QProgressBar* progressBar() const { return progress_; }

signals:
    void analysisEnded(bool ok);

private:
    void finishAnalysis(std::optional<motion::MotionProfile> profile, const QString& why, bool cached);
    void invalidate();
    void reject() override;

    edit::RouteDocument& doc_;
    QString videoPath_;
    QProgressBar* progress_;
    QPushButton* analyse_;
    QPushButton* cancel_;
    QSpinBox* knownFrame_;
    QDoubleSpinBox* knownKmh_;
    QDoubleSpinBox* tolerance_;
    SpeedChart* chart_;
    QLineSeries* stands_;
    QLabel* summary_;
    QLabel* problem_;
    QPushButton* apply_;
    std::optional<motion::MotionShape> shape_;
    bool cached_ = false;
    std::vector<Speed_UnitData> planned_;
    bool havePlan_ = false;
    std::thread worker_;
    std::atomic<bool> cancel_flag_{false};
    bool finished_ = false;
    std::shared_ptr<std::atomic<bool>> alive_;
};

}  // namespace ts::editor
