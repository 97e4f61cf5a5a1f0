// The recorded speed from the picture's motion: the relative speed of the
// motion shape scaled to km/h by known distances (marks along the line) or
// by one known speed, then written as [SpeedUnit] rows by the same fewest-
// rows rule the GPS import uses.
#pragma once
#include <optional>
#include <string>
#include <vector>

#include "data/route_data.h"
#include "motion/motion_shape.h"

namespace ts::motion {

// A place along the line: frame `frame` shows the train `metres` from some
// fixed origin (a kilometre post's figure, or the sum of station distances).
struct DistanceMark {
    int frame = 0;
    double metres = 0;
};

struct KnownSpeed {
    int frame = 0;
    double kmh = 0;
};

struct SpeedRequest {
    std::vector<DistanceMark> marks;  // in order of frames
    std::optional<KnownSpeed> known;  // used when there are fewer than two marks
    double toleranceKmh = 1;
    int crawlKmh = 1;
};

// Each pair of neighbouring marks: the distance marked, and the distance the
// one scale that fits all pairs best would give (their spread is the flow's
// own error).
struct MarkPair {
    int fromMark = 0, toMark = 0;  // indices into the request's marks
    double marked = 0, oneScale = 0;
};

struct SpeedResult {
    std::string error;        // not empty: nothing to write
    std::vector<double> kmh;  // the fitted speed at each frame
    std::vector<Speed_UnitData> rows;
    double tolerance = 0, largestRowError = 0;
    std::vector<Standstill> standstills;
    std::vector<MarkPair> pairs;
    // The spread of the pairs' distances under one scale, as a share (0.02 =
    // 2 %): how far the speed's shape may be off between marks.
    double shapeError = 0;
    // The power the relative speed was raised to before scaling (1 where
    // fewer than three marks leave nothing to choose it by).
    double flowExponent = 1;
    bool ok() const { return error.empty(); }
};

// Faster than this no train runs: a mark that implies it is wrong.
constexpr double kMaxPlausibleKmh = 400;

SpeedResult fitSpeed(const MotionShape& shape, const SpeedRequest& request);

// The flow's size does not grow quite in step with the speed: a fraction of
// a pixel comes out a little short, several pixels a little long. Raised to
// a power a little below 1, the relative speed grows in step again. With
// three marks or more, the power (between these) is the one under which the
// stretches between the marks agree best on one scale.
constexpr double kLeastFlowExponent = 0.85, kMostFlowExponent = 1.05;
double flowExponentForMarks(const MotionShape& shape, const std::vector<DistanceMark>& marks);
MotionShape withFlowExponent(const MotionShape& shape, double exponent);

// Marks from the route's stations: the middle of each stopping station's stop
// range, its place the sum of the `nextStopDistance`s before it.
std::vector<DistanceMark> marksFromStations(const std::vector<StationData>& stations);

}  // namespace ts::motion
