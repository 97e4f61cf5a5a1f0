// The drive report of whole-program runs of the demo trains, each driven as a
// driver drove it when the report judged it wrongly; the expectations are
// worked out from the demo lines' timetables and stop ranges (line.cpp).
#include <gtest/gtest.h>

#include <cmath>

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include "drive_runner.h"
#include "line.h"
#include "test_support.h"

using namespace ts::test;

namespace {

const std::string kDemo = TRAINSIM_DEMO;

struct Reported {
    DriveResult run;
    QJsonObject report;
    QJsonObject station(int i) const { return report["stations"].toArray()[i].toObject(); }
    bool lost(const std::string& part) const {
        for (const auto& d : report["deductions"].toArray())
            if (d.toObject()["for"].toString().toStdString().find(part) != std::string::npos) return true;
        return false;
    }
    std::string deductions() const {
        return QJsonDocument(report["deductions"].toArray()).toJson(QJsonDocument::Compact).toStdString();
    }
};

Reported driveReported(const std::string& train, const std::string& script) {
    TempDir dir;
    const std::string file = (dir.path() / "report.json").string();
    Reported r;
    r.run = drive(kDemo, train, script, "--report " + file);
    QFile f(QString::fromStdString(file));
    if (f.open(QIODevice::ReadOnly)) r.report = QJsonDocument::fromJson(f.readAll()).object();
    return r;
}

// The time (ms) the train first stands at or beyond `frame` after `from` ms,
// in a run of `script` with nothing more; -1 when it never does.
int64_t reaches(const std::string& train, const std::string& script, int64_t from, int frame) {
    const auto probe = drive(kDemo, train, script, "--until-ms " + std::to_string(from + 240000));
    for (const auto& l : probe.lines)
        if (field(l, "event") == "step" && std::stoll(field(l, "t")) > from &&
            std::stoi(field(l, "trainPosition")) >= frame)
            return std::stoll(field(l, "t"));
    return -1;
}

std::string at(int64_t ms, const std::string& cmd) { return "@" + std::to_string(ms) + " " + cmd + "\n"; }

}  // namespace

// The station the run starts at is the start and is not judged: leaving 港南
// half a minute late costs nothing. A run closed before the next stop gets
// its figures and no verdict, and the stops it did not reach are listed so.
TEST(ReportRuns, TheStartIsNotJudgedAndARunThatReachedNoStopHasNoVerdict) {
    const demo::Line line = demo::electricLine();
    // Due at 15 s; the melody and the doors are done by 30 s; the driver sets off at 45 s.
    const auto r = driveReported("789", at(0, "start") + at(100, "char f") + at(45000, "char 5") +
                                            at(45000, "key shift+F1") + at(60000, "close"));
    ASSERT_EQ(r.run.status, 0) << r.run.err;
    ASSERT_FALSE(r.report.isEmpty());
    const QJsonObject start = r.station(0);
    EXPECT_TRUE(start["origin"].toBool());
    ASSERT_TRUE(start.contains("departureDelaySeconds"));
    EXPECT_GT(start["departureDelaySeconds"].toDouble(), 25);
    EXPECT_FALSE(r.lost(line.stations[0].name)) << r.deductions();
    EXPECT_FALSE(r.report["scored"].toBool());
    EXPECT_EQ(r.report["verdict"].toString(), "No verdict: the run reached no stop.");
    EXPECT_EQ(r.report["stopsNotReached"].toInt(), 3) << "桜町, 緑ヶ丘, 港北";
}

