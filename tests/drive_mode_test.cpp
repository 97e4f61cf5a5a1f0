// The headless drive mode, run as the real program: the run's life through
// the trace (start, pause, close, inputLocked), determinism and failures.
#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <map>
#include <thread>

#include "drive_runner.h"
#include "test_support.h"

using namespace ts::test;

namespace {
const std::string kBasic = TRAINSIM_FIXTURES "/basic";

int countEvents(const DriveResult& r, const std::string& event) {
    int n = 0;
    for (const auto& l : r.lines) n += field(l, "event") == event;
    return n;
}
}  // namespace

TEST(DriveMode, StartPauseResumeAndClose) {
    const auto r = drive(kBasic, "789", "@0 start\n@1050 start\n@2000 start\n@2550 close\n");
    ASSERT_EQ(r.status, 0) << r.err;
    ASSERT_FALSE(r.lines.empty());
    const std::string& loaded = r.lines.front();
    EXPECT_EQ(field(loaded, "event"), "loaded");
    EXPECT_EQ(field(loaded, "t"), "0");
    EXPECT_EQ(field(loaded, "inputLocked"), "1");
    EXPECT_NE(loaded.find("\"start1\":\"Start\""), std::string::npos);
    // Steps at 100 .. 1000 while running, none while paused, then 2100 .. 2500.
    std::vector<std::string> times;
    for (const auto& l : r.lines)
        if (field(l, "event") == "step") times.push_back(field(l, "t"));
    ASSERT_EQ(times.size(), 15u);
    EXPECT_EQ(times.front(), "100");
    EXPECT_EQ(times[9], "1000");
    EXPECT_EQ(times[10], "2100");
    EXPECT_EQ(times.back(), "2500");
    EXPECT_NE(r.lines[1].find("\"start1\":\"一時停止(&S)\""), std::string::npos);
    EXPECT_EQ(field(r.lines[1], "inputLocked"), "0");
    const std::string& end = r.lines.back();
    EXPECT_EQ(field(end, "event"), "end");
    EXPECT_EQ(field(end, "reason"), "close");
    EXPECT_EQ(field(end, "t"), "2550");
}

TEST(DriveMode, PausedCaptionAndUntil) {
    const auto r = drive(kBasic, "40", "@0 start\n@250 start\n@5000 start\n", "--until-ms 400");
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(countEvents(r, "step"), 2);
    EXPECT_NE(r.lines.back().find("\"start1\":\"運転再開(&S)\""), std::string::npos);
    EXPECT_EQ(field(r.lines.back(), "reason"), "until");
    EXPECT_EQ(field(r.lines.back(), "t"), "400");
}

TEST(DriveMode, RunEndsAtLastScriptCommand) {
    const auto r = drive(kBasic, "789", "@0 start\n@300 start\n");
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(countEvents(r, "step"), 2) << "the pause at 300 comes before the step due then";
    EXPECT_EQ(field(r.lines.back(), "reason"), "script");
    EXPECT_EQ(field(r.lines.back(), "t"), "300");
}

TEST(DriveMode, SameScriptGivesTheSameTraceByteForByte) {
    const std::string script = "@0 start\n@100 char f\n@120 char 5\n@777 start\n@800 start\n@900 char 8\n@3000 close\n";
    const auto a = drive(kBasic, "789", script);
    // The second run with the other core kept busy.
    std::atomic<bool> busy{true};
    std::thread load([&] {
        volatile unsigned long x = 0;
        while (busy) x = x + 1;
    });
    const auto b = drive(kBasic, "789", script);
    busy = false;
    load.join();
    ASSERT_EQ(a.status, 0);
    EXPECT_GT(a.lines.size(), 20u);
    EXPECT_EQ(a.trace, b.trace);
}

TEST(DriveMode, FatalDataErrorEndsWithStatus1AndTheMessage) {
    TempDir dir;
    dir.write("string.txt", "[Start]\nGo\n");
    dir.write("operation.txt", "Help\n");
    const auto r = drive(dir.path().string(), "789", "@0 start\n");
    EXPECT_EQ(r.status, 1);
    ASSERT_FALSE(r.lines.empty());
    const std::string& end = r.lines.back();
    EXPECT_EQ(field(end, "event"), "end");
    EXPECT_EQ(field(end, "reason"), "fatal");
    EXPECT_NE(end.find("\"messages\":[\"mascon.txtが見つかりません\"]"), std::string::npos);
    EXPECT_NE(r.err.find("mascon.txtが見つかりません"), std::string::npos);
}

TEST(DriveMode, MalformedScriptExits2BeforeRunning) {
    const auto r = drive(kBasic, "789", "@0 start\n@10 jump\n");
    EXPECT_EQ(r.status, 2);
    EXPECT_TRUE(r.lines.empty());
    EXPECT_NE(r.err.find("line 2"), std::string::npos) << r.err;
}

