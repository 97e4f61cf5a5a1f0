// The drive report: the score's formula on hand-worked cases, and the report
// window built from a real scripted run of the demo line.
#include <gtest/gtest.h>

#include <map>

#include <QApplication>
#include <QChartView>
#include <QScatterSeries>
#include <QLabel>
#include <QTableWidget>

#include "report/drive_report.h"
#include "report_window.h"

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
    DriveReport r;
    r.lineName = "Test Line";
    r.stations.push_back(stop("港南", 1.2, true, 3000, 3300));
    r.stations.back().stopFrom = 90;
    r.stations.back().stopTo = 111;
    StationVisit pass;
    pass.kind = 1;
    pass.stopFrom = 400;
    pass.stopTo = 420;
    r.stations.push_back(pass);
    StationVisit beyond = pass;  // past the end of what was driven: not marked
    beyond.kind = 0;
    beyond.stopFrom = beyond.stopTo = 5000;
    r.stations.push_back(beyond);
    for (int p = 0; p < 600; ++p) r.chart.push_back({p, p < 300 ? p / 5.0 : (600 - p) / 5.0, 55, p > 200 ? 45 : 0, 0});
    r.overspeeds.push_back({LimitKind::SpeedLimit, 45, 220, 260, 0, 0, 15, 40});
    r.metres = 1000;
    scoreReport(r);
    ReportWindow w(r);
    w.setAttribute(Qt::WA_DeleteOnClose, false);
    w.show();
    QApplication::processEvents();
    const auto* score = w.findChild<QLabel*>("score");
    ASSERT_NE(score, nullptr);
    EXPECT_TRUE(score->text().contains("84")) << score->text().toStdString();
    const auto* table = w.findChild<QTableWidget*>("stations");
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(table->item(0, 0)->text(), "港南");
    EXPECT_EQ(table->item(0, 2)->text(), "1.20 m");
    const auto* view = w.findChild<QChartView*>();
    ASSERT_NE(view, nullptr);
    std::map<QString, QList<QPointF>> marks;
    for (auto* s : view->chart()->series())
        if (auto* scatter = qobject_cast<QScatterSeries*>(s)) marks[scatter->name()] = scatter->points();
    ASSERT_EQ(marks["Stations"].size(), 1);
    EXPECT_DOUBLE_EQ(marks["Stations"][0].x(), 100.5) << "the middle of the stop range";
    ASSERT_EQ(marks["Stations passed by timetable"].size(), 1);
    EXPECT_DOUBLE_EQ(marks["Stations passed by timetable"][0].x(), 410);
    if (const char* shot = std::getenv("TRAINSIM_SCREENSHOT_DIR")) w.grab().save(QString(shot) + "/report.png");
}
