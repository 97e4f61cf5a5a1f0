// The demo data set: both trains load through the real program and can be
// driven away from the first station; the line descriptions agree with the
// videos made from them.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <vector>

#include "drive_runner.h"
#include "line.h"

using namespace ts::test;

namespace {

const std::string kDemo = TRAINSIM_DEMO;

std::string last(const DriveResult& r, const char* event = "step") {
    std::string out;
    for (const auto& l : r.lines)
        if (field(l, "event") == event) out = l;
    return out;
}

}  // namespace

TEST(DemoData, ElectricTrainDrivesAwayFromTheFirstStation) {
    // Doors open at the start; the melody at 09:30:15 and the doors close after it.
    std::string script = "@0 start\n@100 char f\n@100 char 5\n";
    for (int i = 0; i < 5; ++i) script += "@57000 char 8\n";
    script += "@70000 close\n";
    const auto r = drive(kDemo, "789", script);
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.lines.front().find("\"messages\":[]"), std::string::npos) << r.lines.front().substr(0, 200);
    const std::string end = last(r);
    EXPECT_GT(std::stoll(field(end, "speed")), 300000) << "above 30 km/h";
    EXPECT_GT(std::stoi(field(end, "trainPosition")), 400);
    EXPECT_EQ(field(end, "lastPaintedFrame"), field(end, "paintFrame")) << "the view follows the train";
    EXPECT_GT(std::stoi(field(end, "lastPaintedFrame")), 400);
    EXPECT_EQ(field(end, "stationDepartureSoundPlayed").substr(0, 2), "[1");
}

TEST(DemoData, DieselRailcarDrivesAwayFromTheFirstStation) {
    // One-man: the driver closes the doors after the melody; separate handles.
    std::string script = "@0 start\n@100 char f\n@100 char 5\n@52000 char d\n";
    for (int i = 0; i < 4; ++i) script += "@56000 char z\n";
    script += "@80000 close\n";
    const auto r = drive(kDemo, "40", script);
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.lines.front().find("\"messages\":[]"), std::string::npos);
    const std::string end = last(r);
    EXPECT_GT(std::stoll(field(end, "speed")), 150000) << "above 15 km/h";
    EXPECT_GT(std::stoi(field(end, "lastPaintedFrame")), 300);
    EXPECT_EQ(field(end, "doorsOpen"), "0");
}

TEST(DemoData, LineDescriptionsLieOnTheirVideosAndStopAtStations) {
    for (const demo::Line& l : {demo::electricLine(), demo::dieselLine()}) {
        auto onVideo = [&](int frame) { return frame >= 0 && frame < l.frames; };
        int stops = 0, passes = 0;
        for (const auto& s : l.stations) {
            EXPECT_TRUE(onVideo(s.stopFrom) && onVideo(s.stopTo)) << s.board;
            EXPECT_LT(s.stopTo, 4500) << "the run ends past frame 4500";
            if (s.kind == 1) {
                ++passes;
                continue;
            }
            ++stops;
            double slowest = 1e9;
            for (int f = s.stopFrom; f <= s.stopTo; ++f) slowest = std::min(slowest, demo::recordedSpeed(l, f));
            EXPECT_LE(slowest, 5.0) << "the recording stops at " << s.board;
        }
        EXPECT_GE(stops, 3);
        EXPECT_GE(passes, 1);
        for (const auto& s : l.signalRows) EXPECT_TRUE(onVideo(s.from) && onVideo(s.to));
        for (const auto& s : l.slopes) EXPECT_TRUE(onVideo(s.from) && onVideo(s.to));
        for (const auto& s : l.limits) EXPECT_TRUE(onVideo(s.notice) && onVideo(s.to));
        for (const auto& s : l.signs) EXPECT_TRUE(onVideo(s.from) && onVideo(s.to));
        for (const auto& t : l.tunnels) EXPECT_TRUE(onVideo(t.from) && onVideo(t.to));
        EXPECT_TRUE(onVideo(l.levelCrossing));
        EXPECT_GT(l.frames, 4501) << "the video runs past the end of the line";
    }
}

