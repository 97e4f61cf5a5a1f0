// The GPX reader's complaints, the route rewrite that keeps every other byte,
// and "trainsim import-gps" end to end on a copy of a test route.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>

#include "data/route_reader.h"
#include "data/section_rewriter.h"
#include "data/text_file.h"
#include "fake_pictures.h"
#include "gps/import.h"
#include "gps_rides.h"
#include "gpx_file.h"
#include "program_runs.h"
#include "test_support.h"

using namespace ts;
using namespace ts::gps;
namespace fs = std::filesystem;

namespace {

// The reader's line and message for a bad file.
std::pair<int, std::string> complaint(const std::string& gpx) {
    try {
        joinSegments(readGpxText(gpx));
    } catch (const ImportError& e) {
        return {e.line, e.what()};
    }
    return {-1, ""};
}

const char* kHead = "<?xml version=\"1.0\"?>\n<gpx version=\"1.1\" xmlns=\"http://www.topografix.com/GPX/1/1\">\n";

using Output = test::ProgramStreams;
using test::trainsimApart;

// Stands 30 s, runs to 1000 m and stands again from 100 s to 130 s, then on
// to 2200 m at 200 s; level to 1000 m, then 5 per mille up.
test::RidePlan stoppingRide() {
    test::RidePlan s;
    s.distance = [](double t) {
        if (t < 30) return 0.0;
        if (t < 50) return 0.5 * (t - 30) * (t - 30);
        if (t < 80) return 200 + 20 * (t - 50);
        if (t < 100) return 1000 - 0.5 * (100 - t) * (100 - t);
        if (t < 130) return 1000.0;
        if (t < 150) return 1000 + 0.5 * (t - 130) * (t - 130);
        return 1200 + 20 * (t - 150);
    };
    s.height = [](double d) { return d < 1000 ? 50 : 50 + 0.005 * (d - 1000); };
    s.seconds = 200;
    s.jitterMetres = 1;
    s.waypoints = {{"東駅", 0, 15}, {"新駅", 1000, -20}, {"遠い駅", 600, 900}};
    return s;
}

}  // namespace

TEST(GpxFile, ReadsSegmentsHeightsTimesAndWaypoints) {
    const std::string gpx =
        std::string(kHead) +
        "<wpt lat=\"35.1\" lon=\"139.2\"><name> 東駅 </name></wpt>\n"
        "<trk><trkseg>\n"
        "<trkpt lat=\"35.0\" lon=\"139.0\"><ele>12.5</ele><time>2024-05-01T09:00:00Z</time></trkpt>\n"
        "</trkseg><trkseg>\n"
        "<trkpt lat=\"35.001\" lon=\"139.0\"><time>2024-05-01T18:00:01.5+09:00</time>"
        "<extensions><speed>3</speed></extensions></trkpt>\n"
        "</trkseg></trk></gpx>\n";
    const Track t = readGpxText(gpx);
    ASSERT_EQ(t.segments.size(), 2u);
    ASSERT_EQ(t.waypoints.size(), 1u);
    EXPECT_EQ(t.waypoints[0].name, "東駅");
    EXPECT_EQ(t.waypoints[0].line, 3);
    EXPECT_DOUBLE_EQ(t.segments[0][0].ele, 12.5);
    EXPECT_EQ(t.segments[0][0].line, 5);
    EXPECT_FALSE(t.segments[1][0].hasEle());
    EXPECT_DOUBLE_EQ(t.segments[1][0].time - t.segments[0][0].time, 1.5);  // the zone is honoured
    EXPECT_EQ(t.segments[1][0].line, 7);
}

