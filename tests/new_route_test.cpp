// A new route made by the editor: the folder gets every file a run reads, the
// template has its picture and sound lists, new stations drive right (stop
// ranges in metres, doors closing after the departure, distances between
// stops kept up), and the checker warns where the defaults would not.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "check/data_check.h"
#include "data/text_file.h"
#include "edit/route_document.h"
#include "edit/route_folder.h"
#include "test_support.h"

using namespace ts;
using namespace ts::edit;
namespace fs = std::filesystem;

namespace {

class AnyPicture final : public PictureLoader {
public:
    std::optional<int> load(const std::string&) override { return 0; }
    PictureSize size(int) const override { return {50, 50}; }
};

// The checker with the demo's train, strings and controller map beside the document.
struct Checker {
    AnyPicture pictures;
    CheckDevices devices{pictures, {}, [](const std::string&) { return VideoFacts{true, 9000, 30, 30}; }};
    Diagnostics run(const RouteDocument& doc) {
        test::ScopedCwd cwd(TRAINSIM_DEMO);
        return checkDocument(doc, "789", devices);
    }
};

std::vector<Diagnostic> warningsAbout(const Diagnostics& d, const std::string& section, const std::string& words) {
    std::vector<Diagnostic> out;
    for (const auto& x : d.items())
        if (x.severity == Severity::Warning && x.section == section && x.explanation.find(words) != std::string::npos)
            out.push_back(x);
    return out;
}

std::string all(const Diagnostics& d) {
    std::string s;
    for (const auto& x : d.items()) s += x.section + " row " + std::to_string(x.row) + ": " + x.explanation + "\n";
    return s;
}

}  // namespace

TEST(NewRouteFolder, AnEmptyFolderGetsEveryFileARunOfTheTrainReads) {
    test::TempDir dir;
    test::ScopedCwd cwd(dir.path());
    RouteLists lists;
    std::string error;
    std::vector<std::string> copied;
    ASSERT_TRUE(copyRunFiles(TRAINSIM_DEMO, "789", "KT1", &lists, &error, &copied)) << error;

    for (const char* f : {"KT1_train.txt", "string.txt", "mascon.txt", "operation.txt"})
        EXPECT_TRUE(fs::is_regular_file(f)) << f;
    EXPECT_FALSE(fs::exists("789_train.txt")) << "the train file takes the new code";
    EXPECT_FALSE(lists.signalImages.empty());
    EXPECT_FALSE(lists.signImages.empty());
    EXPECT_FALSE(lists.sounds.empty());
    // What the new folder's train and lists name is all there, found as a run finds it.
    std::vector<std::string> missing;
    const auto files = runFilesOf(".", "KT1", lists, &missing);
    EXPECT_TRUE(missing.empty()) << missing.front();
    EXPECT_GT(files.size(), 40u) << "the panel's pictures and the train's waves";
    const auto source = runFilesOf(TRAINSIM_DEMO, "789", lists);
    EXPECT_EQ(files.size(), source.size()) << "every file of the demo's train came along";
    EXPECT_EQ(copied.size(), files.size());

    // A second route keeps what the folder has (a changed text stays changed).
    std::ofstream("string.txt", std::ios::trunc) << "[Forward]\nmine\n";
    copied.clear();
    ASSERT_TRUE(copyRunFiles(TRAINSIM_DEMO, "789", "KT2", nullptr, &error, &copied)) << error;
    EXPECT_EQ(readFileBytes("string.txt").value_or(""), "[Forward]\nmine\n");
    ASSERT_EQ(copied.size(), 1u);
    EXPECT_EQ(copied[0], "KT2_train.txt");
}

