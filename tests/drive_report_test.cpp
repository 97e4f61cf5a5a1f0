// The drive report: the score's formula on hand-worked cases, and the report
// window built from a real scripted run of the demo line.
#include <gtest/gtest.h>

#include <cmath>
#include <map>

#include <QApplication>
#include <QCategoryAxis>
#include <QChartView>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineSeries>
#include <QListWidget>
#include <QScatterSeries>
#include <QStandardPaths>
#include <QTableWidget>
#include <QValueAxis>

#include "report/drive_report.h"
#include "report_window.h"
#include "test_support.h"

using namespace ts;

namespace {

StationVisit stop(const char* name, double error, bool inRange, int32_t due, int32_t left) {
    StationVisit v;
    v.name = name;
    v.stopped = true;
    v.inRange = inRange;
    v.stopErrorMetres = error;
    v.departureTime = due;
    v.departedAt = left;
    return v;
}

}  // namespace

TEST(DriveScore, HandWorkedDeductions) {
    DriveReport r;
    r.stations.push_back(stop("A", 3.0, true, 3000, 3000 + 20 * 30));  // 3 m short: -2; 20 s late: -2
    r.stations.push_back(stop("B", -12.0, false, 9000, 9000 - 30));    // outside: -10; 1 s early: -5
    StationVisit through;
    through.name = "C";
    through.passed = true;  // -15
    r.stations.push_back(through);
    StationVisit pass;
    pass.name = "D";
    pass.kind = 1;
    pass.passed = true;  // a pass station is never judged
    r.stations.push_back(pass);
    r.overspeeds.push_back({LimitKind::SpeedLimit, 60, 100, 200, 0, 0, 6.2, 100});  // -7
    SafetyEvent answered{SafetyKind::ProtectionAlarm, 0, 0, true, 1.5, {}};
    SafetyEvent unanswered{SafetyKind::ProtectionAlarm, 0, 0, false, 0, {}};  // -5
    r.safety = {answered, unanswered};
    scoreReport(r);
    EXPECT_DOUBLE_EQ(r.score, 100 - 2 - 2 - 10 - 5 - 15 - 7 - 5);
    EXPECT_EQ(r.deductions.size(), 7u);
    EXPECT_EQ(r.verdict, "Fair driving: most points lost for ran through C without stopping.");

    DriveReport clean;
    clean.stations.push_back(stop("A", 0.4, true, 3000, 3000 + 9 * 30));
    scoreReport(clean);
    EXPECT_DOUBLE_EQ(clean.score, 100);
    EXPECT_EQ(clean.verdict, "Excellent driving.");

    DriveReport awful;
    for (int i = 0; i < 5; ++i) awful.safety.push_back({SafetyKind::SignalPassedAtStop, 0, 0, false, 0, "S"});
    scoreReport(awful);
    EXPECT_DOUBLE_EQ(awful.score, 0) << "never below nothing";
}

