// Game controller levers divided into handle positions, and the mapping file.
#include <gtest/gtest.h>

#include <cstdint>

#include <cmath>

#include "controls/pad_file.h"
#include "controls/pad_mapping.h"
#include "test_support.h"

using namespace ts;

namespace {

AxisMapping trigger() { return {5, AxisRole::Power, 0, 32767, std::nullopt, false, 0.05, 0.25}; }

// Every raw value where the position changes while sweeping from `from` to `to`.
std::vector<std::pair<int, int>> sweep(const AxisMapping& m, int count, int from, int to, int step,
                                       std::optional<int> start = std::nullopt, int neutral = -1) {
    std::vector<std::pair<int, int>> changes;
    std::optional<int> at = start;
    for (int v = from; step > 0 ? v <= to : v >= to; v += step) {
        const int i = positionIndex(m, v, count, at, neutral);
        if (!at || i != *at) changes.push_back({v, i});
        at = i;
    }
    return changes;
}

// Worked by hand: a trigger 0 … 32767 with 5 % dead zone at each end spans
// 90 % of its travel over the positions; the boundary of position k lies at
// 0.05 + 0.9 k / n of the travel, and the lever must pass it by a quarter of a
// position (0.9 / n / 4 of the travel) to change.
double boundary(double k, int n) { return 32767.0 * (0.05 + 0.9 * k / n); }

}  // namespace

TEST(PadLevers, PositionsOfEachRole) {
    using P = LeverPosition;
    EXPECT_EQ(leverPositions(AxisRole::Power, 3, 4, true), (std::vector<P>{{0, 0}, {1, 0}, {2, 0}, {3, 0}}));
    EXPECT_EQ(leverPositions(AxisRole::Brake, 3, 4, true),
              (std::vector<P>{{0, 0}, {0, 0, true}, {0, -1}, {0, -2}, {0, -3}, {0, -4}}));
    EXPECT_EQ(leverPositions(AxisRole::Combined, 2, 3, false),
              (std::vector<P>{{0, -3}, {0, -2}, {0, -1}, {0, 0}, {1, 0}, {2, 0}}));
    EXPECT_EQ(leverPositions(AxisRole::Combined, 1, 2, true),
              (std::vector<P>{{0, -2}, {0, -1}, {0, 0, true}, {0, 0}, {1, 0}}));
}

TEST(PadLevers, SweepUpAndDownChangesPastEachBoundaryByTheHysteresis) {
    const AxisMapping m = trigger();
    const int n = 6;  // N, P1 … P5
    const auto up = sweep(m, n, 0, 32767, 16);
    ASSERT_EQ(up.size(), 6u);
    EXPECT_EQ(up[0], std::make_pair(0, 0));
    for (int k = 1; k <= 5; ++k) {
        EXPECT_EQ(up[size_t(k)].second, k);
        EXPECT_NEAR(up[size_t(k)].first, boundary(k + 0.25, n), 16) << "up into P" << k;
    }
    const auto down = sweep(m, n, 32767, 0, -16, 5);
    ASSERT_EQ(down.size(), 5u);
    for (int k = 4; k >= 0; --k) {
        EXPECT_EQ(down[size_t(4 - k)].second, k);
        EXPECT_NEAR(down[size_t(4 - k)].first, boundary(k + 1 - 0.25, n), 16) << "down into " << k;
    }
}

TEST(PadLevers, RestingOnABoundaryDoesNotFlicker) {
    const AxisMapping m = trigger();
    const int n = 6;
    const int edge = int(std::lround(boundary(2, n)));    // between P1 and P2
    const int within = int(0.9 * 32767 / n * 0.25) - 20;  // just inside the hysteresis
    int at = positionIndex(m, edge - within, n, std::nullopt);
    EXPECT_EQ(at, 1);
    for (int i = 0; i < 50; ++i) {
        at = positionIndex(m, i % 2 ? edge + within : edge - within, n, at);
        EXPECT_EQ(at, 1) << "jitter " << i;
    }
    at = positionIndex(m, edge + within + 60, n, at);
    EXPECT_EQ(at, 2) << "beyond the hysteresis it moves";
    for (int i = 0; i < 50; ++i) EXPECT_EQ(at = positionIndex(m, i % 2 ? edge + within : edge - within, n, at), 2);
}

