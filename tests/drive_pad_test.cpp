// Game controller input in the drive mode's script ("pad" commands), run as
// the real program against handle positions worked out by hand.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>

#include "drive_runner.h"
#include "test_support.h"

using namespace ts::test;

namespace {

const std::string kBasic = TRAINSIM_FIXTURES "/basic";

// "power/brake[h]" at each step time.
std::map<int, std::string> handlesByStep(const DriveResult& r) {
    std::map<int, std::string> out;
    for (const auto& l : r.lines)
        if (field(l, "event") == "step")
            out[std::stoi(field(l, "t"))] =
                field(l, "powerNotch") + "/" + field(l, "brakeNotch") + (field(l, "holdPosition") == "1" ? "h" : "");
    return out;
}

}  // namespace

TEST(DrivePad, OneHandleTrainFromTheTriggers) {
    // 789: one handle, P5, B8 (EB -8), no hold; the default gamepad mapping:
    // axis 5 power (N, P1 … P5), axis 4 brake (released, B1 … B7, EB).
    const auto r = drive(kBasic, "789",
                         "@0 start\n@0 pad connect\n@0 pad axis 4 0\n@0 pad axis 5 0\n"
                         "@150 pad axis 4 32767\n"                         // EB: where it stands already
                         "@250 pad axis 4 0\n"                             // released
                         "@350 pad axis 5 16000\n"                         // (16000/32767 - 0.05) / 0.9 x 6 = 2.92: P2
                         "@450 pad axis 5 21000\n"                         // 3.94, past 3 + 0.25: P3
                         "@550 pad axis 5 19000\n"                         // 3.53, not below 3 - 0.25: stays P3
                         "@650 pad button 9 down\n@650 pad button 9 up\n"  // left shoulder: emergency
                         "@750 pad disconnect\n@850 pad axis 4 0\n"        // ignored
                         "@950 pad connect\n@1050 pad axis 4 32767\n"      // only where it stands
                         "@1150 pad axis 4 9000\n"                         // 2.25 of 9: B2
                         "@1250 close\n");
    ASSERT_EQ(r.status, 0) << r.err;
    const auto h = handlesByStep(r);
    const std::map<int, std::string> expected = {
        {100, "0/-8"}, {200, "0/-8"}, {300, "0/0"},  {400, "2/0"},   {500, "3/0"},   {600, "3/0"},
        {700, "0/-8"}, {800, "0/-8"}, {900, "0/-8"}, {1000, "0/-8"}, {1100, "0/-8"}, {1200, "0/-2"},
    };
    EXPECT_EQ(h, expected);
}

TEST(DrivePad, TwoHandleTrainWithTheHoldPosition) {
    // 40: two handles, brake type 0 (B4: released, hold, -1, -2, -3, EB), P4.
    const auto r = drive(kBasic, "40",
                         "@0 pad connect\n@0 pad axis 4 32767\n@0 pad axis 5 0\n"
                         "@50 pad axis 4 0\n"  // locked before Start: not taken
                         "@60 start\n"
                         "@150 pad axis 4 9502\n"     // 0.29 of the travel: (0.29 - 0.05) / 0.9 x 6 = 1.6: hold
                         "@250 pad axis 4 14418\n"    // 0.44: 2.6: -1
                         "@350 pad axis 5 32767\n"    // P4, with the brake applied
                         "@450 pad axis 4 32767\n"    // EB
                         "@550 pad button 12 down\n"  // reverser back at a standstill
                         "@650 close\n");
    ASSERT_EQ(r.status, 0) << r.err;
    const auto h = handlesByStep(r);
    const std::map<int, std::string> expected = {
        {160, "0/0h"}, {260, "0/-1"}, {360, "4/-1"}, {460, "4/-4"}, {560, "4/-4"},
    };
    for (const auto& [t, v] : expected) EXPECT_EQ(h.count(t) ? h.at(t) : "none", v) << "at " << t;
    std::string reverser;
    for (const auto& l : r.lines)
        if (field(l, "t") == "660" || field(l, "event") == "end") reverser = field(l, "reverser");
    EXPECT_EQ(reverser, "-1");
}

TEST(DrivePad, ConnectWithAGuidTakesItsMappingFromTheDataFolder) {
    TempDir data;
    for (const auto& e : std::filesystem::directory_iterator(kBasic))
        std::filesystem::copy(e.path(), data.path() / e.path().filename());
    data.write("gamepad.txt", "[00ff00ff00ff00ff00ff00ff00ff00ff]\nname Train Controller\naxis 0 combined\n");
    // 789's single lever on axis 0: EB, B7 … B1, N, P1 … P5 over the whole raw range.
    const std::string script =
        "@0 start\n@0 pad connect 00FF00FF00FF00FF00FF00FF00FF00FF\n@0 pad axis 0 0\n"
        "@150 pad axis 0 32767\n"   // P5
        "@250 pad axis 0 -32768\n"  // EB
        "@350 pad axis 0 4000\n"    // (0.561 - 0.05) / 0.9 x 14 = 7.95: B1
        "@450 close\n";
    const auto r = drive(data.path().string(), "789", script);
    ASSERT_EQ(r.status, 0) << r.err;
    const auto h = handlesByStep(r);
    EXPECT_EQ(h.at(200), "5/0");
    EXPECT_EQ(h.at(300), "0/-8");
    EXPECT_EQ(h.at(400), "0/-1");
    // Without the GUID the standard gamepad's mapping has nothing on axis 0.
    std::string plain = script;
    plain.replace(plain.find(" 00FF"), 33, "");
    const auto d = drive(data.path().string(), "789", plain);
    ASSERT_EQ(d.status, 0) << d.err;
    EXPECT_EQ(handlesByStep(d).at(400), "0/-8");
}