// 桜町 reached after its departure time (the clock pushed on by Shift+F10):
// the doors open and the melody plays at once. The stop is judged by where
// the train stood, the lateness on its own.
TEST(ReportRuns, ALateArrivalIsAStopAtThePlatformAndLateOnItsOwn) {
    const demo::Line line = demo::electricLine();
    const demo::Station& s = line.stations[1];
    std::string script = at(0, "start") + at(100, "char f") + at(30000, "char 5") + at(30000, "key shift+F1");
    // 16 × 30 s: the clock is 8 minutes on, 4 past 桜町's departure.
    for (int i = 0; i < 16; ++i) script += at(31000, "key shift+F10");
    const int mark = (s.stopFrom + s.stopTo) / 2 - 10;
    const int64_t arrival = reaches("789", script, 30000, mark);
    ASSERT_GT(arrival, 0);
    script += at(arrival, "key shift+F2") + at(arrival, "char 0");
    // Standing, doors, melody (late: at once), doors closed; then on.
    script += at(arrival + 40000, "char 5") + at(arrival + 40000, "key shift+F1") + at(arrival + 70000, "close");
    const auto r = driveReported("789", script);
    ASSERT_EQ(r.run.status, 0) << r.run.err;
    const QJsonObject v = r.station(1);
    EXPECT_TRUE(v["stopped"].toBool());
    EXPECT_TRUE(v["inRange"].toBool());
    EXPECT_FALSE(v["passed"].toBool());
    EXPECT_LT(std::fabs(v["stopErrorMetres"].toDouble()), 10.0);
    ASSERT_TRUE(v.contains("departureDelaySeconds"));
    EXPECT_GT(v["departureDelaySeconds"].toDouble(), 200);
    EXPECT_FALSE(r.lost("ran through " + s.name)) << r.deductions();
    EXPECT_TRUE(r.lost("late from " + s.name)) << r.deductions();
}

// The 40 follows the recording from the start with its doors open: no melody
// plays at 山田, so the run's stop distance never counts down to 上野原. The
// stop there is measured along the line instead of "at the platform −500 m".
TEST(ReportRuns, FollowingTheRecordingWithTheDoorsOpenStillMeasuresTheStop) {
    const demo::Line line = demo::dieselLine();
    const demo::Station& s = line.stations[1];
    std::string script = at(0, "start") + at(100, "char f") + at(200, "char 5") + at(200, "key shift+F1");
    const int mark = (s.stopFrom + s.stopTo) / 2 - 10;
    const int64_t arrival = reaches("40", script, 200, mark);
    ASSERT_GT(arrival, 0) << "never reached " << s.board;
    script += at(arrival, "key shift+F2") + at(arrival, "char 0") + at(arrival + 20000, "close");
    const auto r = driveReported("40", script);
    ASSERT_EQ(r.run.status, 0) << r.run.err;
    const QJsonObject v = r.station(1);
    EXPECT_TRUE(v["stopped"].toBool());
    EXPECT_TRUE(v["inRange"].toBool());
    // Braked 10 frames before the middle at 5 km/h: a few metres either side of it.
    EXPECT_LT(std::fabs(v["stopErrorMetres"].toDouble()), 15.0) << v["stopErrorMetres"].toDouble();
}

// A jump to 桜町 (Move) and on: 桜町 is the start, its late departure is not
// judged, and the chart has a gap where the jump was.
TEST(ReportRuns, AJumpIsAFreshStart) {
    const demo::Line line = demo::electricLine();
    const auto r = driveReported("789", at(0, "start") + at(100, "char f") + at(5000, "jump 1") + at(6000, "char f") +
                                            at(300000, "char 5") + at(300000, "key shift+F1") + at(320000, "close"));
    ASSERT_EQ(r.run.status, 0) << r.run.err;
    const QJsonObject v = r.station(1);
    EXPECT_TRUE(v["origin"].toBool());
    EXPECT_TRUE(v.contains("departedAt"));
    EXPECT_FALSE(r.lost(line.stations[1].name)) << r.deductions();
    EXPECT_FALSE(r.report["scored"].toBool());
}

// The 40 left alone under power: the vigilance device rings after 60 s and
// brakes 5 s later. The window's hint and the report name the same device.
TEST(ReportRuns, ALeftAloneTrainIsBrakedByTheVigilanceDeviceInTheHintAndTheReport) {
    const auto r = driveReported("40", at(0, "start") + at(100, "char f") + at(26000, "char d") + at(28000, "char 5") +
                                           at(28100, "char z") + at(28200, "char z") + at(120000, "close"));
    ASSERT_EQ(r.run.status, 0) << r.run.err;
    std::string hintAtBrake;
    for (const auto& l : r.run.lines)
        if (field(l, "event") == "step" && field(l, "safetyEmergencyBrake") == "1") {
            hintAtBrake = field(l, "hint");
            break;
        }
    EXPECT_EQ(hintAtBrake, "Emergency brake by the vigilance device: stop, put the brake handle to EB (0), press r");
    int vigilance = 0, protection = 0;
    for (const auto& e : r.report["safety"].toArray()) {
        vigilance += e.toObject()["kind"].toString() == "emergency brake by the vigilance device";
        protection += e.toObject()["kind"].toString() == "emergency brake by the train protection";
    }
    EXPECT_EQ(vigilance, 1);
    EXPECT_EQ(protection, 0);
}

