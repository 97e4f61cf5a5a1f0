#include "motion/speed_summary.h"

#include <algorithm>
#include <cstdio>

#include "text/our_text.h"

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
    out.push_back(withArgs(src.cached ? trText("SpeedSummary", "video: %1, %2 frames (motion from the cache)")
                                      : trText("SpeedSummary", "video: %1, %2 frames (motion analysed)"),
                           {src.video, std::to_string(r.kmh.size())}));
    out.push_back(withArgs(trText("SpeedSummary", "stops found: %1"), {std::to_string(r.standstills.size())}));
    for (const Standstill& s : r.standstills)
        out.push_back(
            withArgs(trText("SpeedSummary", "  frames %1-%2 (%3 s)"),
                     {std::to_string(s.first), std::to_string(s.last), fixed((s.last - s.first + 1) / 30.0, 1)}));
    out.push_back(withArgs(trText("SpeedSummary", "scaled by %1"), {src.scaledBy}));
    for (const MarkPair& p : r.pairs)
        out.push_back(withArgs(
            trText("SpeedSummary", "  marks %1-%2 (frames %3-%4): marked %5 m, one scale gives %6 m (%7 %)"),
            {std::to_string(p.fromMark + 1), std::to_string(p.toMark + 1),
             std::to_string(req.marks[size_t(p.fromMark)].frame), std::to_string(req.marks[size_t(p.toMark)].frame),
             fixed(p.marked, 1), fixed(p.oneScale, 1), fixed(100 * (p.oneScale / p.marked - 1), 1)}));
    if (r.flowExponent != 1)
        out.push_back(
            withArgs(trText("SpeedSummary", "the flow's size raised to the power %1, under which the marks agree best"),
                     {fixed(r.flowExponent, 3)}));
    if (r.pairs.size() >= 2)
        out.push_back(withArgs(trText("SpeedSummary", "estimated error of the speed's shape between marks: %1 %"),
                               {fixed(100 * r.shapeError, 1)}));
    else if (r.pairs.size() == 1)
        out.push_back(trText("SpeedSummary", "one pair of marks: the error of the speed's shape cannot be estimated"));
    double metres = 0, top = 0;
    for (double v : r.kmh) metres += v / 108, top = std::max(top, v);
    out.push_back(withArgs(trText("SpeedSummary", "distance the video covers: %1 km, top speed %2 km/h"),
                           {fixed(metres / 1000, 3), fixed(top, 1)}));
    out.push_back(withArgs(trText("SpeedSummary", "[SpeedUnit]: %1 rows, largest error %2 km/h (tolerance %3 km/h)"),
                           {std::to_string(r.rows.size()), fixed(r.largestRowError, 2), fixed(r.tolerance, 2)}));
    return out;
}

}  // namespace ts::motion