TEST(GpxFile, BadInputIsNamedWithItsLine) {
    auto pt = [](const char* time) {
        return std::string("<trkpt lat=\"35\" lon=\"139\">") + (time ? std::string("<time>") + time + "</time>" : "") +
               "</trkpt>\n";
    };
    auto track = [&](const std::string& points) {
        return std::string(kHead) + "<trk><trkseg>\n" + points + "</trkseg></trk></gpx>\n";
    };

    auto c = complaint("this is no XML at all");
    EXPECT_NE(c.second.find("not a GPX file"), std::string::npos) << c.second;
    c = complaint("<?xml version=\"1.0\"?>\n<kml><Document/></kml>\n");
    EXPECT_NE(c.second.find("<kml>"), std::string::npos) << c.second;
    EXPECT_EQ(c.first, 2);
    c = complaint(track(pt("2024-05-01T09:00:00Z") + pt(nullptr)));
    EXPECT_NE(c.second.find("no <time>"), std::string::npos) << c.second;
    EXPECT_EQ(c.first, 5);
    c = complaint(track(pt("2024-05-01T09:00:05Z") + pt("2024-05-01T09:00:06Z") + pt("2024-05-01T09:00:02Z")));
    EXPECT_NE(c.second.find("backwards"), std::string::npos) << c.second;
    EXPECT_EQ(c.first, 6);
    c = complaint(track(pt("yesterday")));
    EXPECT_NE(c.second.find("ISO 8601"), std::string::npos) << c.second;
    EXPECT_EQ(c.first, 4);
    c = complaint(track("<trkpt lat=\"north\" lon=\"139\"/>\n"));
    EXPECT_NE(c.second.find("lat"), std::string::npos) << c.second;
    EXPECT_EQ(c.first, 4);
    c = complaint(track(pt("2024-05-01T09:00:00Z") + "<trkpt lat=\"35\" lon=\"139\">\n"));
    EXPECT_NE(c.second.find("well-formed"), std::string::npos) << c.second;
    c = complaint(std::string(kHead) + "</gpx>\n");
    EXPECT_NE(c.second.find("no track points"), std::string::npos) << c.second;
}

TEST(GpsRouteRewrite, OnlyTheListEntriesChange) {
    const std::string file = "head\r\n[Slope]\r\n1,2,3\r\n4,5,6\r\n#\r\n[Sign]\r\n0,1,2\r\n#\r\ntail";
    std::vector<SectionSpan> spans{{"[Slope]", 1, 5}, {"[Sign]", 5, 8}};
    const std::string out = rewriteSections(file, spans, {{"[Slope]", {"2.5,10,20"}}, {"[SpeedUnit]", {"0,9,5,5"}}});
    EXPECT_EQ(out,
              "head\r\n[Slope]\r\n2.5,10,20\r\n#\r\n[Sign]\r\n0,1,2\r\n#\r\ntail\r\n[SpeedUnit]\r\n0,9,5,5\r\n#\r\n");
    // An empty list gets its first rows.
    const std::string empty = "[Slope]\n#\n";
    EXPECT_EQ(rewriteSections(empty, {{"[Slope]", 0, 2}}, {{"[Slope]", {"1.0,0,5"}}}), "[Slope]\n1.0,0,5\n#\n");
}

