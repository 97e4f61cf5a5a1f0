// A GPS track made into a route's recorded speed, gradients and stations:
// everything worked out and read back through the route reader before a
// byte is written, then the route file replaced with a backup beside it.
#pragma once
#include <string>
#include <vector>

#include "data/route_data.h"
#include "data/section_reader.h"
#include "gps/frame_profile.h"
#include "gps/gradients.h"
#include "gps/ride_path.h"
#include "gps/speed_fit.h"
#include "gps/stations.h"

namespace ts::gps {

struct ImportRequest {
    std::string routePath;
    Alignment align;
    int frames = 0;  // of the video
    bool speed = true, slopes = true, stations = true;
    double toleranceKmh = 1;
    int crawlKmh = 1;
    double maxGapSeconds = 5;
    CurveOptions curve;
    PathOptions path;
    GradientOptions gradients;
    int halfRangeFrames = 60;
    bool keepStationTimes = false;  // else a station of the route where the train stood takes the track's times
};

struct ImportPlan {
    std::string bytes;  // the new route file
    SpeedFit speed;
    std::vector<SlopeRow> slopes;
    std::vector<StationData> stations;
    RidePath path;
    FrameProfile profile;
    std::vector<std::string> notes;
    double duration = 0;  // seconds of the ride the video shows
    int fixes = 0;
};

// The route as the run reads it, and where its sections are; throws
// ImportError with the reader's message when the file is wrong.
RouteData readRouteForImport(const std::string& path, std::vector<SectionSpan>* spans = nullptr,
                             std::string* bytes = nullptr);

// The route as the run would read it from `bytes`, without a file; throws
// FatalError as the reader does.
RouteData readRouteBytes(const std::string& bytes, const std::string& name);

// Works everything out; writes nothing. Throws ImportError for bad input.
ImportPlan planImport(const Ride& ride, const Track& track, const ImportRequest& request);

// Keeps the route file as the first free backup name of `path` + ".bak",
// ".bak.2", ".bak.3", … and replaces it with `bytes`, whole; returns the
// backup's name. Throws ImportError with nothing left behind when either fails.
constexpr int kMaxBackups = 999;
std::string applyImport(const std::string& path, const std::string& bytes);

// The summary printed after an import, one line each.
std::vector<std::string> summarise(const ImportPlan& plan, const ImportRequest& request);

}  // namespace ts::gps