TEST(NewRouteFolder, AMissingTrainOrSharedFileIsNamedAndNothingIsCopied) {
    test::TempDir source, target;
    test::ScopedCwd cwd(target.path());
    std::string error;
    EXPECT_FALSE(copyRunFiles(TRAINSIM_DEMO, "123", "KT1", nullptr, &error));
    EXPECT_NE(error.find("123_train.txt"), std::string::npos) << error;
    // A source without the controller map: the run could not load, so it is named.
    fs::copy_file(fs::path(TRAINSIM_DEMO) / "789_train.txt", source.path() / "789_train.txt");
    fs::copy_file(fs::path(TRAINSIM_DEMO) / "string.txt", source.path() / "string.txt");
    EXPECT_FALSE(copyRunFiles(source.path().string(), "789", "KT1", nullptr, &error));
    EXPECT_NE(error.find("mascon.txt"), std::string::npos) << error;
    EXPECT_FALSE(fs::exists("KT1_train.txt"));
}

TEST(NewRouteTemplate, HasThePictureAndSoundListsAndDrivesTheStartRight) {
    test::TempDir dir;
    test::ScopedCwd cwd(dir.path());
    RouteLists lists;
    std::string error;
    ASSERT_TRUE(copyRunFiles(TRAINSIM_DEMO, "789", "KT1", &lists, &error)) << error;
    RouteDocument doc = RouteDocument::fresh("video/ride.mp4", 9000, lists);
    const RouteData& r = doc.route();
    EXPECT_EQ(r.SignalImageList.count(), int(lists.signalImages.size()));
    EXPECT_EQ(r.SignImageList.count(), int(lists.signImages.size()));
    EXPECT_EQ(r.soundDataCount(), int(lists.sounds.size()));
    const StationData& start = r.stationTable.at(0);
    EXPECT_GT(start.closeTime, start.departureTime) << "the melody plays before the doors close";
    const double metres = (start.stopTo - start.stopFrom) * doc.recordedSpeedAt(r.startPosition) / 108.0;
    EXPECT_NEAR(metres, 10.0, 1.0);

    // A signal, a limit and a stop added at once show their pictures: the
    // checker finds nothing missing.
    doc.addRow(TableKind::Signal, 3000);
    doc.addRow(TableKind::SpeedLimit, 4000);
    doc.addRow(TableKind::Station, 6000);
    Checker c;
    const Diagnostics d = c.run(doc);
    EXPECT_TRUE(warningsAbout(d, "[Signal]", "ImageList").empty()) << all(d);
    EXPECT_TRUE(warningsAbout(d, "[Station]", "ImageList").empty()) << all(d);
    EXPECT_TRUE(warningsAbout(d, "[SpeedLimit]", "ImageList").empty()) << all(d);
}

TEST(NewRouteChecks, ARowWhosePictureListIsEmptyOrShortIsWarnedOnce) {
    RouteDocument doc = RouteDocument::fresh("video/ride.mp4", 9000);  // no lists
    doc.addRow(TableKind::Signal, 3000);
    doc.addRow(TableKind::Signal, 5000);
    doc.addRow(TableKind::Slope, 2000);
    Checker c;
    Diagnostics d = c.run(doc);
    const auto signals = warningsAbout(d, "[Signal]", "[SignalImageList] is empty");
    ASSERT_EQ(signals.size(), 1u) << all(d);
    EXPECT_EQ(signals[0].row, 1) << "named at the first row that needs it";
    const auto signs = warningsAbout(d, "[Station]", "[SignImageList] is empty");
    EXPECT_EQ(signs.size(), 1u) << all(d);
    EXPECT_TRUE(warningsAbout(d, "[Slope]", "[SignImageList]").empty()) << "the empty list is named once";

    // Three pictures are enough for repeaters only: aspect set 3 (a new
    // signal's) needs thirteen.
    std::string bytes = doc.bytes();
    const std::string marker = "[SignalImageList]\n";
    bytes.replace(bytes.find(marker), marker.size(), marker + "a.png\nb.png\nc.png\n");
    ASSERT_TRUE(doc.replaceFile(bytes));
    d = c.run(doc);
    EXPECT_EQ(warningsAbout(d, "[Signal]", "needs pictures up to 12").size(), 2u) << all(d);
}