TEST(GpsImportCommand, RewritesTheRouteAndKeepsABackup) {
    test::TempDir dir;
    for (const auto& e : fs::directory_iterator(TRAINSIM_FIXTURES "/basic"))
        fs::copy(e.path(), dir.path() / e.path().filename());
    const std::string route = (dir.path() / "789_line.txt").string();
    const std::string before = *readFileBytes(route);
    dir.write("ride.gpx", test::rideGpx(stoppingRide()));

    const Output o = trainsimApart("import-gps --data '" + dir.path().string() + "' 789 '" +
                                   (dir.path() / "ride.gpx").string() + "' --offset 0 --frames 6000");
    ASSERT_EQ(o.status, 0) << o.err;
    EXPECT_NE(o.out.find("[SpeedUnit]: "), std::string::npos) << o.out;
    EXPECT_NE(o.out.find("遠い駅"), std::string::npos) << "the far waypoint is named as not a station\n" << o.out;
    EXPECT_EQ(*readFileBytes(route + ".bak"), before);

    // Everything before the first rewritten section is as it was, byte for byte.
    const std::string after = *readFileBytes(route);
    const size_t station = before.find("[Station]\r\n");
    EXPECT_EQ(after.substr(0, station), before.substr(0, station));
    const size_t signal = before.find("[Signal]"), slope = before.find("[Slope]");
    EXPECT_EQ(after.substr(after.find("[Signal]"), slope - signal), before.substr(signal, slope - signal));
    EXPECT_EQ(after.find("\n[SpeedUnit]"), after.rfind("\n[SpeedUnit]"));

    // What the run reads from it.
    test::FakePictures pictures;
    RecordingMessageBoxes boxes;
    RouteData r;
    {
        test::ScopedCwd cwd(dir.path());
        ASSERT_NO_THROW(readRouteFile(route, r, pictures, boxes)) << (boxes.all().empty() ? "" : boxes.all()[0]);
    }
    EXPECT_EQ(r.lineName, "試験線");
    for (int f = 200; f < 800; f += 50) EXPECT_EQ(recordedSpeedAt(r.speedUnitTable, f), 1) << "standing, frame " << f;
    EXPECT_NEAR(recordedSpeedAt(r.speedUnitTable, 65 * 30), 72, 1.5);
    // One climb, beginning at 1000 m: where the train stood from frame 3000 to 3900.
    std::vector<SlopeRow> steep;
    for (const SlopeRow& g : r.slopeTable)
        if (std::abs(g.gradient) >= 10000) steep.push_back(g);
    ASSERT_EQ(steep.size(), 1u);
    EXPECT_NEAR(steep[0].gradient / 10000.0, 5, 0.5);
    EXPECT_GE(steep[0].fromPosition, 2950);
    EXPECT_LE(steep[0].fromPosition, 4050);
    EXPECT_EQ(steep[0].toPosition, 5999);
    ASSERT_GE(r.stationTable.size(), 2u);
    const StationData& east = r.stationTable[0];
    EXPECT_EQ(east.name, "東駅");
    // The train stood there from frame 0 to 900: the route's placeholder times
    // (864900 / 864600, the doors closing first) give way to the track's, and
    // the stop, moved to frame 0, still holds [StartPos] 100.
    EXPECT_NEAR(east.departureTime, 864000 + 900 - 100 - 600, 45);
    EXPECT_EQ(east.closeTime, east.departureTime + 300);
    EXPECT_NE(o.out.find("station \"東駅\" takes the track's times"), std::string::npos) << o.out;
    EXPECT_EQ(east.stopFrom, 0);
    EXPECT_GE(east.stopTo, 100) << "the run starts inside its first stop";
    auto fresh = std::find_if(r.stationTable.begin(), r.stationTable.end(),
                              [](const StationData& s) { return s.name == "新駅"; });
    ASSERT_NE(fresh, r.stationTable.end());
    EXPECT_EQ(fresh->kind, 0);
    // The train came to rest at 100 s (frame 3000) and moved off at 130 s
    // (frame 3900); the speed window puts the rest a second or so late, the
    // last 35 cm of the stop.
    EXPECT_NEAR(fresh->stopFrom + 60, 3000, 45);
    // 995.5 m from the first stop to the kept 西駅 (its centre, frame 2910 = 97 s).
    EXPECT_NEAR(east.nextStopDistance, 99550, 995);
    EXPECT_NEAR(fresh->departureTime, 864000 + 3900 - 100 - 600, 45);
    EXPECT_NEAR(fresh->closeTime, 864000 + 3900 - 100 - 300, 45);
}

TEST(GpsImportCommand, BadTracksWriteNothing) {
    test::TempDir dir;
    for (const auto& e : fs::directory_iterator(TRAINSIM_FIXTURES "/basic"))
        fs::copy(e.path(), dir.path() / e.path().filename());
    const std::string route = (dir.path() / "789_line.txt").string();
    const std::string before = *readFileBytes(route);
    auto run = [&](const std::string& gpx, const std::string& extra) {
        dir.write("bad.gpx", gpx);
        return trainsimApart("import-gps --data '" + dir.path().string() + "' 789 '" +
                             (dir.path() / "bad.gpx").string() + "' --frames 3000 " + extra);
    };
    test::RidePlan gap = stoppingRide();
    gap.gaps = {{60, 70}};
    test::RidePlan shortRide = stoppingRide();
    shortRide.seconds = 90;
    struct Case {
        std::string gpx, args, says;
    } cases[] = {
        {"not xml", "--offset 0", "not a GPX file"},
        {test::rideGpx(gap), "--offset 0", "gap of 11.0 s"},
        {test::rideGpx(shortRide), "--offset 0", "shorter than the video"},
        {test::rideGpx(stoppingRide()), "--sync 0=5 --sync 0=9", "same frame"},
        {test::rideGpx(stoppingRide()), "--offset 0 --what speed,wheels", "--what"},
    };
    for (const Case& c : cases) {
        const Output o = run(c.gpx, c.args);
        EXPECT_NE(o.status, 0) << c.says;
        EXPECT_NE(o.err.find(c.says), std::string::npos) << o.err;
        EXPECT_EQ(*readFileBytes(route), before) << c.says;
        EXPECT_FALSE(fs::exists(route + ".bak")) << c.says;
    }
    // The gap is named at the line of the fix after it.
    const Output o = run(test::rideGpx(gap), "--offset 0");
    EXPECT_NE(o.err.find("bad.gpx:"), std::string::npos) << o.err;
}

