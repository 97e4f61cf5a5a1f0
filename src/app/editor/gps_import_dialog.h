// The editor's "Import GPS track…": the recorded speed, gradients and stations
// that a GPS track of the ride gives, previewed as a curve over the route's
// own before they are taken (one undo step).
#pragma once
#include <QDialog>

#include "edit/route_document.h"

class QCheckBox;
class QDoubleSpinBox;
class QLabel;
class QLineEdit;
class QLineSeries;
class QPushButton;
class QRadioButton;

namespace ts::editor {

class SpeedChart;

class GpsImportDialog : public QDialog {
    Q_OBJECT
public:
    // `videoFrames`: the length of the route's video.
    GpsImportDialog(edit::RouteDocument& doc, int videoFrames, QWidget* parent = nullptr);

    void setTrack(const QString& path);
    void setOffset(double seconds);
    void setSyncMarks(const QString& first, const QString& second);
    // The route's video, for lining the track up with its standstills.
    void setVideoPath(const QString& path) { videoPath_ = path; }
    // Sets the offset that lays the video's standstills (the motion found in
    // the picture, analysed when not yet kept beside the video) over the
    // track's, and previews; false (and the problem shown) when none does.
    bool alignByStandstills();
    // Works out the import and shows it; false (and the problem shown) when
    // the track or the alignment is refused.
    bool preview();
    // Takes the previewed import into the document.
    void apply();

    QString problem() const;
    QString summary() const;
    QLineSeries* nowSeries() const;
    QLineSeries* trackSeries() const;
    QPushButton* applyButton() const { return apply_; }
    QString alignment() const;

private:
    void invalidate();
    void browse();

    edit::RouteDocument& doc_;
    int videoFrames_;
    QLineEdit* track_;
    QRadioButton* byOffset_;
    QRadioButton* bySync_;
    QDoubleSpinBox* offset_;
    QLineEdit* sync1_;
    QLineEdit* sync2_;
    QDoubleSpinBox* tolerance_;
    QCheckBox* speed_;
    QCheckBox* slopes_;
    QCheckBox* stations_;
    SpeedChart* chart_;
    QLabel* summary_;
    QLabel* problem_;
    QLabel* alignment_;
    QPushButton* apply_;
    std::string planned_;
    QString videoPath_;
    // After a first preview, changing the offset redraws the curves at once,
    // so the track's speed can be slid against the route's by eye.
    bool live_ = false;
};

}  // namespace ts::editor