TEST(PadLevers, DeadZoneCalibrationAndInversion) {
    AxisMapping m = trigger();
    const int n = 6;
    EXPECT_EQ(positionIndex(m, int(32767 * 0.049), n, std::nullopt), 0) << "inside the dead zone at rest";
    EXPECT_EQ(positionIndex(m, int(32767 * 0.951), n, std::nullopt), 5) << "inside the dead zone at the end";
    // A lever that only travels 2000 … 30000 never reaches its ends uncalibrated.
    EXPECT_EQ(positionIndex(m, 30000, n, std::nullopt), 5);
    AxisMapping raw;  // axis 0, power, the full range -32768 … 32767
    EXPECT_EQ(positionIndex(raw, 30000, n, std::nullopt), 5);
    EXPECT_EQ(positionIndex(raw, 2000, n, std::nullopt), 3) << "the middle of the raw range";
    raw.min = 2000;
    raw.max = 30000;
    EXPECT_EQ(positionIndex(raw, 2000, n, std::nullopt), 0) << "calibrated: its end is the first position";
    EXPECT_EQ(positionIndex(raw, 30000, n, std::nullopt), 5);
    EXPECT_EQ(positionIndex(raw, -5000, n, std::nullopt), 0) << "beyond the calibration clamps";
    raw.inverted = true;
    EXPECT_EQ(positionIndex(raw, 30000, n, std::nullopt), 0);
    EXPECT_EQ(positionIndex(raw, 2000, n, std::nullopt), 5);
}

TEST(PadLevers, CombinedAxisWithACentreRestsAtNeutral) {
    AxisMapping m;
    m.role = AxisRole::Combined;
    const auto positions = leverPositions(AxisRole::Combined, 5, 8, false);  // EB, B7 … B1, N, P1 … P5
    const int n = int(positions.size()), neutral = 8;
    ASSERT_EQ(n, 14);
    m.centre = 0;
    EXPECT_EQ(positionIndex(m, 0, n, std::nullopt, neutral), neutral);
    EXPECT_EQ(positionIndex(m, -32768, n, std::nullopt, neutral), 0) << "EB at the minimum";
    EXPECT_EQ(positionIndex(m, 32767, n, std::nullopt, neutral), 13) << "P5 at the maximum";
    // Each side shares out its own positions: above the centre half of N and
    // P1 … P5 (5.5 widths), below it B7 … B1 and EB and half of N (8.5 widths).
    // The middle of P1, 1.5 widths above the centre: 1.5 / 5.5 of the upper
    // half of the live travel, 0.05 + 0.9 (0.5 + 0.5 x 1.5 / 5.5) = 0.5818 of
    // the raw range, -32768 + 0.5818 x 65535 = 5360; B1's middle likewise -3470.
    EXPECT_EQ(positions[size_t(positionIndex(m, 5360, n, std::nullopt, neutral))], (LeverPosition{1, 0}));
    EXPECT_EQ(positions[size_t(positionIndex(m, -3470, n, std::nullopt, neutral))], (LeverPosition{0, -1}));
    EXPECT_EQ(positions[size_t(positionIndex(m, 1500, n, std::nullopt, neutral))], (LeverPosition{0, 0}));
    m.centre.reset();
    EXPECT_EQ(positionIndex(m, 0, n, std::nullopt, neutral), 7) << "without a centre the middle of 14 is B1";
}

TEST(PadMappingFile, RoundTrip) {
    PadMapping a;
    a.guid = "03000000de280000ff11000001000000";
    a.name = "Throttle Quadrant 2";
    a.axes.push_back({2, AxisRole::Combined, -31000, 32000, -120, true, 0.07, 0.3});
    a.axes.push_back({0, AxisRole::Power, 0, 32767, std::nullopt, false, 0.05, 0.25});
    a.buttons = {{0, PadAction::Confirm},
                 {17, PadAction::CallOut},
                 {hatButton(0, 3), PadAction::ReverserBack},
                 {hatButton(1, 0), PadAction::Timetable}};
    PadMapping b = defaultGamepadMapping();
    b.guid = "ff0013db5669727475616c2043007601";
    const std::string text = writePadMappings({a, b});
    EXPECT_NE(text.find("hat 0 left reverser-back"), std::string::npos) << text;
    EXPECT_NE(text.find("hat 1 up timetable"), std::string::npos);
    std::vector<std::string> problems;
    const auto back = readPadMappings(text, &problems);
    EXPECT_TRUE(problems.empty());
    ASSERT_EQ(back.size(), 2u);
    EXPECT_EQ(back[0], a);
    EXPECT_EQ(back[1], b);
    EXPECT_EQ(writePadMappings(back), text);
}