TEST(GpsImportCommand, ShiftJisRouteGetsShiftJisNames) {
    test::TempDir dir;
    // 東駅 in CP932, a route that is not UTF-8.
    const std::string route = dir.write("789_line.txt",
                                        "[StartPos]\r\n100\r\n[StartTime]\r\n864000\r\n[Station]\r\n"
                                        "\x93\x8c\x89\x77,0,90,110,0,864900,864600,150000\r\n#\r\n");
    const Ride ride = joinSegments(readGpxText(test::rideGpx(stoppingRide())));
    Track track = readGpxText(test::rideGpx(stoppingRide()));
    ImportRequest req;
    req.routePath = route;
    req.align = alignByOffset(0);
    req.frames = 6000;
    req.speed = req.slopes = false;
    const ImportPlan plan = planImport(ride, track, req);
    EXPECT_NE(plan.bytes.find("\x90\x56\x89\x77,0,"), std::string::npos) << "新駅 in CP932";
    EXPECT_EQ(plan.bytes.find("[SpeedUnit]"), std::string::npos) << "only the sections asked for";
    applyImport(route, plan.bytes);
    const RouteData back = readRouteForImport(route);
    ASSERT_EQ(back.stationTable.size(), 2u);
    EXPECT_EQ(back.stationTable[0].name, "東駅");
    EXPECT_EQ(back.stationTable[1].name, "新駅");

    // A name Shift-JIS cannot hold is refused before anything is written.
    track.waypoints[1].name = "新駅\xF0\x9F\x9A\x83";
    EXPECT_THROW(planImport(ride, track, req), ImportError);
}

TEST(GpsImportCommand, AMistypedCodeNamesTheMissingRouteFileAndTheRoutesThere) {
    test::TempDir dir;
    for (const auto& e : fs::directory_iterator(TRAINSIM_FIXTURES "/basic"))
        fs::copy(e.path(), dir.path() / e.path().filename());
    dir.write("ride.gpx", std::string(kHead) + "</gpx>\n");
    const Output o = trainsimApart("import-gps --data '" + dir.path().string() + "' 7890 '" +
                                   (dir.path() / "ride.gpx").string() + "' --offset 0");
    EXPECT_EQ(o.status, 1) << o.err;
    EXPECT_NE(o.err.find("7890_line.txt does not exist"), std::string::npos) << o.err;
    EXPECT_NE(o.err.find("routes there: 40, 789"), std::string::npos) << o.err;
    EXPECT_EQ(o.err.find("路線ファイル"), std::string::npos) << o.err;
}

TEST(GpsImportCommand, LongerGapsAreBridgedOnRequestAndATrackInLocalTimeGetsAHint) {
    test::TempDir dir;
    for (const auto& e : fs::directory_iterator(TRAINSIM_FIXTURES "/basic"))
        fs::copy(e.path(), dir.path() / e.path().filename());
    auto run = [&](const test::RidePlan& plan, const std::string& extra) {
        dir.write("ride.gpx", test::rideGpx(plan));
        return trainsimApart("import-gps --data '" + dir.path().string() + "' 789 '" +
                             (dir.path() / "ride.gpx").string() + "' --frames 3000 --dry-run " + extra);
    };
    test::RidePlan gap = stoppingRide();
    gap.gaps = {{60, 71}};
    EXPECT_NE(run(gap, "--offset 0").err.find("at most 5.0 s can be bridged"), std::string::npos);
    const Output bridged = run(gap, "--offset 0 --max-gap 15");
    ASSERT_EQ(bridged.status, 0) << bridged.err;
    EXPECT_NE(bridged.out.find("bridged: a gap of 1"), std::string::npos) << bridged.out;
    EXPECT_EQ(run(gap, "--offset 0 --max-gap 0.5").status, 2);

    // The track's times read as UTC are 9 h after the marks: the hint names --tz +9, which then fits.
    const std::string marks = "--sync 0=2024-05-01T00:00:05Z --sync 2990=2024-05-01T00:01:44.667Z";
    const Output off = run(stoppingRide(), marks);
    EXPECT_EQ(off.status, 1);
    EXPECT_NE(off.err.find("another time zone"), std::string::npos) << off.err;
    EXPECT_NE(off.err.find("give --tz +9"), std::string::npos) << off.err;
    const Output zoned = run(stoppingRide(), marks + " --tz 9");
    EXPECT_EQ(zoned.status, 0) << zoned.err;
    // A track that is simply too short gets no such hint.
    EXPECT_EQ(
        run(stoppingRide(), "--sync 0=2024-05-01T08:30:05Z --sync 2990=2024-05-01T08:31:44.667Z").err.find("time zone"),
        std::string::npos);
}

