// The driving window's release hint: shown exactly while the protection's
// brake or bell holds, over a whole drive of a demo train that meets both.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "drive_runner.h"
#include "events/release_hint.h"

using namespace ts;
using namespace ts::test;

namespace {

std::string readFile(const std::string& path) {
    std::ifstream in(path);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

}  // namespace

TEST(ReleaseHint, TheMostUrgentOfWhatHoldsComesFirst) {
    Protection p;
    EXPECT_EQ(releaseHint(p), ReleaseHint::None);
    p.ebDeviceIdleTicks = 600;
    EXPECT_EQ(releaseHint(p), ReleaseHint::None);
    p.ebDeviceIdleTicks = 601;
    EXPECT_EQ(releaseHint(p), ReleaseHint::Vigilance);
    p.atsBellRinging = 1;
    EXPECT_EQ(releaseHint(p), ReleaseHint::ProtectionAlarm);
    p.atsServiceBrake = 1;
    EXPECT_EQ(releaseHint(p), ReleaseHint::SpeedControlBrake);
    p.safetyEmergencyBrake = 1;
    EXPECT_EQ(releaseHint(p), ReleaseHint::SafetyBrake);
}

TEST(ReleaseHint, TheTraceCarriesItExactlyWhileTheBrakeOrBellHolds) {
    const DriveResult r = drive(TRAINSIM_DEMO, "789", readFile(TRAINSIM_GOLDEN "/demo_789.txt"));
    ASSERT_EQ(r.status, 0) << r.err;
    int braked = 0, alarmed = 0;
    for (const std::string& line : r.lines) {
        if (field(line, "event") != "step") continue;
        const std::string hint = field(line, "hint");
        const bool brake = field(line, "safetyEmergencyBrake") == "1";
        const bool bell = field(line, "atsBellRinging") == "1";
        if (brake) {
            ++braked;
            ASSERT_EQ(
                hint.rfind("Emergency brake by train protection: stop, put the brake handle to EB (0), press r", 0), 0u)
                << line.substr(0, 80);
        } else if (bell) {
            ++alarmed;
            ASSERT_EQ(hint.rfind("Train protection alarm", 0), 0u) << line.substr(0, 80);
        } else if (field(line, "atsServiceBrake") != "1" && std::stoi(field(line, "ebDeviceIdleTicks")) < 601) {
            ASSERT_EQ(hint, "") << line.substr(0, 80);
        }
    }
    // The demo's drive overruns a stop signal once: both states are met.
    EXPECT_GT(braked, 100);
    EXPECT_GT(alarmed, 10);
}
