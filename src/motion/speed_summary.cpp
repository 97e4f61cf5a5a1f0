#include "motion/speed_summary.h"

#include <algorithm>
#include <cstdio>

namespace ts::motion {

namespace {

std::string fixed(double v, int decimals) {
    char b[64];
    std::snprintf(b, sizeof b, "%.*f", decimals, v);
    return b;
}

}  // namespace

std::vector<std::string> summarise(const SpeedResult& r, const SpeedRequest& req, const SummarySource& src) {
    std::vector<std::string> out;
    out.push_back("video: " + src.video + ", " + std::to_string(r.kmh.size()) + " frames (" +
                  (src.cached ? "motion from the cache" : "motion analysed") + ")");
    out.push_back("stops found: " + std::to_string(r.standstills.size()));
    for (const Standstill& s : r.standstills)
        out.push_back("  frames " + std::to_string(s.first) + "-" + std::to_string(s.last) + " (" +
                      fixed((s.last - s.first + 1) / 30.0, 1) + " s)");
    out.push_back("scaled by " + src.scaledBy);
    for (const MarkPair& p : r.pairs)
        out.push_back("  marks " + std::to_string(p.fromMark + 1) + "-" + std::to_string(p.toMark + 1) + " (frames " +
                      std::to_string(req.marks[size_t(p.fromMark)].frame) + "-" +
                      std::to_string(req.marks[size_t(p.toMark)].frame) + "): marked " + fixed(p.marked, 1) +
                      " m, one scale gives " + fixed(p.oneScale, 1) + " m (" +
                      fixed(100 * (p.oneScale / p.marked - 1), 1) + " %)");
    if (r.pairs.size() >= 2)
        out.push_back("estimated error of the speed's shape between marks: " + fixed(100 * r.shapeError, 1) + " %");
    else if (r.pairs.size() == 1)
        out.push_back("one pair of marks: the error of the speed's shape cannot be estimated");
    double metres = 0, top = 0;
    for (double v : r.kmh) metres += v / 108, top = std::max(top, v);
    out.push_back("distance the video covers: " + fixed(metres / 1000, 3) + " km, top speed " + fixed(top, 1) +
                  " km/h");
    out.push_back("[SpeedUnit]: " + std::to_string(r.rows.size()) + " rows, largest error " +
                  fixed(r.largestRowError, 2) + " km/h (tolerance " + fixed(r.tolerance, 2) + " km/h)");
    return out;
}

}  // namespace ts::motion