TEST(NewRouteChecks, DoorsClosingBeforeTheDepartureAndAStopRangeUnderAMetreAreWarned) {
    RouteDocument doc = RouteDocument::fresh("video/ride.mp4", 9000);
    const int row = doc.addRow(TableKind::Station, 4000);
    Checker c;
    EXPECT_TRUE(warningsAbout(c.run(doc), "[Station]", "before the departure time").empty());
    ASSERT_TRUE(doc.setText(TableKind::Station, row, 6, "08:01:00", nullptr));  // closeTime
    ASSERT_TRUE(doc.setText(TableKind::Station, row, 5, "08:01:10", nullptr));  // departureTime
    EXPECT_EQ(warningsAbout(c.run(doc), "[Station]", "before the departure time").size(), 1u);

    // 2 frames at the crawl of a stop are a few centimetres.
    doc.setSpeedKeyframes({{0, 40}, {3900, 40}, {3950, 1}, {4050, 1}, {4100, 40}, {8999, 40}});
    ASSERT_TRUE(doc.setFrame(TableKind::Station, row, 2, 3999));
    ASSERT_TRUE(doc.setFrame(TableKind::Station, row, 3, 4001));
    const auto shortRange = warningsAbout(c.run(doc), "[Station]", "stop range is only");
    ASSERT_EQ(shortRange.size(), 1u);
    EXPECT_NE(shortRange[0].explanation.find("0.0 m"), std::string::npos) << shortRange[0].explanation;
}

TEST(NewRouteChecks, GradientsSteeperThanAdhesionRailwaysAreWarnedNotRefused) {
    RouteDocument doc = RouteDocument::fresh("video/ride.mp4", 9000);
    const int a = doc.addRow(TableKind::Slope, 1000);
    const int b = doc.addRow(TableKind::Slope, 3000);
    const int e = doc.addRow(TableKind::Slope, 5000);
    ASSERT_TRUE(doc.setText(TableKind::Slope, a, 0, "35", nullptr));
    ASSERT_TRUE(doc.setText(TableKind::Slope, b, 0, "-45.5", nullptr));
    ASSERT_TRUE(doc.setText(TableKind::Slope, e, 0, "153", nullptr));
    Checker c;
    const Diagnostics d = c.run(doc);
    EXPECT_EQ(d.count(Severity::Error), 0) << "a run takes any gradient";
    const auto main = warningsAbout(d, "[Slope]", "steeper than main lines");
    ASSERT_EQ(main.size(), 1u) << all(d);
    EXPECT_EQ(main[0].row, 2);
    const auto adhesion = warningsAbout(d, "[Slope]", "steeper than any adhesion railway");
    ASSERT_EQ(adhesion.size(), 1u) << all(d);
    EXPECT_EQ(adhesion[0].row, 3);
}

TEST(NewRouteStations, StopRangesAreMetresThroughTheRecordedSpeed) {
    RouteDocument doc = RouteDocument::fresh("video/ride.mp4", 9000);
    doc.setSpeedKeyframes({{0, 40}, {1500, 40}, {2000, 1}, {4000, 1}, {4500, 54}, {8999, 54}});
    const int crawl = doc.addRow(TableKind::Station, 3000);
    const StationData& s = doc.route().stationTable[size_t(crawl)];
    EXPECT_NEAR(3000 - s.stopFrom, 540, 2) << "5 m at 1 km/h";
    EXPECT_NEAR(s.stopTo - 3000, 540, 2);
    const int fast = doc.addRow(TableKind::Station, 6000);
    const StationData& f = doc.route().stationTable[size_t(fast)];
    EXPECT_EQ(6000 - f.stopFrom, 10) << "5 m at 54 km/h are 10 frames";
    EXPECT_EQ(f.stopTo - 6000, 10);
}

