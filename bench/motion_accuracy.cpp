// Where the speed found in a video's motion parts from the truth: for a route
// whose recorded speed is known (a demo line's [SpeedUnit] rows, or a
// truth.csv of frame,km/h,metres), the fit from its stations' distances
// against the truth, frame by frame, as CSV with the vanishing row found and
// each band's flow beside it.
// Usage: motion_accuracy ROUTE_FILE VIDEO [TRUTH_CSV] > frames.csv
// (the motion is analysed, or read from the cache beside the video).
#include <cmath>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "gps/import.h"
#include "gps/speed_fit.h"
#include "motion/distance_marks.h"
#include "motion/motion_profile.h"
#include "motion/motion_shape.h"
#include "motion/speed_from_motion.h"

using namespace ts;
using namespace ts::motion;

namespace {

std::vector<double> truthFromCsv(const std::string& path) {
    std::vector<double> kmh;
    std::ifstream in(path);
    std::string line;
    std::getline(in, line);
    while (std::getline(in, line)) {
        std::istringstream l(line);
        std::string f, v;
        std::getline(l, f, ',');
        std::getline(l, v, ',');
        kmh.push_back(std::stod(v));
    }
    return kmh;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3 || argc > 4) {
        std::fprintf(stderr, "usage: motion_accuracy ROUTE_FILE VIDEO [TRUTH_CSV]\n");
        return 2;
    }
    const RouteData route = gps::readRouteForImport(argv[1]);
    const std::string video = argv[2];
    std::string why;
    const auto profile = loadOrAnalyse(video, {}, &why);
    if (!profile) {
        std::fprintf(stderr, "motion_accuracy: %s: %s\n", video.c_str(), why.c_str());
        return 1;
    }
    const MotionShape shape = motionShape(*profile);
    SpeedRequest req;
    req.marks = routeMarks(route).marks;
    const SpeedResult fit = fitSpeed(shape, req);
    if (!fit.ok()) {
        std::fprintf(stderr, "motion_accuracy: %s\n", fit.error.c_str());
        return 1;
    }
    const int n = profile->size();
    std::vector<double> truth;
    if (argc == 4) {
        truth = truthFromCsv(argv[3]);
    } else {
        for (int f = 0; f < n; ++f) truth.push_back(gps::recordedSpeedAt(route.speedUnitTable, f));
    }
    std::fprintf(stderr, "horizon %.1f, %zu marks, %zu stops, flow exponent %.3f\n", shape.horizon, req.marks.size(),
                 shape.standstills.size(), fit.flowExponent);
    std::printf("frame,truth,fitted,rate,y0,rails,moving");
    for (int b = 0; b < kBands; ++b) std::printf(",b%d", b);
    std::printf("\n");
    for (int f = 0; f < n && f < int(truth.size()); ++f) {
        const FrameMotion& m = profile->frames[size_t(f)];
        std::printf("%d,%.2f,%.2f,%.6g,%.2f,%.2f,%.4f", f, truth[size_t(f)], fit.kmh[size_t(f)], shape.rate[size_t(f)],
                    shape.vanishingRow[size_t(f)], m.railsRow, m.moving);
        for (float d : m.down) std::printf(",%.4f", d);
        std::printf("\n");
    }
    return 0;
}
