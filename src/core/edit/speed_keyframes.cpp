// The recorded speed as a curve of keyframes: [SpeedUnit] rows are the
// straight pieces between them.
#include <algorithm>
#include <cmath>
#include <limits>

#include "dynamics/motion.h"
#include "edit/document_state.h"

namespace ts::edit {

std::vector<std::pair<int, int>> RouteDocument::speedKeyframes() const {
    std::vector<std::pair<int, int>> points;
    for (const Speed_UnitData& u : s_->route.speedUnitTable) {
        if (points.empty() || points.back() != std::pair<int, int>{u.fromPosition, u.fromSpeed})
            points.emplace_back(u.fromPosition, u.fromSpeed);
        points.emplace_back(u.toPosition, u.toSpeed);
    }
    return points;
}

void RouteDocument::setSpeedKeyframes(std::vector<std::pair<int, int>> points) {
    for (auto& p : points) p.first = std::max(p.first, 0);
    // One speed per frame: of points on the same frame the last given wins.
    std::stable_sort(points.begin(), points.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    std::vector<std::pair<int, int>> curve;
    for (const auto& p : points) {
        if (!curve.empty() && curve.back().first == p.first)
            curve.back() = p;
        else
            curve.push_back(p);
    }
    // A single point holds its speed to the end of the line.
    if (curve.size() == 1 && curve[0].first < s_->route.lineEnd())
        curve.emplace_back(s_->route.lineEnd(), curve[0].second);
    // The table holds kRouteRows rows: drop the points that the line through
    // their neighbours misses least until the rest fit.
    while (curve.size() > size_t(kRouteRows) + 1) {
        size_t best = 1;
        double bestMiss = std::numeric_limits<double>::max();
        for (size_t i = 1; i + 1 < curve.size(); ++i) {
            const auto& a = curve[i - 1];
            const auto& b = curve[i + 1];
            const double t = double(curve[i].first - a.first) / double(b.first - a.first);
            const double miss = std::fabs(a.second + t * (b.second - a.second) - curve[i].second);
            if (miss < bestMiss) {
                bestMiss = miss;
                best = i;
            }
        }
        curve.erase(curve.begin() + long(best));
    }
    std::vector<std::vector<std::string>> rows;
    for (size_t i = 0; i + 1 < curve.size(); ++i)
        rows.push_back({std::to_string(curve[i].first) + "," + std::to_string(curve[i + 1].first) + "," +
                        std::to_string(curve[i].second) + "," + std::to_string(curve[i + 1].second)});
    writeEntries(TableKind::SpeedUnit, rows, 0, nullptr);
}

int RouteDocument::recordedSpeedAt(int frame) const {
    Motion m;
    m.trainPosition = frame;
    m.recordedSpeedKmh = 0;
    updateRecordedSpeed(s_->route, m);
    return m.recordedSpeedKmh;
}

}  // namespace ts::edit

namespace ts::edit {

std::pair<int, int> RouteDocument::framesAround(int frame, double metres) const {
    // A frame is the distance the camera train ran in 1/30 s: v / 108 metres at v km/h.
    auto walk = [&](int step) {
        double run = 0;
        int f = frame;
        while (run < metres && f + step >= 0 && std::abs(f - frame) < 6000) {
            run += std::max(recordedSpeedAt(f), 1) / 108.0;
            f += step;
        }
        return f;
    };
    return {walk(-1), walk(+1)};
}

}  // namespace ts::edit