TEST(PadMappingFile, HandEditedFile) {
    const std::string text =
        "# my controllers\r\n"
        "button 3 horn\r\n"
        "[03000000AABB0000CCDD000011000000]\r\n"
        "name  USB Train Controller  \r\n"
        "  axis 1 brake min 500 max -500\r\n"
        "axis 1 combined centre 10\r\n"
        "axis 2 brake deadzone 0.7\r\n"
        "button 4 emergency\r\n"
        "button 5 fly\r\n"
        "hat 0 sideways horn\r\n"
        "button 100 horn\r\n"
        "hat 0 down doors\r\n"
        "frobnicate\r\n";
    std::vector<std::string> problems;
    const auto m = readPadMappings(text, &problems);
    ASSERT_EQ(m.size(), 1u);
    EXPECT_EQ(m[0].guid, "03000000aabb0000ccdd000011000000");
    EXPECT_EQ(m[0].name, "USB Train Controller  ");
    ASSERT_EQ(m[0].axes.size(), 1u) << "the later axis 1 line replaces the earlier";
    EXPECT_EQ(m[0].axes[0].role, AxisRole::Combined);
    EXPECT_EQ(m[0].axes[0].centre, 10);
    EXPECT_EQ(m[0].buttons, (std::map<int, PadAction>{{4, PadAction::Emergency}, {hatButton(0, 2), PadAction::Doors}}));
    ASSERT_EQ(problems.size(), 6u);
    EXPECT_EQ(problems[0], "gamepad.txt line 2: an entry before the first [GUID] section");
    EXPECT_EQ(problems[1], "gamepad.txt line 7: cannot read the axis entry") << "a dead zone of 70 % leaves nothing";
    EXPECT_EQ(problems.back(), "gamepad.txt line 13: unknown entry 'frobnicate'");
    EXPECT_NE(findPadMapping(m, "03000000AABB0000ccdd000011000000"), nullptr);
    EXPECT_EQ(findPadMapping(m, "03000000aabb0000ccdd000011000001"), nullptr);
}

TEST(PadMappingFile, SaveKeepsOtherControllers) {
    test::TempDir dir;
    EXPECT_TRUE(loadPadMappings(dir.path().string()).empty()) << "no file yet";
    PadMapping a = defaultGamepadMapping(), b = defaultJoystickMapping();
    a.guid = "aa";
    b.guid = "bb";
    ASSERT_TRUE(savePadMapping(dir.path().string(), a));
    ASSERT_TRUE(savePadMapping(dir.path().string(), b));
    auto read = loadPadMappings(dir.path().string());
    ASSERT_EQ(read.size(), 2u);
    a.buttons[gamepad::Guide] = PadAction::Neutral;
    a.guid = "AA";
    ASSERT_TRUE(savePadMapping(dir.path().string(), a));
    const auto again = loadPadMappings(dir.path().string());
    ASSERT_EQ(again.size(), 2u) << "the same controller, whatever the case of its GUID";
    EXPECT_EQ(again[0].buttons.at(gamepad::Guide), PadAction::Neutral);
    EXPECT_EQ(again[1], b);
    std::string why;
    EXPECT_FALSE(savePadMapping(dir.path().string() + "/missing/folder", a, &why));
    EXPECT_FALSE(why.empty());
}

// Lines a hand or a converter leaves: a form feed alone, CR CR LF, a byte-order mark.
TEST(PadMappingFile, OddBlankLinesAreSkippedNotIndexed) {
    for (const std::string blank : {"\f", "\r\r", "\v \t", "\r"}) {
        const std::string text = "\xEF\xBB\xBF[0300aa]\r\n" + blank + "\r\nbutton 1 horn\r\n" + blank + "\n";
        std::vector<std::string> problems;
        const auto m = readPadMappings(text, &problems);
        ASSERT_EQ(m.size(), 1u) << "the first section, behind the byte-order mark";
        EXPECT_EQ(m[0].guid, "0300aa");
        EXPECT_EQ(m[0].buttons, (std::map<int, PadAction>{{1, PadAction::Horn}}));
        EXPECT_TRUE(problems.empty()) << problems.front();
    }
}

