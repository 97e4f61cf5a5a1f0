#include "report_window.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QSplitter>
#include <QStandardPaths>
#include <QTableWidget>
#include <QVBoxLayout>

#include "report_chart.h"
#include "shown_text.h"

namespace ts {

namespace {

// The core names these for the report's JSON too, which stays English; here
// they are words of the window and are translated as such.
[[maybe_unused]] const char* const kReportWords[] = {
    QT_TRANSLATE_NOOP("ts::ReportWindow", "train protection alarm"),
    QT_TRANSLATE_NOOP("ts::ReportWindow", "emergency brake by the train protection"),
    QT_TRANSLATE_NOOP("ts::ReportWindow", "service brake by the speed control"),
    QT_TRANSLATE_NOOP("ts::ReportWindow", "emergency brake by the vigilance device"),
    QT_TRANSLATE_NOOP("ts::ReportWindow", "signal passed at stop"),
    QT_TRANSLATE_NOOP("ts::ReportWindow", "speed limit"),
    QT_TRANSLATE_NOOP("ts::ReportWindow", "signal"),
    QT_TRANSLATE_NOOP("ts::ReportWindow", "train's top speed"),
};

QString eventText(const SafetyEvent& e) {
    QString t = ReportWindow::tr("%1, km %2: ").arg(clockText(e.clock)).arg(e.km, 0, 'f', 2) +
                ReportWindow::tr(safetyName(e.kind));
    if (e.kind == SafetyKind::ProtectionAlarm)
        t += e.confirmed ? ReportWindow::tr(" — confirmed after %1 s").arg(e.confirmSeconds, 0, 'f', 1)
                         : ReportWindow::tr(" — not confirmed");
    if (!e.signal.empty()) t += " " + shownText(e.signal);
    return t;
}

}  // namespace

ReportWindow::ReportWindow(DriveReport report, QWidget* parent)
    : QWidget(parent, Qt::Window), report_(std::move(report)) {
    setObjectName("ReportWindow");
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(tr("Drive report — %1").arg(titleText(QString::fromStdString(report_.lineName), font())));
    auto* layout = new QVBoxLayout(this);

    auto* score = new QLabel(this);
    score->setObjectName("score");
    score->setTextFormat(Qt::RichText);
    const QString verdict = QString::fromStdString(report_.verdict).toHtmlEscaped();
    score->setText(
        report_.scored
            ? QString("<span style='font-size:20pt'><b>%1</b> / 100</span>&nbsp;&nbsp;").arg(report_.score, 0, 'f', 0) +
                  verdict
            : "<b>" + verdict + "</b>");
    if (report_.endOfLine) score->setText(score->text() + "<br>" + tr("The run reached the end of the line."));
    score->setWordWrap(true);
    layout->addWidget(score);
    layout->addWidget(makeReportChart(report_, this), 3);

    auto* split = new QSplitter(this);
    auto* stations = new QTableWidget(int(report_.stations.size()), 5, split);
    stations->setObjectName("stations");
    stations->setHorizontalHeaderLabels({tr("Station"), tr("Stop"), tr("From the mark"), tr("Doors"), tr("Departure")});
    stations->verticalHeader()->hide();
    stations->setEditTriggers(QAbstractItemView::NoEditTriggers);
    for (int i = 0; i < int(report_.stations.size()); ++i) {
        const StationVisit& v = report_.stations[size_t(i)];
        const QString cells[] = {shownText(v.name), stopText(v),
                                 v.stopped ? QString("%1 m").arg(v.stopErrorMetres, 0, 'f', 2) : QString(),
                                 v.doorsOpenedAt ? clockText(*v.doorsOpenedAt) : QString(), departureText(v)};
        for (int c = 0; c < 5; ++c) {
            auto* item = new QTableWidgetItem(cells[c]);
            item->setToolTip(cells[c]);  // whatever the column's width leaves out
            stations->setItem(i, c, item);
        }
    }
    stations->resizeColumnsToContents();
    stations->horizontalHeader()->setStretchLastSection(true);
    auto* events = new QListWidget(split);
    events->setObjectName("events");
    events->setWordWrap(true);  // a long line wraps instead of being cut off
    events->setTextElideMode(Qt::ElideNone);
    events->setResizeMode(QListView::Adjust);
    for (const SafetyEvent& e : report_.safety) events->addItem(eventText(e));
    for (const Overspeed& o : report_.overspeeds)
        events->addItem(tr("%1, km %2: %4 km/h over the %5 of %6 km/h for %7 m")
                            .arg(clockText(o.fromClock))
                            .arg(o.fromKm, 0, 'f', 2)
                            .arg(o.peakOverKmh, 0, 'f', 1)
                            .arg(tr(limitName(o.against)))
                            .arg(o.limitKmh)
                            .arg(o.metres, 0, 'f', 0));
    for (const Deduction& d : report_.deductions)
        events->addItem(tr("−%1 points: %2").arg(d.points, 0, 'f', 0).arg(QString::fromStdString(d.what)));
    if (events->count() == 0) events->addItem(tr("No alarms, emergency brakes or overspeed."));
    for (int i = 0; i < events->count(); ++i) events->item(i)->setToolTip(events->item(i)->text());
    layout->addWidget(split, 2);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    auto* saveButton = new QPushButton(tr("Save…"), this);
    saveButton->setObjectName("save");
    auto* close = new QPushButton(tr("Close"), this);
    close->setObjectName("close");
    close->setDefault(true);
    buttons->addWidget(saveButton);
    buttons->addWidget(close);
    layout->addLayout(buttons);
    connect(saveButton, &QPushButton::clicked, this, [this] { save(); });
    connect(close, &QPushButton::clicked, this, &QWidget::close);
    resize(900, 760);
}

QString reportSaveFolder(const QString& dataFolder) {
    const QFileInfo data(dataFolder);
    if (!dataFolder.isEmpty() && data.isDir() && data.isWritable()) return data.absoluteFilePath();
    for (auto where : {QStandardPaths::DocumentsLocation, QStandardPaths::HomeLocation}) {
        const QString folder = QStandardPaths::writableLocation(where);
        if (!folder.isEmpty() && QFileInfo(folder).isDir() && QFileInfo(folder).isWritable()) return folder;
    }
    return QDir::tempPath();
}

void ReportWindow::save() {
    // The current folder is the data folder, which may be installed read-only.
    const QString folder = reportSaveFolder(QDir::currentPath());
    const QString file =
        QFileDialog::getSaveFileName(this, tr("Save the drive report"), QDir(folder).filePath("drive-report.html"),
                                     tr("Web page (*.html);;JSON (*.json)"));
    if (file.isEmpty()) return;
    std::string why;
    if (!saveReport(report_, file, &why))
        QMessageBox::warning(this, windowTitle(),
                             tr("Cannot write %1.").arg(file) + "\n" + QString::fromStdString(why));
}

}  // namespace ts
