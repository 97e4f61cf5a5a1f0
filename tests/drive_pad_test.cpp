// Game controller input in the drive mode's script ("pad" commands), run as
// the real program against handle positions worked out by hand.
#include <gtest/gtest.h>

#include <map>

#include "drive_runner.h"

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
                         "@150 pad axis 4 32767\n"  // EB: where it stands already
                         "@250 pad axis 4 0\n"      // released
                         "@350 pad axis 5 16000\n"  // (16000/32767 - 0.05) / 0.9 x 6 = 2.92: P2
                         "@450 pad axis 5 21000\n"  // 3.94, past 3 + 0.25: P3
                         "@550 pad axis 5 19000\n"  // 3.53, not below 3 - 0.25: stays P3
                         "@650 pad button 9 down\n@650 pad button 9 up\n"  // left shoulder: emergency
                         "@750 pad disconnect\n@850 pad axis 4 0\n"        // ignored
                         "@950 pad connect\n@1050 pad axis 4 32767\n"      // only where it stands
                         "@1150 pad axis 4 9000\n"                         // 2.25 of 9: B2
                         "@1250 close\n");
    ASSERT_EQ(r.status, 0) << r.err;
    const auto h = handlesByStep(r);
    const std::map<int, std::string> expected = {
        {100, "0/-8"},  {200, "0/-8"}, {300, "0/0"},  {400, "2/0"},   {500, "3/0"},   {600, "3/0"},
        {700, "0/-8"},  {800, "0/-8"}, {900, "0/-8"}, {1000, "0/-8"}, {1100, "0/-8"}, {1200, "0/-2"},
    };
    EXPECT_EQ(h, expected);
}

TEST(DrivePad, TwoHandleTrainWithTheHoldPosition) {
    // 40: two handles, brake type 0 (B4: released, hold, -1, -2, -3, EB), P4.
    const auto r = drive(kBasic, "40",
                         "@0 pad connect\n@0 pad axis 4 32767\n@0 pad axis 5 0\n"
                         "@50 pad axis 4 0\n"  // locked before Start: not taken
                         "@60 start\n"
                         "@150 pad axis 4 9502\n"    // 0.29 of the travel: (0.29 - 0.05) / 0.9 x 6 = 1.6: hold
                         "@250 pad axis 4 14418\n"   // 0.44: 2.6: -1
                         "@350 pad axis 5 32767\n"   // P4, with the brake applied
                         "@450 pad axis 4 32767\n"   // EB
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
