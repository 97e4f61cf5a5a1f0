#include "gps_import_dialog.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFileDialog>
#include <QFontDatabase>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QLineSeries>
#include <QProgressDialog>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <algorithm>
#include <atomic>

#include "gps/import.h"
#include "gps/ride_path.h"
#include "gps/speed_fit.h"
#include "gpx_file.h"
#include "motion/motion_profile.h"
#include "motion/stand_alignment.h"
#include "speed_chart.h"
#include "unsaved_route.h"

namespace ts::editor {

GpsImportDialog::GpsImportDialog(edit::RouteDocument& doc, int videoFrames, QWidget* parent)
    : QDialog(parent), doc_(doc), videoFrames_(videoFrames) {
    setObjectName("gpsImport");
    setWindowTitle(tr("Import GPS track"));
    auto* layout = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    auto* trackRow = new QHBoxLayout;
    track_ = new QLineEdit(this);
    track_->setObjectName("track");
    auto* browse = new QPushButton(tr("Browse..."), this);
    connect(browse, &QPushButton::clicked, this, [this] { this->browse(); });
    trackRow->addWidget(track_, 1);
    trackRow->addWidget(browse);
    form->addRow(tr("GPS track (GPX):"), trackRow);

    auto* align = new QGroupBox(tr("Which moment of the track each frame shows"), this);
    auto* alignForm = new QFormLayout(align);
    byOffset_ = new QRadioButton(tr("Offset"), align);
    byOffset_->setChecked(true);
    offset_ = new QDoubleSpinBox(align);
    offset_->setObjectName("offset");
    offset_->setRange(-86400, 86400);
    offset_->setDecimals(2);
    offset_->setSuffix(tr(" s"));
    offset_->setToolTip(tr("Frame 0 is this many seconds after the track's first point (negative: before it)."));
    alignForm->addRow(byOffset_, offset_);
    bySync_ = new QRadioButton(tr("Two sync marks"), align);
    auto* syncRow = new QHBoxLayout;
    sync1_ = new QLineEdit(align);
    sync2_ = new QLineEdit(align);
    for (QLineEdit* e : {sync1_, sync2_}) {
        e->setPlaceholderText("120=2024-05-01T09:30:04Z");
        e->setToolTip(tr("FRAME=TIME: the frame shows that track time (ISO 8601, or seconds after the first point)."));
        syncRow->addWidget(e);
    }
    alignForm->addRow(bySync_, syncRow);
    auto* standRow = new QHBoxLayout;
    auto* byStands = new QPushButton(tr("Line up with the video's standstills"), align);
    byStands->setObjectName("alignByStandstills");
    byStands->setToolTip(tr("The offset at which the track stands where the picture stands still."));
    connect(byStands, &QPushButton::clicked, this, [this] { alignByStandstills(); });
    alignment_ = new QLabel(align);
    alignment_->setObjectName("alignment");
    alignment_->setWordWrap(true);
    standRow->addWidget(byStands);
    standRow->addWidget(alignment_, 1);
    alignForm->addRow(standRow);
    form->addRow(align);

    auto* what = new QHBoxLayout;
    speed_ = new QCheckBox(tr("Recorded speed"), this);
    slopes_ = new QCheckBox(tr("Slopes"), this);
    stations_ = new QCheckBox(tr("Stations"), this);
    for (QCheckBox* c : {speed_, slopes_, stations_}) {
        c->setChecked(true);
        what->addWidget(c);
    }
    tolerance_ = new QDoubleSpinBox(this);
    tolerance_->setRange(0.5, 50);
    tolerance_->setValue(1);
    tolerance_->setSuffix(tr(" km/h"));
    what->addWidget(new QLabel(tr("Tolerance:"), this));
    what->addWidget(tolerance_);
    what->addStretch(1);
    form->addRow(tr("Rewrite:"), what);
    layout->addLayout(form);

    auto* previewButton = new QPushButton(tr("Preview"), this);
    previewButton->setObjectName("preview");
    connect(previewButton, &QPushButton::clicked, this, [this] { preview(); });
    layout->addWidget(previewButton, 0, Qt::AlignLeft);

    chart_ = new SpeedChart(tr("From the track"), this);
    layout->addWidget(chart_, 1);

    summary_ = new QLabel(this);
    summary_->setObjectName("summary");
    summary_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    summary_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    problem_ = new QLabel(this);
    problem_->setObjectName("problem");
    problem_->setStyleSheet("color: #b00020");
    problem_->setWordWrap(true);
    layout->addWidget(summary_);
    layout->addWidget(problem_);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Cancel, this);
    apply_ = buttons->addButton(tr("Apply"), QDialogButtonBox::AcceptRole);
    apply_->setEnabled(false);
    connect(buttons, &QDialogButtonBox::accepted, this, [this] { apply(); });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);

    for (QLineEdit* e : {track_, sync1_, sync2_}) connect(e, &QLineEdit::textChanged, this, [this] { invalidate(); });
    for (QDoubleSpinBox* s : {offset_, tolerance_})
        connect(s, &QDoubleSpinBox::valueChanged, this, [this] {
            invalidate();
            if (live_ && byOffset_->isChecked()) preview();
        });
    for (QAbstractButton* b : std::initializer_list<QAbstractButton*>{byOffset_, bySync_, speed_, slopes_, stations_})
        connect(b, &QAbstractButton::toggled, this, [this] { invalidate(); });
}

