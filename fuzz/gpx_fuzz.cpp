// The GPS track reader and the import's arithmetic on arbitrary bytes: either
// one ImportError, or a ride whose distance never falls, whose speeds are
// finite and not below zero, and whose gradient sections follow each other.
#include <algorithm>
#include <cmath>

#include "fuzz_support.h"
#include "gps/alignment.h"
#include "gps/frame_profile.h"
#include "gps/gradients.h"
#include "gps/ride.h"
#include "gpx_file.h"

using namespace ts;
using namespace ts::gps;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    try {
        const Ride ride = joinSegments(readGpxText(text));
        const double span = ride.points.back().time - ride.points.front().time;
        // The ride as a video of up to ten minutes would show it.
        const int frames = int(std::clamp(span * kFramesPerSecond, 2.0, 18000.0));
        checkCoverage(ride, alignByOffset(0), frames, 5);
        const RidePath path = measureRide(ride);
        for (size_t i = 1; i < path.samples.size(); ++i)
            if (path.samples[i].distance < path.samples[i - 1].distance) fuzz::fail("the distance fell");
        const FrameProfile profile = profileFrames(path, alignByOffset(0), frames);
        for (double v : profile.speedKmh)
            if (!std::isfinite(v) || v < 0) fuzz::fail("a speed that is no number or below zero");
        double end = -1;
        for (const GradientSection& g : gradientSections(path)) {
            if (!std::isfinite(g.mille) || g.toMetres <= g.fromMetres) fuzz::fail("a gradient section out of shape");
            if (end >= 0 && g.fromMetres != end) fuzz::fail("gradient sections that do not follow each other");
            end = g.toMetres;
        }
    } catch (const ImportError&) {}
    return 0;
}