TEST(GpsImportCommand, KeepTimesLeavesTheRoutesStationTimesAndATerminusBeforeTheVideosEndIsAStop) {
    test::TempDir dir;
    for (const auto& e : fs::directory_iterator(TRAINSIM_FIXTURES "/basic"))
        fs::copy(e.path(), dir.path() / e.path().filename());
    dir.write("ride.gpx", test::rideGpx(stoppingRide()));
    const std::string track = (dir.path() / "ride.gpx").string();
    const Output kept = trainsimApart("import-gps --data '" + dir.path().string() + "' 789 '" + track +
                                      "' --offset 0 --frames 6000 --dry-run --keep-times");
    ASSERT_EQ(kept.status, 0) << kept.err;
    EXPECT_NE(kept.out.find(",864900,864600,"), std::string::npos) << kept.out;
    EXPECT_EQ(kept.out.find("takes the track's times"), std::string::npos);

    // The video ends at 115 s, while the train stands at 新駅 (100 s to 130 s);
    // the track goes on and passes nearer the waypoint later: still a stop.
    const Output terminus = trainsimApart("import-gps --data '" + dir.path().string() + "' 789 '" + track +
                                          "' --offset 0 --frames 3450 --dry-run");
    ASSERT_EQ(terminus.status, 0) << terminus.err;
    EXPECT_EQ(terminus.out.find("新駅\" (line"), std::string::npos) << terminus.out;
    EXPECT_NE(terminus.out.find("新駅,0,"), std::string::npos) << terminus.out;
}

TEST(GpsImportCommand, NoisyHeightsWriteNoGradientTheyCannotTellAndNoneSteeperThanARailway) {
    test::TempDir dir;
    for (const auto& e : fs::directory_iterator(TRAINSIM_FIXTURES "/basic"))
        fs::copy(e.path(), dir.path() / e.path().filename());
    // Level track at 20 m/s, heights with a metre of noise, and a 12 m jump
    // over 80 m (150 per mille) that no railway has.
    test::RidePlan plan;
    plan.distance = [](double t) { return 20 * t; };
    plan.seconds = 120;
    plan.height = [](double d) {
        const double noise = std::sin(d * 12.9898) * 43758.5453;
        const double jump = d < 1200 ? 0 : d < 1280 ? (d - 1200) * 0.15 : d < 1360 ? 12 - (d - 1280) * 0.15 : 0;
        return 50 + 1.7 * (noise - std::floor(noise) - 0.5) + jump;
    };
    dir.write("ride.gpx", test::rideGpx(plan));
    const Output o =
        trainsimApart("import-gps --data '" + dir.path().string() + "' 789 '" + (dir.path() / "ride.gpx").string() +
                      "' --offset 0 --frames 3500 --dry-run --what slopes");
    ASSERT_EQ(o.status, 0) << o.err;
    std::printf("%s", o.out.c_str());
    EXPECT_NE(o.out.find("section(s) left level"), std::string::npos) << o.out;
    EXPECT_NE(o.out.find("[Slope]: 0 rows"), std::string::npos) << "the track is level";
    const size_t at = o.out.find("\n[Slope]\n");
    ASSERT_NE(at, std::string::npos) << o.out;
    std::istringstream rows(o.out.substr(at + 9));
    for (std::string row; std::getline(rows, row) && row != "#";)
        EXPECT_LE(std::abs(std::stod(row)), 100.0) << row << "\n" << o.out;
}