TEST(DemoData, FirstDepartureComesFifteenSecondsAfterStartInBothRouteFiles) {
    for (const auto& [code, start] :
         {std::pair{"789", 9 * 108000 + 30 * 1800}, std::pair{"40", 14 * 108000 + 10 * 1800}}) {
        std::ifstream in(kDemo + "/" + code + "_line.txt", std::ios::binary);
        std::stringstream text;
        text << in.rdbuf();
        std::string f = text.str();  // CR LF line ends, as data sets made on Windows have
        std::erase(f, '\r');
        const size_t startAt = f.find("[StartTime]\n");
        ASSERT_NE(startAt, std::string::npos) << code;
        EXPECT_EQ(std::stoi(f.substr(startAt + 12)), start) << code;
        const size_t station = f.find("[Station]\n");
        ASSERT_NE(station, std::string::npos) << code;
        // name, kind, from, to, sound, departure, close, next distance
        std::stringstream row(f.substr(station + 10, f.find('\n', station + 10) - station - 10));
        std::vector<std::string> fields;
        for (std::string x; std::getline(row, x, ',');) fields.push_back(x);
        ASSERT_EQ(fields.size(), 8u) << code;
        EXPECT_EQ(std::stoi(fields[5]), start + 15 * 30) << code << ": departure";
        EXPECT_EQ(std::stoi(fields[6]), start + 16 * 30) << code << ": doors close once the melody has ended";
    }
}

TEST(DemoData, NewcomersTrainMovesWithinTwentySecondsOfStart) {
    // Start, reverser forward, handle straight to power 3; nothing else. The
    // 789's one handle goes to neutral (5) and three notches up; the 40's
    // driver closes the doors once the melody has ended.
    const std::string common = "@0 start\n@100 char f\n@200 char 5\n@200 char z\n@200 char z\n@200 char z\n";
    for (const auto& [code, extra] : {std::pair{"789", ""}, std::pair{"40", "@17000 char d\n"}}) {
        const auto r = drive(kDemo, code, common + extra + "@20000 close\n");
        ASSERT_EQ(r.status, 0) << r.err;
        int64_t moved = -1, melody = -1;
        for (const auto& l : r.lines) {
            if (field(l, "event") != "step") continue;
            if (melody < 0 && field(l, "stationDepartureSoundPlayed").substr(0, 2) == "[1")
                melody = std::stoll(field(l, "t"));
            if (moved < 0 && std::stoll(field(l, "speed")) > 0) moved = std::stoll(field(l, "t"));
        }
        EXPECT_GE(melody, 14800) << code << ": the melody at the departure time";
        EXPECT_LE(melody, 15200) << code;
        EXPECT_GT(moved, melody) << code << ": no movement before the doors have closed";
        EXPECT_GT(moved, 0) << code << ": the train never moved";
        EXPECT_LE(moved, 20000) << code;
    }
}

// The demo data set is what a newcomer copies: the checker finds nothing in it.
TEST(DemoData, TheCheckerFindsNoErrorAndNoWarning) {
    const std::string cmd = "'" TRAINSIM_BIN "' check --data '" TRAINSIM_DEMO "' 2>&1";
    FILE* p = popen(cmd.c_str(), "r");
    std::string out;
    char buf[4096];
    size_t n;
    while ((n = fread(buf, 1, sizeof buf, p)) > 0) out.append(buf, n);
    const int raw = pclose(p);
    EXPECT_TRUE(WIFEXITED(raw) && WEXITSTATUS(raw) == 0) << out;
    // The demo lets the driver catch up with the preceding train: the only
    // remarks are the signals a timetable-keeping driver meets restricted.
    std::string counts;
    std::istringstream lines(out);
    for (std::string line; std::getline(lines, line);) {
        if (line.find(": note: [Signal]") != std::string::npos) {
            EXPECT_NE(line.find("meets this signal at a restricting aspect"), std::string::npos) << line;
            continue;
        }
        counts += line + "\n";
    }
    EXPECT_EQ(counts, "40: 0 errors, 0 warnings\n789: 0 errors, 0 warnings\n0 errors and 0 warnings in 2 trains\n");
}