TEST(DriveMode, KeysAndWheelThroughTheScript) {
    const auto r = drive(kBasic, "789",
                         "@0 char 8\n@0 wheel down 2\n@10 start\n@20 char 8\n@30 key ScrollLock\n@40 char 2\n"
                         "@50 key shift+F8\n@60 key ctrl+shift+F8\n@70 wheel up 9\n@80 key F2\n@150 close\n");
    ASSERT_EQ(r.status, 0) << r.err;
    const std::string& step = r.lines[1];
    ASSERT_EQ(field(step, "t"), "110");
    // Locked: "8" ignored; the wheel works (-8 -> -6); started: "8" -> -5; swapped "2" acts as "8" -> -4;
    // then the wheel away from the user nine notches reaches EB.
    EXPECT_EQ(field(step, "brakeNotch"), "-8");
    EXPECT_EQ(field(step, "keypadInverted"), "1");
    EXPECT_EQ(field(step, "trainPosition"), "1100");
    EXPECT_NE(step.find("\"TForm3\":{\"visible\":1"), std::string::npos);
    EXPECT_NE(step.find("\"valueDisplay\":"), std::string::npos);
}

TEST(DriveMode, EndOfTheLineClosesTheRunAt4501) {
    std::string script = "@0 start\n@10 jump 0\n";
    for (int i = 0; i < 4; ++i) script += "@20 key shift+F8\n";
    for (int i = 0; i < 4; ++i) script += "@20 key shift+F6\n";
    script += "@250 key shift+F6\n@5000 close\n";
    const auto r = drive(kBasic, "789", script);
    ASSERT_EQ(r.status, 0) << r.err;
    const std::string* at4500 = nullptr;
    for (const auto& l : r.lines)
        if (field(l, "t") == "200") at4500 = &l;
    ASSERT_NE(at4500, nullptr);
    EXPECT_EQ(field(*at4500, "trainPosition"), "4500");
    EXPECT_EQ(field(*at4500, "event"), "step") << "4500 keeps the run going";
    const std::string& end = r.lines.back();
    EXPECT_EQ(field(end, "event"), "end");
    EXPECT_EQ(field(end, "reason"), "endOfLine");
    EXPECT_EQ(field(end, "t"), "300");
    EXPECT_EQ(field(end, "trainPosition"), "4600");
}

TEST(DriveMode, EndPosMovesTheEndOfTheLine) {
    ts::test::TempDir dir;
    for (const auto& f : std::filesystem::directory_iterator(kBasic))
        std::filesystem::copy_file(f.path(), dir.path() / f.path().filename());
    {
        std::ofstream route(dir.path() / "789_line.txt", std::ios::app | std::ios::binary);
        route << "[EndPos]\n9000\n";
    }
    // The trial keys move the train by 1000 and 100 frames: 4500 at t = 200, 9000 at 300, then 9100.
    std::string script = "@0 start\n@10 jump 0\n";
    for (int i = 0; i < 4; ++i) script += "@20 key shift+F8\n";
    for (int i = 0; i < 4; ++i) script += "@20 key shift+F6\n";
    script += "@250 key shift+F6\n";
    for (int i = 0; i < 4; ++i) script += "@250 key shift+F8\n";
    for (int i = 0; i < 4; ++i) script += "@250 key shift+F6\n";
    script += "@350 key shift+F6\n@5000 close\n";
    const auto r = drive(dir.path().string(), "789", script);
    ASSERT_EQ(r.status, 0) << r.err;
    std::map<std::string, std::string> at;  // t -> trainPosition of a step
    for (const auto& l : r.lines)
        if (field(l, "event") == "step") at[field(l, "t")] = field(l, "trainPosition");
    EXPECT_EQ(at["200"], "4500");
    EXPECT_EQ(at["300"], "9000") << "a route with [EndPos] 9000 runs past 4500 and keeps going at 9000";
    const std::string& end = r.lines.back();
    EXPECT_EQ(field(end, "event"), "end");
    EXPECT_EQ(field(end, "reason"), "endOfLine");
    EXPECT_EQ(field(end, "t"), "400");
    EXPECT_EQ(field(end, "trainPosition"), "9100");
}

TEST(DriveMode, GoToStandsTheTrainAtAFrameOnTheRecordedRidesClock) {
    // Start at 100 and 08:00:00 with a tick a frame: frame 2000 was passed 1900 ticks later.
    // A frame past the end of the line stands at its end.
    const auto r = drive(kBasic, "789", "@0 start\n@10 key shift+F8\n@20 goto 2000\n@150 goto 99999\n@250 close\n");
    ASSERT_EQ(r.status, 0) << r.err;
    std::map<std::string, const std::string*> at;
    for (const auto& l : r.lines)
        if (field(l, "event") == "step") at[field(l, "t")] = &l;
    ASSERT_TRUE(at.count("100") && at.count("200"));
    EXPECT_EQ(field(*at["100"], "trainPosition"), "2000");
    EXPECT_EQ(field(*at["100"], "speed"), "0");
    EXPECT_EQ(field(*at["100"], "clockTicks").substr(0, 4), "8659") << "864000 + 1900, and the few ticks run since";
    EXPECT_EQ(field(*at["200"], "trainPosition"), "4500");
}

