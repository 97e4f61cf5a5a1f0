#include "speed_video_dialog.h"

#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFontDatabase>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineSeries>
#include <QProgressBar>
#include <QPushButton>
#include <QSpinBox>
#include <QTemporaryFile>
#include <QVBoxLayout>
#include <algorithm>

#include "gps/speed_fit.h"
#include "gps/track.h"
#include "motion/distance_marks.h"
#include "motion/motion_profile.h"
#include "motion/speed_rows_file.h"
#include "motion/speed_summary.h"
#include "speed_chart.h"
#include "unsaved_route.h"

namespace ts::editor {

SpeedVideoDialog::SpeedVideoDialog(edit::RouteDocument& doc, const QString& videoPath, QWidget* parent)
    : QDialog(parent), doc_(doc), videoPath_(videoPath), alive_(std::make_shared<std::atomic<bool>>(true)) {
    setObjectName("speedFromVideo");
    setWindowTitle(tr("Speed from the video"));
    auto* layout = new QVBoxLayout(this);
    auto* intro = new QLabel(tr("The recorded speed from the motion seen in the video, scaled by the route's "
                                "distance marks (the \"Distance marks\" table) or, when it has none, by the "
                                "distances between its stations."),
                             this);
    intro->setWordWrap(true);
    layout->addWidget(intro);

    auto* run = new QHBoxLayout;
    progress_ = new QProgressBar(this);
    progress_->setRange(0, 1000);
    progress_->setFormat(tr("Motion of the video: %p %"));
    analyse_ = new QPushButton(tr("Analyse"), this);
    cancel_ = new QPushButton(tr("Cancel analysis"), this);
    cancel_->setEnabled(false);
    connect(analyse_, &QPushButton::clicked, this, [this] { analyse(); });
    connect(cancel_, &QPushButton::clicked, this, [this] { cancelAnalysis(); });
    run->addWidget(progress_, 1);
    run->addWidget(analyse_);
    run->addWidget(cancel_);
    layout->addLayout(run);

    auto* form = new QFormLayout;
    auto* known = new QHBoxLayout;
    knownFrame_ = new QSpinBox(this);
    knownFrame_->setRange(0, 100'000'000);
    knownKmh_ = new QDoubleSpinBox(this);
    knownKmh_->setRange(0, 400);
    knownKmh_->setSuffix(tr(" km/h"));
    known->addWidget(new QLabel(tr("frame"), this));
    known->addWidget(knownFrame_);
    known->addWidget(knownKmh_);
    known->addStretch(1);
    form->addRow(tr("Known speed (without marks):"), known);
    tolerance_ = new QDoubleSpinBox(this);
    tolerance_->setRange(0.5, 50);
    tolerance_->setValue(1);
    tolerance_->setSuffix(tr(" km/h"));
    form->addRow(tr("Tolerance:"), tolerance_);
    layout->addLayout(form);

    auto* previewButton = new QPushButton(tr("Preview"), this);
    previewButton->setObjectName("preview");
    connect(previewButton, &QPushButton::clicked, this, [this] { preview(); });
    layout->addWidget(previewButton, 0, Qt::AlignLeft);

    chart_ = new SpeedChart(tr("From the video"), this);
    stands_ = chart_->addSeries(tr("Standstills"), QPen(QColor(0xc0, 0x30, 0x20), 6));
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
    connect(buttons, &QDialogButtonBox::rejected, this, [this] { reject(); });
    layout->addWidget(buttons);
    for (QDoubleSpinBox* s : {knownKmh_, tolerance_})
        connect(s, &QDoubleSpinBox::valueChanged, this, [this] { invalidate(); });
    connect(knownFrame_, &QSpinBox::valueChanged, this, [this] { invalidate(); });
}

SpeedVideoDialog::~SpeedVideoDialog() {
    *alive_ = false;
    cancel_flag_ = true;
    if (worker_.joinable()) worker_.join();
}

void SpeedVideoDialog::reject() {
    cancelAnalysis();
    QDialog::reject();
}

QString SpeedVideoDialog::problem() const { return problem_->text(); }
QString SpeedVideoDialog::summary() const { return summary_->text(); }
QLineSeries* SpeedVideoDialog::nowSeries() const { return chart_->now(); }
QLineSeries* SpeedVideoDialog::videoSeries() const { return chart_->proposed(); }

void SpeedVideoDialog::setKnownSpeed(int frame, double kmh) {
    knownFrame_->setValue(frame);
    knownKmh_->setValue(kmh);
}

void SpeedVideoDialog::invalidate() {
    havePlan_ = false;
    apply_->setEnabled(false);
}

void SpeedVideoDialog::analyse() {
    if (worker_.joinable()) {
        if (!finished_) return;
        worker_.join();
    }
    problem_->clear();
    finished_ = false;
    cancel_flag_ = false;
    analyse_->setEnabled(false);
    cancel_->setEnabled(true);
    progress_->setValue(0);
    const std::string path = videoPath_.toStdString();
    auto alive = alive_;
    worker_ = std::thread([this, path, alive] {
        motion::AnalysisControl control;
        control.cancel = &cancel_flag_;
        int shown = -1;
        control.progress = [this, alive, &shown](double p) {
            const int permille = int(p * 1000);
            if (permille == shown) return;
            shown = permille;
            QMetaObject::invokeMethod(
                this,
                [this, alive, permille] {
                    if (*alive) progress_->setValue(permille);
                },
                Qt::QueuedConnection);
        };
        std::string why;
        bool cached = false;
        auto profile = motion::loadOrAnalyse(path, control, &why, &cached);
        QMetaObject::invokeMethod(
            this,
            [this, alive, profile = std::move(profile), why, cached]() mutable {
                if (*alive) finishAnalysis(std::move(profile), QString::fromStdString(why), cached);
            },
            Qt::QueuedConnection);
    });
}

void SpeedVideoDialog::cancelAnalysis() { cancel_flag_ = true; }

void SpeedVideoDialog::finishAnalysis(std::optional<motion::MotionProfile> profile, const QString& why, bool cached) {
    finished_ = true;
    analyse_->setEnabled(true);
    cancel_->setEnabled(false);
    if (!profile) {
        progress_->setValue(0);
        problem_->setText(why == "cancelled" ? tr("The analysis was cancelled.")
                                             : tr("The video \"%1\": %2").arg(videoPath_, why));
        emit analysisEnded(false);
        return;
    }
    progress_->setValue(1000);
    shape_ = motion::motionShape(*profile);
    cached_ = cached;
    emit analysisEnded(true);
    preview();
}

bool SpeedVideoDialog::preview() {
    invalidate();
    summary_->clear();
    problem_->clear();
    if (!shape_) {
        problem_->setText(tr("Analyse the video first."));
        return false;
    }
    const RouteData& route = doc_.route();
    const motion::MarkSource marks = motion::routeMarks(route);
    motion::SpeedRequest req;
    req.marks = marks.marks;
    req.toleranceKmh = tolerance_->value();
    // "[DistanceMark]" is the file's own marker; "stations" a word of ours.
    const QString markSource = marks.from == "stations" ? tr("stations") : QString::fromStdString(marks.from);
    std::string scaledBy = tr("%1 marks from %2").arg(marks.marks.size()).arg(markSource).toStdString();
    if (marks.marks.size() < 2 && knownKmh_->value() > 0) {
        req.marks.clear();
        req.known = motion::KnownSpeed{knownFrame_->value(), knownKmh_->value()};
        scaledBy =
            tr("the speed %1 km/h at frame %2").arg(int(knownKmh_->value())).arg(knownFrame_->value()).toStdString();
    }
    const motion::SpeedResult r = motion::fitSpeed(*shape_, req);
    if (!r.ok()) {
        problem_->setText(QString::fromStdString(r.error));
        return false;
    }
    chart_->showCurves(
        int(r.kmh.size()), [&](int f) { return doc_.recordedSpeedAt(f); },
        [&](int f) { return gps::recordedSpeedAt(r.rows, f); });
    QList<QPointF> standPoints;
    // Each standstill a thick stroke along the axis, split by gaps.
    for (const motion::Standstill& s : r.standstills) {
        if (!standPoints.isEmpty()) standPoints << QPointF(s.first, qQNaN());
        standPoints << QPointF(s.first, 0) << QPointF(s.last, 0);
    }
    stands_->replace(standPoints);
    motion::SummarySource source;
    source.video = route.videoFile;
    source.cached = cached_;
    source.scaledBy = scaledBy;
    QStringList lines;
    for (const std::string& line : motion::summarise(r, req, source)) lines << QString::fromStdString(line);
    summary_->setText(lines.join('\n'));
    planned_ = r.rows;
    havePlan_ = true;
    apply_->setEnabled(true);
    return true;
}

void SpeedVideoDialog::apply() {
    if (!havePlan_) return;
    const auto file = unsavedRouteFile(doc_);
    if (!file) {
        problem_->setText(tr("Cannot write a temporary file."));
        return;
    }
    try {
        doc_.replaceFile(motion::routeWithSpeedRows(file->fileName().toStdString(), planned_));
    } catch (const gps::ImportError& e) {
        problem_->setText(QString::fromStdString(e.what()));
        return;
    }
    accept();
}

}  // namespace ts::editor