TEST(NewRouteStations, TheDistanceToTheNextStopFollowsTheStops) {
    RouteDocument doc = RouteDocument::fresh("video/ride.mp4", 9000);  // 40 km/h throughout
    doc.setSpeedKeyframes({{0, 54}, {8999, 54}});                      // half a metre a frame
    const int second = doc.addRow(TableKind::Station, 4030);
    const auto& st = doc.route().stationTable;
    ASSERT_EQ(st.size(), 2u);
    // Marks at 30 and 4030: 4000 frames of half a metre.
    EXPECT_EQ(st[0].nextStopDistance, 200000);
    EXPECT_EQ(st[1].nextStopDistance, 0) << "the terminus";

    // Moving the stop moves its mark: 1000 frames further are 500 m more.
    const int from = st[1].stopFrom, to = st[1].stopTo;
    doc.beginGroup();
    ASSERT_TRUE(doc.setFrame(TableKind::Station, second, 3, to + 1000));
    ASSERT_TRUE(doc.setFrame(TableKind::Station, second, 2, from + 1000));
    doc.endGroup();
    EXPECT_EQ(doc.route().stationTable[0].nextStopDistance, 250000);

    // A distance typed in stays while the stops stay; a passing station is skipped.
    ASSERT_TRUE(doc.setText(TableKind::Station, 0, 7, "123456", nullptr));
    ASSERT_TRUE(doc.setText(TableKind::Station, 1, 0, "Renamed", nullptr));
    EXPECT_EQ(doc.route().stationTable[0].nextStopDistance, 123456);
    const int pass = doc.addRow(TableKind::Station, 8000);
    ASSERT_TRUE(doc.setText(TableKind::Station, pass, 1, "1", nullptr));
    EXPECT_EQ(doc.route().stationTable[0].nextStopDistance, 250000);
    EXPECT_EQ(doc.route().stationTable[1].nextStopDistance, 0) << "no stop after it";
    doc.removeRow(TableKind::Station, 1);
    EXPECT_EQ(doc.route().stationTable[0].nextStopDistance, 0);
}

// Moving a stop and moving it back leaves the file as it was: a distance
// within a metre of the recorded speed's is kept, and a passing station's,
// which no run reads, is never rewritten.
TEST(NewRouteStations, AStopMovedAndMovedBackLeavesItsDistancesAsWritten) {
    RouteDocument doc = RouteDocument::fresh("video/ride.mp4", 9000);
    doc.setSpeedKeyframes({{0, 54}, {8999, 54}});  // half a metre a frame
    const int second = doc.addRow(TableKind::Station, 4030);
    ASSERT_EQ(doc.route().stationTable[0].nextStopDistance, 200000);
    ASSERT_TRUE(doc.setText(TableKind::Station, 0, 7, "200040", nullptr));  // finer than whole km/h
    ASSERT_TRUE(doc.setText(TableKind::Station, second, 7, "777", nullptr));

    ASSERT_TRUE(doc.setText(TableKind::Station, second, 1, "1", nullptr));  // passes
    EXPECT_EQ(doc.route().stationTable[0].nextStopDistance, 0) << "no stop after it";
    EXPECT_EQ(doc.route().stationTable[1].nextStopDistance, 777) << "a passing station's stays";
    ASSERT_TRUE(doc.setText(TableKind::Station, 0, 7, "200040", nullptr));
    ASSERT_TRUE(doc.setText(TableKind::Station, second, 1, "0", nullptr));  // stops again
    EXPECT_EQ(doc.route().stationTable[0].nextStopDistance, 200040) << "within a metre: kept";
    EXPECT_EQ(doc.route().stationTable[1].nextStopDistance, 0) << "the terminus";

    ASSERT_TRUE(doc.setText(TableKind::Station, 0, 7, "201000", nullptr));  // 10 m off
    ASSERT_TRUE(doc.setFrame(TableKind::Station, second, 3, doc.route().stationTable[1].stopTo + 2));
    EXPECT_EQ(doc.route().stationTable[0].nextStopDistance, 200050) << "a metre or more off: worked out again";
}