namespace {

// Metres along the line from `frame` to `to`, through the recorded speed (a
// frame is 1/30 s of the recording: km/h ÷ 108 metres).
double metresBetween(const demo::Line& line, int frame, int to) {
    double m = 0;
    for (int f = frame; f < to; ++f) m += demo::recordedSpeed(line, f) / 108.0;
    return m;
}

// Where the train last stood still at or before `ms` in a trace.
int restAt(const DriveResult& run, int64_t ms) {
    int at = -1;
    for (const auto& l : run.lines)
        if (field(l, "event") == "step" && std::stoll(field(l, "t")) <= ms && field(l, "speed") == "0")
            at = std::stoi(field(l, "trainPosition"));
    return at;
}

// `script` with the train braked (following the recording until then) so
// that it comes to rest within `tolerance` frames of `target`, found by
// trying: each try moves the brake point by how far its rest missed. The
// brake's time in `*braked`; empty when the train never got there.
std::string brakedToRestNear(const std::string& train, const std::string& script, int64_t from, int target,
                             int tolerance, int64_t* braked) {
    int brakeAt = target - 100;
    std::string tried;
    for (int attempt = 0; attempt < 6; ++attempt) {
        const int64_t t = reaches(train, script, from, brakeAt);
        if (t < 0) return tried;
        tried = script + at(t, "key shift+F2") + at(t, "char 0");
        *braked = t;
        const int rest = restAt(drive(kDemo, train, tried, "--until-ms " + std::to_string(t + 20000)), t + 20000);
        if (std::abs(rest - target) <= tolerance) break;
        brakeAt += target - rest;
    }
    return tried;
}

}  // namespace

// From 緑ヶ丘 (a jump: the start) to 港北, braked short of the platform; the
// doors stay shut there. Then a creep on into the stop range, where they
// open. The stop is where the train stood with the doors open, not its
// first rest.
TEST(ReportRuns, ACreepToTheMarkIsJudgedWhereTheDoorsOpened) {
    const demo::Line line = demo::electricLine();
    const demo::Station& s = line.stations[4];
    ASSERT_EQ(s.name, "港北");
    const int mark = (s.stopFrom + s.stopTo) / 2;
    std::string script = at(0, "start") + at(100, "char f") + at(5000, "jump 3") + at(6000, "char f") +
                         at(300000, "char 5") + at(300000, "key shift+F1");
    // At rest some 6 m short of the mark, outside the stop range (4340–4460): no doors.
    int64_t brake = -1;
    script = brakedToRestNear("789", script, 300000, s.stopFrom - 15, 8, &brake);
    ASSERT_GT(brake, 0);
    // On at the recorded crawl, to rest about 2 m short of the mark, inside the range.
    const int64_t creep = brake + 20000;
    int64_t stop = -1;
    script =
        brakedToRestNear("789", script + at(creep, "char 5") + at(creep, "key shift+F1"), creep, mark - 30, 10, &stop);
    ASSERT_GT(stop, creep);
    script += at(stop + 60000, "close");
    const auto r = driveReported("789", script);
    ASSERT_EQ(r.run.status, 0) << r.run.err;

    const int first = restAt(r.run, creep), last = restAt(r.run, stop + 60000);
    ASSERT_GT(first, 0);
    ASSERT_LT(first, s.stopFrom) << "the first rest is short of the platform: the doors stay shut";
    ASSERT_GE(last, s.stopFrom);
    ASSERT_LE(last, mark) << "the creep ends inside the range, before the mark";
    const double firstShort = metresBetween(line, first, mark), lastShort = metresBetween(line, last, mark);
    ASSERT_GT(firstShort - lastShort, 2.0) << "the creep is metres, not centimetres";

    const QJsonObject v = r.station(4);
    EXPECT_TRUE(v["stopped"].toBool());
    EXPECT_TRUE(v["inRange"].toBool()) << "judged where the doors opened";
    EXPECT_FALSE(v["passed"].toBool());
    EXPECT_TRUE(v.contains("doorsOpenedAt"));
    EXPECT_NEAR(v["stopErrorMetres"].toDouble(), lastShort, 0.5)
        << "first rest " << firstShort << " m short, last " << lastShort << " m";
    EXPECT_FALSE(r.lost("outside the platform")) << r.deductions();
    EXPECT_FALSE(r.lost("ran through")) << r.deductions();
}