void GpsImportDialog::setTrack(const QString& path) { track_->setText(path); }
void GpsImportDialog::setOffset(double seconds) {
    byOffset_->setChecked(true);
    offset_->setValue(seconds);
}
void GpsImportDialog::setSyncMarks(const QString& first, const QString& second) {
    bySync_->setChecked(true);
    sync1_->setText(first);
    sync2_->setText(second);
}
QString GpsImportDialog::problem() const { return problem_->text(); }
QString GpsImportDialog::alignment() const { return alignment_->text(); }
QString GpsImportDialog::summary() const { return summary_->text(); }
QLineSeries* GpsImportDialog::nowSeries() const { return chart_->now(); }
QLineSeries* GpsImportDialog::trackSeries() const { return chart_->proposed(); }

void GpsImportDialog::browse() {
    const QString path = QFileDialog::getOpenFileName(this, tr("GPS track of the ride"), track_->text(),
                                                      tr("GPS tracks (*.gpx);;All files (*)"));
    if (!path.isEmpty()) track_->setText(path);
}

void GpsImportDialog::invalidate() {
    planned_.clear();
    apply_->setEnabled(false);
}

bool GpsImportDialog::preview() {
    invalidate();
    summary_->clear();
    problem_->clear();
    const std::string trackPath = track_->text().trimmed().toStdString();
    auto refuse = [this](const QString& text) {
        problem_->setText(text);
        return false;
    };
    if (trackPath.empty()) return refuse(tr("Choose the GPS track of the ride."));
    if (!speed_->isChecked() && !slopes_->isChecked() && !stations_->isChecked())
        return refuse(tr("Choose what to rewrite."));

    // The import reads the route from a file: the document as it stands.
    const auto route = unsavedRouteFile(doc_);
    if (!route) return refuse(tr("Cannot write a temporary file."));

    gps::ImportRequest req;
    req.routePath = route->fileName().toStdString();
    req.frames = videoFrames_ > 1 ? videoFrames_ : doc_.route().lineEnd() + 1;
    req.speed = speed_->isChecked();
    req.slopes = slopes_->isChecked();
    req.stations = stations_->isChecked();
    req.toleranceKmh = tolerance_->value();
    gps::ImportPlan plan;
    try {
        const gps::Track t = readGpxFile(trackPath);
        const gps::Ride ride = gps::joinSegments(t);
        if (byOffset_->isChecked()) {
            req.align = gps::alignByOffset(offset_->value());
        } else {
            gps::SyncMark marks[2];
            const QLineEdit* edits[2] = {sync1_, sync2_};
            for (int k = 0; k < 2; ++k) {
                std::string why;
                const auto mark = parseSyncMark(edits[k]->text().trimmed().toStdString(), ride.startEpoch, &why);
                if (!mark) return refuse(QString::fromStdString(why));
                marks[k] = *mark;
            }
            req.align = gps::alignBySync(marks[0], marks[1]);
        }
        plan = gps::planImport(ride, t, req);
    } catch (const gps::ImportError& e) {
        QString where = QString::fromStdString(trackPath);
        if (e.line > 0) where += ":" + QString::number(e.line);
        return refuse(where + ": " + QString::fromStdString(e.what()));
    }

    auto now = [&](int f) { return doc_.recordedSpeedAt(f); };
    chart_->showCurves(req.frames, now,
                       [&](int f) { return req.speed ? gps::recordedSpeedAt(plan.speed.rows, f) : now(f); });
    live_ = true;
    QStringList lines;
    for (const std::string& line : gps::summarise(plan, req)) lines << QString::fromStdString(line);
    summary_->setText(lines.join('\n'));
    planned_ = plan.bytes;
    apply_->setEnabled(true);
    return true;
}