TEST(DriveReportWindow, ShowsScoreStationsAndChart) {
    // A line of 6 km at 10 m a frame; a jump from frame 350 to 450 leaves a
    // gap, and the speed limit holds only from frame 200.
    DriveReport r;
    r.lineName = "Test Line";
    r.stations.push_back(stop("港南", 1.2, true, 3000, 3300));
    r.stations.back().stopFrom = 90;
    r.stations.back().stopTo = 111;
    r.stations.back().km = 1.005;
    StationVisit pass;
    pass.name = "川原";
    pass.kind = 1;
    pass.stopFrom = 400;
    pass.stopTo = 420;
    pass.km = 4.1;
    r.stations.push_back(pass);
    StationVisit beyond = pass;  // past the end of what was driven: not marked
    beyond.name = "港北";
    beyond.kind = 0;
    beyond.stopFrom = beyond.stopTo = 5000;
    beyond.km = 50;
    r.stations.push_back(beyond);
    for (int p = 0; p < 600; ++p) {
        if (p > 350 && p < 450) continue;
        ChartPoint c{p, p < 300 ? p / 5.0 : (600 - p) / 5.0, 55, p > 200 ? 45 : 0, 0};
        c.km = p / 100.0;
        c.gapBefore = p == 0 || p == 450;
        r.chart.push_back(c);
    }
    r.overspeeds.push_back({LimitKind::SpeedLimit, 45, 220, 260, 0, 0, 15, 40, 9 * 108000 + 30, 2.2});
    r.metres = 1000;
    scoreReport(r);
    QStringList warnings;
    static QStringList* sink;
    sink = &warnings;
    const QtMessageHandler previous =
        qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString& m) { sink->append(m); });
    ReportWindow w(r);
    w.setAttribute(Qt::WA_DeleteOnClose, false);
    w.show();
    QApplication::processEvents();
    w.grab();
    qInstallMessageHandler(previous);
    EXPECT_TRUE(warnings.filter("NaN").isEmpty()) << warnings.join("\n").toStdString();

    const auto* score = w.findChild<QLabel*>("score");
    ASSERT_NE(score, nullptr);
    EXPECT_TRUE(score->text().contains("84")) << score->text().toStdString();
    const auto* table = w.findChild<QTableWidget*>("stations");
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(table->item(0, 0)->text(), "港南");
    EXPECT_EQ(table->item(0, 2)->text(), "1.20 m");
    EXPECT_EQ(table->item(2, 1)->text(), "not reached");
    const auto* events = w.findChild<QListWidget*>("events");
    ASSERT_NE(events, nullptr);
    EXPECT_TRUE(events->item(0)->text().startsWith("09:00:01, km 2.20: ")) << events->item(0)->text().toStdString();
    EXPECT_TRUE(events->wordWrap());

    const auto* view = w.findChild<QChartView*>();
    ASSERT_NE(view, nullptr);
    std::map<QString, QList<QPointF>> marks;
    std::map<QString, int> parts;
    for (auto* s : view->chart()->series()) {
        if (auto* scatter = qobject_cast<QScatterSeries*>(s)) marks[scatter->name()] = scatter->points();
        if (auto* line = qobject_cast<QLineSeries*>(s); line && !qobject_cast<QScatterSeries*>(s)) {
            ++parts[line->name()];
            for (const QPointF& p : line->points()) ASSERT_TRUE(std::isfinite(p.y())) << line->name().toStdString();
        }
    }
    EXPECT_EQ(parts["Speed"], 2) << "the jump's stretch is a gap, not a straight line";
    EXPECT_EQ(parts["Speed limit"], 2) << "no limit before frame 200, and the gap";
    ASSERT_EQ(marks["Stations"].size(), 1);
    EXPECT_DOUBLE_EQ(marks["Stations"][0].x(), 1.005) << "the middle of the stop range, in km";
    ASSERT_EQ(marks["Stations passed by timetable"].size(), 1);
    EXPECT_DOUBLE_EQ(marks["Stations passed by timetable"][0].x(), 4.1);
    // Kilometres along the bottom, the stations' names along the top, round speeds.
    const auto bottom = view->chart()->axes(Qt::Horizontal);
    QStringList names;
    QString kmTitle;
    for (auto* a : bottom) {
        if (auto* c = qobject_cast<QCategoryAxis*>(a))
            names = c->categoriesLabels();
        else
            kmTitle = a->titleText();
    }
    EXPECT_EQ(names, (QStringList{"港南", "川原"}));
    EXPECT_TRUE(kmTitle.contains("km")) << kmTitle.toStdString();
    const auto* y = qobject_cast<QValueAxis*>(view->chart()->axes(Qt::Vertical).front());
    ASSERT_NE(y, nullptr);
    EXPECT_EQ(y->tickType(), QValueAxis::TicksDynamic);
    EXPECT_EQ(y->tickInterval(), 20) << "0 .. 70 km/h in steps of 20";
    if (const char* shot = std::getenv("TRAINSIM_SCREENSHOT_DIR")) w.grab().save(QString(shot) + "/report.png");
}

TEST(DriveReportWindow, ARunThatReachedNoStopShowsNoScore) {
    DriveReport r;
    StationVisit start = stop("港南", 0, true, 0, 0);
    start.origin = true;
    r.stations.push_back(start);
    StationVisit next;
    next.name = "桜町";
    r.stations.push_back(next);
    r.metres = 200;
    scoreReport(r);
    ReportWindow w(r);
    w.setAttribute(Qt::WA_DeleteOnClose, false);
    const auto* score = w.findChild<QLabel*>("score");
    ASSERT_NE(score, nullptr);
    EXPECT_FALSE(score->text().contains("/ 100")) << score->text().toStdString();
    EXPECT_TRUE(score->text().contains("No verdict")) << score->text().toStdString();
}

TEST(DriveReportWindow, SaveStartsInAFolderThatCanBeWritten) {
    ts::test::TempDir home;
    const QString documents = QString::fromStdString((home.path() / "Documents").string());
    QDir().mkpath(documents);
    const QString data = QString::fromStdString((home.path() / "data").string());
    QDir().mkpath(data);
    EXPECT_EQ(reportSaveFolder(data), data) << "a data folder of the user's own";
    QFile::setPermissions(data, QFile::ReadOwner | QFile::ExeOwner);
    if (QFileInfo(data).isWritable()) GTEST_SKIP() << "running as a user who writes anywhere";
    const QByteArray oldHome = qgetenv("HOME");
    qputenv("HOME", home.path().string().c_str());
    QStandardPaths::setTestModeEnabled(false);
    const QString folder = reportSaveFolder(data);
    qputenv("HOME", oldHome);
    EXPECT_NE(folder, data);
    EXPECT_TRUE(QFileInfo(folder).isWritable()) << folder.toStdString();
}