TEST(PadMappingFile, NumbersOutsideWhatAControllerReportsAreRefused) {
    const std::string text =
        "[aa]\n"
        "axis 0 power min -2147483648 max 2147483647\n"  // 2
        "axis 256 power\n"                               // 3
        "axis 1 brake min -40000\n"                      // 4
        "hat 536870912 up horn\n"                        // 5
        "hat 16 up horn\n"                               // 6
        "button 100 horn\n"                              // 7
        "button 2147483648 horn\n"                       // 8
        "hat 15 left doors\n"
        "button 99 confirm\n"
        "axis 255 combined min -32768 max 32767\n";
    std::vector<std::string> problems;
    const auto m = readPadMappings(text, &problems);
    ASSERT_EQ(m.size(), 1u);
    ASSERT_EQ(problems.size(), 7u);
    for (size_t i = 0; i < problems.size(); ++i)
        EXPECT_EQ(problems[i].rfind("gamepad.txt line " + std::to_string(i + 2) + ": cannot read", 0), 0u)
            << problems[i];
    EXPECT_EQ(m[0].buttons, (std::map<int, PadAction>{{99, PadAction::Confirm}, {hatButton(15, 3), PadAction::Doors}}));
    ASSERT_EQ(m[0].axes.size(), 1u);
    EXPECT_EQ(m[0].axes[0].axis, 255);
    // Written and read again, every entry comes back.
    std::vector<std::string> again;
    EXPECT_EQ(readPadMappings(writePadMappings(m), &again), m);
    EXPECT_TRUE(again.empty());
}

TEST(PadMappingFile, TheWholeIntRangeStillMovesTheLever) {
    AxisMapping a;
    a.min = INT32_MIN;
    a.max = INT32_MAX;
    a.deadZone = 0;
    EXPECT_EQ(positionIndex(a, INT32_MIN, 5, std::nullopt), 0);
    EXPECT_EQ(positionIndex(a, 0, 5, std::nullopt), 2);
    EXPECT_EQ(positionIndex(a, INT32_MAX, 5, std::nullopt), 4);
}

TEST(PadMappingFile, SavingOneControllerKeepsEveryOtherByte) {
    const std::string mine =
        "[03000000aabb0000ccdd000011000000]\r\n"
        "# my lever, calibrated by hand\r\n"
        "name USB Train Controller\r\n"
        "axis 1 combined min -30000 max 30000 deadzone 0.05 hysteresis 0.25\r\n"
        "\r\n"
        "button 4 emergency\r\n"
        "frobnicate\r\n";
    const std::string before =
        "\xEF\xBB\xBF# my controllers\r\n"
        "\r\n"
        "[ff00]\r\n"
        "# the old pad\r\n"
        "button 5 fly\r\n"
        "hat 0 down doors\r\n"
        "\f\r\n";
    const std::string after = "\r\n[ee11]\r\nbutton 0 horn\r\n# end";
    const std::string text = before + mine + after;
    auto read = readPadMappings(text);
    ASSERT_EQ(read.size(), 3u);
    EXPECT_EQ(replacePadMapping(text, read[1]), text) << "an unchanged mapping writes the file back byte for byte";

    PadMapping changed = read[1];
    changed.guid = "03000000AABB0000CCDD000011000000";
    changed.buttons[7] = PadAction::Horn;
    const std::string saved = replacePadMapping(text, changed);
    const std::string mineAfter =
        "[03000000aabb0000ccdd000011000000]\r\n"
        "# my lever, calibrated by hand\r\n"
        "name USB Train Controller\r\n"
        "axis 1 combined min -30000 max 30000 deadzone 0.05 hysteresis 0.25\r\n"
        "button 4 emergency\r\n"
        "button 7 horn\r\n"
        "\r\n"
        "frobnicate\r\n";
    EXPECT_EQ(saved, before + mineAfter + after);
    EXPECT_EQ(readPadMappings(saved)[1].buttons.at(7), PadAction::Horn);

    // A new controller goes at the end, in the file's line end, after the last line's missing one.
    PadMapping added;
    added.guid = "dd";
    added.buttons[0] = PadAction::Confirm;
    EXPECT_EQ(replacePadMapping(text, added), text + "\r\n\r\n[dd]\r\nbutton 0 confirm\r\n");
    // A section with no entries takes them right after its line.
    PadMapping emptied;
    emptied.guid = "ee11";
    emptied.buttons[2] = PadAction::Doors;
    EXPECT_EQ(replacePadMapping("[ee11]\n# none yet\n", emptied), "[ee11]\nbutton 2 doors\n# none yet\n");
}
