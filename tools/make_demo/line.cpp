#include "line.h"

namespace demo {

namespace {

constexpr int kHour = 108000;
constexpr int kMinute = 1800;
// The first departure comes soon after Start, so that a newcomer sees the
// melody, the doors closing and the power taking hold in the first half minute;
// the doors close as soon as the melody has ended.
constexpr int kFirstDeparture = 15 * 30;

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
        {"港南", "KONAN", 0, 230, 350, t0 + kFirstDeparture, t0 + kFirstDeparture + 30, 145000},
        {"桜町", "SAKURAMACHI", 0, 1340, 1460, t0 + 4 * kMinute, t0 + 4 * kMinute + 10 * 30, 162000},
        {"川原", "KAWARA", 1, 2150, 2190, 0, 0, 0},
        {"緑ヶ丘", "MIDORIGAOKA", 0, 2840, 2960, t0 + 8 * kMinute, t0 + 8 * kMinute + 10 * 30, 158000},
        {"港北", "KOHOKU", 0, 4340, 4460, t0 + 12 * kMinute, t0 + 12 * kMinute + 10 * 30, 0},
    };
    l.speed = profile({290, 1400, 2900, 4400}, 70, l.frames);
    l.signalRows = {
        {0, 3, 440, 560, "出発"},   {0, 0, 790, 910, "中継"},      {0, 4, 1090, 1210, "場内"},
        {0, 3, 1600, 1720, "出発"}, {0, 3, 2140, 2260, "第1閉塞"}, {0, 4, 2620, 2740, "場内"},
        {0, 3, 3150, 3270, "出発"}, {0, 5, 3690, 3810, "第2閉塞"}, {0, 4, 4120, 4240, "場内"},
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
        {"山田", "YAMADA", 0, 180, 300, t0 + kFirstDeparture, t0 + kFirstDeparture + 30, 170000},
        {"上野原", "UENOHARA", 0, 1440, 1560, t0 + 5 * kMinute, t0 + 5 * kMinute + 10 * 30, 140000},
        {"中沢", "NAKAZAWA", 1, 2300, 2340, 0, 0, 0},
        {"沢口", "SAWAGUCHI", 0, 2940, 3060, t0 + 10 * kMinute, t0 + 10 * kMinute + 10 * 30, 150000},
        {"奥山", "OKUYAMA", 0, 4290, 4410, t0 + 15 * kMinute, t0 + 15 * kMinute + 10 * 30, 0},
    };
    l.speed = profile({240, 1500, 3000, 4350}, 60, l.frames);
    l.signalRows = {
        {0, 2, 465, 585, "出発"},   {0, 2, 1070, 1190, "場内"}, {0, 2, 1800, 1920, "出発"},
        {0, 2, 2520, 2640, "場内"}, {0, 2, 3300, 3420, "出発"}, {0, 2, 3945, 4065, "場内"},
    };
    l.slopes = {{12.0, 500, 1200}, {-15.0, 1700, 2100}, {20.0, 3200, 3900}, {-6.0, 3950, 4200}};
    l.limits = {{40, 1800, 1950, 2200}, {35, 3500, 3650, 3900}};
    l.signs = {{0, 1100, 1160}, {1, 2600, 2660}};
    l.tunnels = {{3300, 3650}};
    l.levelCrossing = 2750;
    l.speedCheck = 3660;
    return l;
}

Line irregularLine() {
    Line l;
    l.code = "MT";
    l.name = "試験線 (Motion Test)";
    l.title = "Motion Test";
    l.electric = true;
    l.startPos = 37;
    l.frames = 2160;
    const int t0 = 10 * kHour;
    l.startTime = t0;
    // Stops where the train stands: 2.5 s, 2 s, 1.3 s and 2.7 s.
    l.stations = {
        {"始点", "SHITEN", 0, 0, 74, t0 + 60, t0 + 30, 0},
        {"中町", "NAKAMACHI", 0, 1380, 1439, t0 + 50 * 30, t0 + 49 * 30, 0},
        {"短駅", "TANEKI", 0, 1700, 1739, t0 + 59 * 30, t0 + 58 * 30, 0},
        {"終点", "SHUTEN", 0, 2080, 2159, t0 + 80 * 30, t0 + 79 * 30, 0},
    };
    l.speed = {
        {0, 75, 0, 0},         {75, 300, 0, 45},     {300, 420, 45, 3},   {420, 600, 3, 3},    {600, 900, 3, 100},
        {900, 1080, 100, 100}, {1080, 1380, 100, 0}, {1380, 1440, 0, 0},  {1440, 1600, 0, 35}, {1600, 1700, 35, 0},
        {1700, 1740, 0, 0},    {1740, 1900, 0, 60},  {1900, 2080, 60, 0}, {2080, 2159, 0, 0},
    };
    l.levelCrossing = 1000;
    l.speedCheck = 0;
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