TEST(DriveMode, CaptionBecomesTheLineNameAndTheClockRuns) {
    const auto r = drive(kBasic, "789", "@0 start\n@1050 close\n");
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(field(r.lines.front(), "caption"), "Train Simulator");
    EXPECT_EQ(field(r.lines[1], "caption"), "試験線");
    // The clock label is written once a second: 8:00:00 plus 30 ticks by t = 1000.
    const std::string& last = r.lines[r.lines.size() - 2];
    EXPECT_EQ(field(last, "t"), "1000");
    EXPECT_NE(last.find("\"Label3\":\"08:00:01\""), std::string::npos);
}

TEST(DriveMode, ControllerSwitchGoesThroughTheInputQueueAndItsLock) {
    TempDir d;
    d.write("mascon.txt",
            "P1XXX\nP2XXX\nP3XXX\nP4XXX\nP5XXX\nP6XXX\nN0XXX\nB1XXX\nB2XXX\nB3XXX\nB4XXX\nB5XXX\nB6XXX\n"
            "B7XXX\nB8XXX\nEBXXX\nRFXXX\nRNXXX\nRBXXX\nSW1XX\nSW2XX\nSW3XX\n#\n");
    d.write("string.txt", "");
    d.write("operation.txt", "Help\n");
    d.write("789_line.txt", "[StartPos]\n100\n");
    d.write("789_train.txt", "[Brake]\n8\n[BrakeType]\n1\n[Sound_Horn]\n4\n[Sound_EBring]\n9\n");
    // The horn switch before the first Start is a typed "3" that the locked run ignores.
    const auto r = drive(d.path().string(), "789", "@0 serial SW2XX\n@10 start\n@150 serial SW2XX\n@300 close\n");
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.lines[1].find("[4,\"play\"]"), std::string::npos);
    EXPECT_NE(r.lines[1].find("\"TForm3\":{\"visible\":0,\"caption\":\"SW2XX\"}"), std::string::npos);
    EXPECT_NE(r.lines[2].find("[4,\"stop\"],[4,\"play\"]"), std::string::npos)
        << r.lines[2].substr(r.lines[2].find("\"sounds\""), 200);
}

TEST(DriveMode, SoundOperationsAppearInTheTrace) {
    const auto r = drive(kBasic, "789", "@0 start\n@150 close\n");
    ASSERT_EQ(r.status, 0) << r.err;
    const std::string& step = r.lines[1];
    // At 0 km/h the running noise of bands 0 and 1 loops, band 1 at dB100(0.01).
    EXPECT_NE(step.find("[0,\"stop\"],[0,\"loop\"],[1,\"stop\"],[1,\"loop\"],[0,\"volume\",0],[1,\"volume\",-4000]"),
              std::string::npos)
        << step.substr(step.find("\"sounds\""), 300);
}

namespace {
// Width and height from a PNG file's header.
std::pair<int, int> pngSize(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    unsigned char h[24] = {};
    in.read(reinterpret_cast<char*>(h), 24);
    auto be = [&](int o) { return int(h[o]) << 24 | int(h[o + 1]) << 16 | int(h[o + 2]) << 8 | int(h[o + 3]); };
    return {be(16), be(20)};
}
}  // namespace

TEST(DriveMode, ScaleShowsInTheSnapshotsAndNotInTheTrace) {
    TempDir d;
    const std::string script =
        "@0 start\n@300 char f\n@400 snapshot " + (d.path() / "shot.png").string() + "\n@600 key F1\n@900 close\n";
    const auto one = drive(kBasic, "789", script);
    ASSERT_EQ(one.status, 0) << one.err;
    const auto oneSize = pngSize(d.path() / "shot.png");
    EXPECT_EQ(oneSize.first, 640);
    const auto two = drive(kBasic, "789", script, "--scale 2 --smooth off");
    ASSERT_EQ(two.status, 0) << two.err;
    const auto twoSize = pngSize(d.path() / "shot.png");
    EXPECT_EQ(twoSize.first, 1280);
    EXPECT_GE(twoSize.second, 880) << "the 880 pixels of the panel below the menu";
    EXPECT_EQ(one.trace, two.trace) << "the size is presentation only";
    EXPECT_EQ(drive(kBasic, "789", script, "--scale 4").status, 2);
    EXPECT_EQ(drive(kBasic, "789", script, "--smooth maybe").status, 2);
}

TEST(DriveMode, ASnapshotIsNamedFromTheCurrentFolderAndAnUnwritableOneFails) {
    TempDir d;
    ts::test::ScopedCwd cwd(d.path());
    const auto ok = drive(kBasic, "789", "@0 start\n@400 snapshot shot.png\n@500 close\n");
    ASSERT_EQ(ok.status, 0) << ok.err;
    EXPECT_TRUE(std::filesystem::is_regular_file(d.path() / "shot.png")) << "not in the data folder";
    const auto bad = drive(kBasic, "789", "@0 start\n@400 snapshot nosuchfolder/shot.png\n@500 close\n");
    EXPECT_EQ(bad.status, 1);
    EXPECT_NE(bad.err.find("cannot write snapshot '" + (d.path() / "nosuchfolder/shot.png").string() + "'"),
              std::string::npos)
        << bad.err;
    EXPECT_FALSE(bad.lines.empty()) << "the trace is still written";
}
