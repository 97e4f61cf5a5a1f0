#include "line.h"

namespace demo {

namespace {

constexpr int kHour = 108000;
constexpr int kMinute = 1800;

// The recorded run: leaving each stop at 5 km/h, up to the cruising speed, down
// again to 5 km/h at the next stop; passing stations at speed.
std::vector<SpeedRow> profile(const std::vector<int>& stops, int cruise, int frames) {
    std::vector<SpeedRow> rows;
    int at = 0;
    rows.push_back({0, stops[0], 5, 5});
    for (size_t i = 0; i + 1 < stops.size(); ++i) {
        const int a = stops[i], b = stops[i + 1];
        const int accel = std::min(400, (b - a) / 3), brake = std::min(500, (b - a) / 3);
        rows.push_back({a, a + accel, 5, cruise});
        rows.push_back({a + accel, b - brake, cruise, cruise});
        rows.push_back({b - brake, b, cruise, 5});
        at = b;
    }
    rows.push_back({at, frames, 5, 5});
    return rows;
}

}  // namespace

Line electricLine() {
    Line l;
    l.code = "789";
    l.name = "港南電鉄線 (Konan Line)";
    l.title = "Konan Line";
    l.electric = true;
    l.startPos = 280;
    l.frames = 4560;
    const int t0 = 9 * kHour + 30 * kMinute;
    l.startTime = t0;
    // stopping points (frame of the stop mark) along the line
    l.stations = {
        {"港南", "KONAN", 0, 270, 310, t0 + 45 * 30, t0 + 45 * 30 + 10 * 30, 145000},
        {"桜町", "SAKURAMACHI", 0, 1380, 1420, t0 + 4 * kMinute, t0 + 4 * kMinute + 10 * 30, 162000},
        {"川原", "KAWARA", 1, 2150, 2190, 0, 0, 0},
        {"緑ヶ丘", "MIDORIGAOKA", 0, 2880, 2920, t0 + 8 * kMinute, t0 + 8 * kMinute + 10 * 30, 158000},
        {"港北", "KOHOKU", 0, 4380, 4420, t0 + 12 * kMinute, t0 + 12 * kMinute + 10 * 30, 0},
    };
    l.speed = profile({290, 1400, 2900, 4400}, 70, l.frames);
    l.signalRows = {
        {0, 3, 300, 700, "出発"},    {0, 0, 700, 1000, "中継"},  {0, 4, 1000, 1300, "場内"},
        {0, 3, 1420, 1900, "出発"},  {0, 3, 1900, 2500, "第1閉塞"}, {0, 4, 2500, 2860, "場内"},
        {0, 3, 2920, 3500, "出発"},  {0, 5, 3500, 4000, "第2閉塞"}, {0, 4, 4000, 4360, "場内"},
    };
    l.slopes = {{3.5, 600, 1100}, {-5.0, 1600, 2050}, {10.0, 3100, 3500}, {-8.0, 3650, 3950}};
    l.limits = {{55, 1700, 1850, 2250}, {45, 3300, 3420, 3650}};
    l.signs = {{0, 900, 960}, {1, 2450, 2510}};
    l.tunnels = {{3200, 3450}};
    l.levelCrossing = 2600;
    l.speedCheck = 3430;
    return l;
}

Line dieselLine() {
    Line l;
    l.code = "40";
    l.name = "山田線 (Yamada Line)";
    l.title = "Yamada Line";
    l.electric = false;
    l.startPos = 230;
    l.frames = 4520;
    const int t0 = 14 * kHour + 10 * kMinute;
    l.startTime = t0;
    l.stations = {
        {"山田", "YAMADA", 0, 220, 260, t0 + 40 * 30, t0 + 40 * 30 + 10 * 30, 170000},
        {"上野原", "UENOHARA", 0, 1480, 1520, t0 + 5 * kMinute, t0 + 5 * kMinute + 10 * 30, 140000},
        {"中沢", "NAKAZAWA", 1, 2300, 2340, 0, 0, 0},
        {"沢口", "SAWAGUCHI", 0, 2980, 3020, t0 + 10 * kMinute, t0 + 10 * kMinute + 10 * 30, 150000},
        {"奥山", "OKUYAMA", 0, 4330, 4370, t0 + 15 * kMinute, t0 + 15 * kMinute + 10 * 30, 0},
    };
    l.speed = profile({240, 1500, 3000, 4350}, 60, l.frames);
    l.signalRows = {
        {0, 2, 250, 800, "出発"},  {0, 2, 800, 1460, "場内"},  {0, 2, 1520, 2200, "出発"},
        {0, 2, 2200, 2960, "場内"}, {0, 2, 3020, 3700, "出発"}, {0, 2, 3700, 4310, "場内"},
    };
    l.slopes = {{12.0, 500, 1200}, {-15.0, 1700, 2100}, {20.0, 3200, 3900}, {-6.0, 3950, 4200}};
    l.limits = {{40, 1800, 1950, 2200}, {35, 3500, 3650, 3900}};
    l.signs = {{0, 1100, 1160}, {1, 2600, 2660}};
    l.tunnels = {{3300, 3650}};
    l.levelCrossing = 2750;
    l.speedCheck = 3660;
    return l;
}

double recordedSpeed(const Line& l, int frame) {
    double v = 5;
    for (const SpeedRow& r : l.speed)
        if (r.from <= frame && frame <= r.to && r.to != r.from)
            v = r.fromSpeed + double(r.toSpeed - r.fromSpeed) * (frame - r.from) / (r.to - r.from);
    return v;
}

}  // namespace demo
