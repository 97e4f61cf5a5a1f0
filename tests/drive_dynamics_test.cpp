// A whole run in the drive mode: from standstill at full power on level
// track, then full service brake to a stop, checked against an independent
// calculation of the same physics in double precision.
#include <gtest/gtest.h>

#include <cmath>

#include "drive_runner.h"
#include "test_support.h"

using namespace ts::test;

namespace {

constexpr double kTons = 200.0;
constexpr int kCars = 4;

// Tractive force of notch 5 (3.0 km/h/s up to 70 km/h) less starting and running resistance, in N.
double netForce(double u) {
    double f = (u < 70 ? 3.0 : 3.0 * 70 / u) / 3.6 * kTons * 1000;
    if (u > 0 && u < 8) f -= 9.8 * (8 - u) * kTons;
    if (u > 0.1) f -= 9.8 * ((1.32 + 0.0164 * u) * kTons + (0.028 + 0.0078 * (kCars - 1)) * u * u);
    return f;
}

double kmh(const std::string& line, const char* name) { return std::stod(field(line, name)) / 10000; }

// Simulation ticks (started at 0, every 33 ms) between two trace lines.
int ticksBetween(const std::string& a, const std::string& b) {
    return std::stoi(field(b, "t")) / 33 - std::stoi(field(a, "t")) / 33;
}

}  // namespace

TEST(DriveDynamics, FullPowerThenFullServiceBrakeOnLevelTrack) {
    TempDir d;
    d.write("mascon.txt", "#\n");
    d.write("string.txt", "");
    d.write("789_line.txt",
            "[StartPos]\n100\n[FrameRate]\n30\n[StartTime]\n864000\n[OneMan]\n1\n[SpeedUnit]\n0,100000,60,60\n#\n");
    d.write(
        "789_train.txt",
        "[Handle]\n0\n[BrakeType]\n1\n[Brake]\n8\n[Power]\n5\n[BrakeRate]\n4.0\n[PowerDelay]\n3\n[BrakeDelay]\n3\n"
        "[BrakeUp]\n200\n[BrakeDown]\n300\n[EBPress]\n440\n[HighAirPress]\n880\n[LowAirPress]\n780\n"
        "[Engine_Type]\n1\n[Mt]\n120\n[Cars]\n4\n[Tons]\n200\n[MaxSpeed]\n120\n[Lose_elec]\n5\n[Mc]\n1\n"
        "[Notch]\n" +
            [] {
                std::string n;
                for (int i = 0; i < 5; ++i) n += "3.0\n3.0\n70\n100\n0.98\n";
                return n;
            }() +
            "#\n");
    const auto r = drive(d.path().string(), "789",
                         "@0 start\n@100 char f\n@100 char 5\n@200 char d\n"
                         "@12000 char 8\n@12000 char 8\n@12000 char 8\n@12000 char 8\n@12000 char 8\n"
                         "@30000 char 2\n@30000 char 2\n@30000 char 2\n@30000 char 2\n@30000 char 2\n"
                         "@30000 char 2\n@30000 char 2\n@30000 char 2\n@30000 char 2\n@30000 char 2\n"
                         "@30000 char 2\n@30000 char 2\n@60000 close\n");
    ASSERT_EQ(r.status, 0) << r.err;

    // Power phase: from the first line with the brake released and notch 5 in force.
    size_t first = 0;
    for (size_t i = 1; i < r.lines.size(); ++i) {
        if (field(r.lines[i], "event") == "step" && field(r.lines[i], "effectivePowerNotch") == "5" &&
            field(r.lines[i], "bcPressure") == "0") {
            first = i;
            break;
        }
    }
    ASSERT_GT(first, 0u) << "the brake released and full power took effect";
    double u = kmh(r.lines[first], "speed");
    int checked = 0;
    for (size_t i = first + 1; i < r.lines.size(); ++i) {
        if (std::stoi(field(r.lines[i], "t")) > 29900) break;
        const int ticks = ticksBetween(r.lines[i - 1], r.lines[i]);
        for (int tick = 0; tick < ticks; ++tick) u += netForce(u) / (kTons * 1000) * 3.6 / 30;
        const double v = kmh(r.lines[i], "speed");
        // The program rounds each stored speed to 0.0001 km/h; the double calculation does not.
        ASSERT_NEAR(v, u, 0.001) << "t=" << field(r.lines[i], "t");
        ++checked;
        u = v;
    }
    EXPECT_GT(checked, 100);
    const double top = u;
    EXPECT_GT(top, 40.0);

    // Brake phase: with the cylinder settled, the deceleration is brakeRate x bc / ebPressure plus resistance.
    bool stopped = false;
    int settled = 0;
    int lastPosition = 0;
    for (size_t i = 1; i < r.lines.size(); ++i) {
        const std::string& a = r.lines[i - 1];
        const std::string& b = r.lines[i];
        if (field(b, "event") != "step" || std::stoi(field(a, "t")) < 30000) continue;
        const double v0 = kmh(a, "speed"), v1 = kmh(b, "speed");
        EXPECT_GE(v1, 0.0) << "the brake never drives the train backward";
        if (stopped) {
            EXPECT_EQ(v1, 0.0);
            EXPECT_EQ(std::stoi(field(b, "trainPosition")), lastPosition);
        }
        lastPosition = std::stoi(field(b, "trainPosition"));
        if (v1 == 0.0) stopped = true;
        const double bc0 = std::stod(field(a, "bcPressure")) / 10000, bc1 = std::stod(field(b, "bcPressure")) / 10000;
        if (v1 > 10 && std::fabs(bc1 - bc0) < 0.01 && bc0 > 300) {
            const double resistance = 9.8 * ((1.32 + 0.0164 * v0) * kTons + (0.028 + 0.0078 * 3) * v0 * v0);
            const double seconds = ticksBetween(a, b) / 30.0;
            const double expected = -(4.0 * bc0 / 440) * seconds - resistance / (kTons * 1000) * 3.6 * seconds;
            EXPECT_NEAR(v1 - v0, expected, 0.002) << "t=" << field(b, "t");
            ++settled;
        }
    }
    EXPECT_TRUE(stopped);
    EXPECT_GT(settled, 10);
}
