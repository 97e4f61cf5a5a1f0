#include "cached_standstills.h"

#include <cstdint>

#include "motion/motion_profile.h"

namespace ts::editor {

std::vector<motion::Standstill> cachedStandstills(const RouteData& route, const std::string& videoPath) {
    std::vector<motion::Standstill> out;
    if (videoPath.empty() || route.videoRate <= 0) return out;
    const auto profile = motion::readCache(videoPath);
    if (!profile) return out;
    // The analysis counts the file's own frames; the route's frame f is the
    // file's frame offset + f x rate. A stand keeps the route frames that lie
    // wholly inside it.
    const int64_t unit = kVideoRateUnit, rate = route.videoRate, offset = route.videoOffset;
    for (const motion::Standstill& s : motion::motionShape(*profile).standstills) {
        const int64_t from = s.first - offset, to = s.last - offset;
        const int64_t first = from <= 0 ? 0 : (from * unit + rate - 1) / rate;
        if (to < 0) continue;
        const int64_t last = to * unit / rate;
        if (last >= first) out.push_back({int(first), int(last)});
    }
    return out;
}

}  // namespace ts::editor