void GpsImportDialog::apply() {
    if (planned_.empty()) return;
    doc_.replaceFile(planned_);
    accept();
}

}  // namespace ts::editor

namespace ts::editor {

bool GpsImportDialog::alignByStandstills() {
    alignment_->clear();
    problem_->clear();
    const std::string trackPath = track_->text().trimmed().toStdString();
    if (trackPath.empty()) {
        problem_->setText(tr("Choose the GPS track of the ride."));
        return false;
    }
    std::vector<motion::TimeSpan> trackStands;
    double duration = 0;
    try {
        const gps::Ride ride = gps::joinSegments(readGpxFile(trackPath));
        trackStands = motion::trackStandstills(gps::measureRide(ride));
        duration = ride.points.back().time;
    } catch (const gps::ImportError& e) {
        problem_->setText(QString::fromStdString(trackPath + ": " + e.what()));
        return false;
    }
    // The picture's motion: kept beside the video, or analysed now.
    QProgressDialog progress(tr("Analysing the video's motion..."), tr("Cancel"), 0, 1000, this);
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(500);
    std::atomic<bool> cancel{false};
    motion::AnalysisControl control;
    control.cancel = &cancel;
    control.progress = [&](double p) {
        progress.setValue(int(p * 1000));
        QCoreApplication::processEvents();
        if (progress.wasCanceled()) cancel = true;
    };
    std::string why;
    const auto profile = motion::loadOrAnalyse(videoPath_.toStdString(), control, &why);
    progress.reset();
    if (!profile) {
        problem_->setText(tr("The video's motion: %1").arg(QString::fromStdString(why)));
        return false;
    }
    const motion::MotionShape shape = motion::motionShape(*profile);
    const double videoSeconds = shape.rate.size() / 30.0;
    // Only where the track covers the video (give or take the 5 s the import bridges).
    const auto offset = motion::offsetByStandstills(shape.standstills, trackStands, -5, duration - videoSeconds + 5);
    if (!offset) {
        problem_->setText(tr("No offset lays the video's %1 standstills over the track's %2.")
                              .arg(shape.standstills.size())
                              .arg(trackStands.size()));
        return false;
    }
    setOffset(*offset);
    alignment_->setText(tr("Offset %1 s lays the video's %2 standstills over the track's %3.")
                            .arg(*offset, 0, 'f', 1)
                            .arg(shape.standstills.size())
                            .arg(trackStands.size()));
    return preview();
}

}  // namespace ts::editor
